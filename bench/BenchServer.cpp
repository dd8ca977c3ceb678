#include "BenchServer.h"

#include "RawPostgres.h"

#include <QCoreApplication>
#include <QSqlDatabase>

#include <libpq-fe.h>

namespace {
// Seconds before a server that does not answer counts as absent.
constexpr int PingTimeout = 5;

QString environment(const char *name)
{
    return qEnvironmentVariable(name);
}

// Where CREATE DATABASE and DROP DATABASE run.
QByteArray maintenanceInfo()
{
    const QString database = environment("PGDATABASE");
    return "dbname=" + (database.isEmpty() ? QByteArray("postgres") : database.toUtf8());
}

int port()
{
    const QString port = environment("PGPORT");
    return port.isEmpty() ? BaseSettings::DefaultPort : port.toInt();
}
} // namespace

BenchServer::~BenchServer()
{
    // WITH (FORCE): a connection the program left open does not keep the database.
    if (!m_database.isEmpty())
        RawPostgres(maintenanceInfo())
            .executeEach({"DROP DATABASE IF EXISTS " + m_database.toUtf8() + " WITH (FORCE)"});
}

QString BenchServer::unavailable()
{
    if (environment("PGHOST").isEmpty() && environment("PGPORT").isEmpty())
        return QStringLiteral("no PostgreSQL server named in the environment (PGHOST, PGPORT); scripts/bench "
                              "starts one with pg_virtualenv");
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return QStringLiteral("no QPSQL driver (libqt6sql6-psql)");
    const QByteArray info = maintenanceInfo() + " connect_timeout=" + QByteArray::number(PingTimeout);
    if (PQping(info.constData()) != PQPING_OK)
        return QStringLiteral("the PostgreSQL server at %1:%2 does not answer")
            .arg(environment("PGHOST"))
            .arg(port());
    return QString();
}

bool BenchServer::createDatabase(QString *error)
{
    const QString name = QStringLiteral("zindrel_bench_%1").arg(QCoreApplication::applicationPid());
    RawPostgres maintenance(maintenanceInfo());
    *error = maintenance.error();
    if (!error->isEmpty())
        return false;
    if (!maintenance.executeEach({"CREATE DATABASE " + name.toUtf8()})) {
        *error = QStringLiteral("the database %1 could not be created").arg(name);
        return false;
    }
    m_database = name;
    return true;
}

BaseSettings BenchServer::settings() const
{
    return BaseSettings::server(environment("PGHOST"), port(), m_database, environment("PGUSER"));
}

QByteArray BenchServer::baseIni() const
{
    return QStringLiteral("[base]\ndriver=postgresql\nhost=%1\nport=%2\ndatabase=%3\nuser=%4\n")
        .arg(environment("PGHOST"))
        .arg(port())
        .arg(m_database, environment("PGUSER"))
        .toUtf8();
}

QByteArray BenchServer::connectionInfo() const
{
    return "dbname=" + m_database.toUtf8();
}
