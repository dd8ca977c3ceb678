#include "TestServer.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <atomic>

namespace {
QString environment(const char *name)
{
    return qEnvironmentVariable(name);
}

// Runs one statement on the server's maintenance database, on a connection of its own.
bool administer(const QString &sql, QString *error)
{
    const QString name = QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(environment("PGHOST"));
        if (!environment("PGPORT").isEmpty())
            db.setPort(environment("PGPORT").toInt());
        db.setUserName(environment("PGUSER"));
        db.setDatabaseName(environment("PGDATABASE").isEmpty() ? QStringLiteral("postgres")
                                                               : environment("PGDATABASE"));
        if (!db.open()) {
            *error = db.lastError().text();
        } else {
            QSqlQuery query(db);
            ok = query.exec(sql);
            if (!ok)
                *error = query.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}
} // namespace

namespace TestServer {

bool selected()
{
    return environment("ZINDREL_TEST_STORE") == QLatin1String("postgresql");
}

QString unavailable()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return QStringLiteral("no QPSQL driver (libqt6sql6-psql)");
    if (environment("PGHOST").isEmpty() && environment("PGPORT").isEmpty())
        return QStringLiteral("no PostgreSQL server: PGHOST and PGPORT are not set (./run-tests runs these "
                              "tests inside pg_virtualenv)");
    return QString();
}

QString createDatabase(QString *error)
{
    static std::atomic<int> counter{0};
    const QString name =
        QStringLiteral("zindrel_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    return administer(QStringLiteral("CREATE DATABASE ") + name, error) ? name : QString();
}

void dropDatabase(const QString &name)
{
    QString error;
    administer(QStringLiteral("DROP DATABASE IF EXISTS ") + name + QStringLiteral(" WITH (FORCE)"), &error);
}

QByteArray baseIni(const QString &database)
{
    return QStringLiteral("[base]\ndriver=postgresql\nhost=%1\nport=%2\ndatabase=%3\nuser=%4\n")
        .arg(environment("PGHOST"),
             environment("PGPORT").isEmpty() ? QStringLiteral("5432") : environment("PGPORT"), database,
             environment("PGUSER"))
        .toUtf8();
}

} // namespace TestServer
