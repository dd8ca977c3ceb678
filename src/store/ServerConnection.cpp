#include "store/ServerConnection.h"

#include "store/BaseSettings.h"
#include "store/Database.h"
#include "store/ServerSchema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace ServerConnection {

namespace {
// Seconds before an unreachable server counts as such, instead of the system's minutes.
constexpr int ConnectTimeout = 5;

// SQLSTATE 55P03: a lock not granted within lock_timeout.
const QString LockNotAvailable = QStringLiteral("55P03");

// Every value is quoted by the statement builders with doubled apostrophes alone, which is right
// only with standard strings; a lock that another copy holds is waited for as long as SQLite's
// busy time-out.
const QStringList SessionStatements{QStringLiteral("SET standard_conforming_strings = on"),
                                    QStringLiteral("SET lock_timeout = 3000"),
                                    QStringLiteral("SET client_min_messages = warning")};
} // namespace

bool open(QSqlDatabase &db, const BaseSettings &settings, QString *error)
{
    if (!settings.refusal().isEmpty()) {
        *error = settings.refusal();
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        *error = QStringLiteral("Qt的PostgreSQL驱动QPSQL没有安装（Debian：libqt6sql6-psql）");
        return false;
    }
    db.setHostName(settings.host());
    db.setPort(settings.port());
    db.setDatabaseName(settings.database());
    db.setUserName(settings.user());
    QStringList options{QStringLiteral("connect_timeout=%1").arg(ConnectTimeout),
                        QStringLiteral("application_name=Zindrel")};
    if (!settings.sslMode().isEmpty())
        options.append(QStringLiteral("sslmode=") + settings.sslMode());
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open()) {
        *error = describe(db.lastError());
        return false;
    }
    QSqlQuery query(db);
    for (const QString &statement : SessionStatements) {
        if (!query.exec(statement)) {
            *error = describe(query.lastError());
            db.close();
            return false;
        }
    }
    if (!ServerSchema::prepare(db, error)) {
        db.close();
        return false;
    }
    return true;
}

bool isAlive(QSqlDatabase &db)
{
    QSqlQuery probe(db);
    return probe.exec(QStringLiteral("SELECT 1"));
}

QString describe(const QSqlError &error)
{
    // The driver gives no error for a statement it could not send over a lost connection.
    if (!error.isValid())
        return QStringLiteral("与服务器的连接已经断开");
    if (error.nativeErrorCode() == LockNotAvailable)
        return Database::BusyText;
    // The server's words; the driver's own ("QPSQL: Unable to connect") add nothing to them.
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text() : text;
}

} // namespace ServerConnection
