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
// A link that goes down is noticed within seconds, not after the system's quarter of an hour:
// an idle connection is probed after 5 s and given up after three unanswered probes 2 s apart,
// and data the server has not acknowledged within 10 s ends the connection.
const QStringList LinkBounds{QStringLiteral("keepalives=1"), QStringLiteral("keepalives_idle=5"),
                             QStringLiteral("keepalives_interval=2"), QStringLiteral("keepalives_count=3"),
                             QStringLiteral("tcp_user_timeout=10000")};

// SQLSTATE 55P03: a lock not granted within lock_timeout; 57014: a statement cancelled, which
// statement_timeout does.
const QString LockNotAvailable = QStringLiteral("55P03");
const QString QueryCanceled = QStringLiteral("57014");

// Every value is quoted by the statement builders with doubled apostrophes alone, which is right
// only with standard strings; a lock that another copy holds is waited for as long as SQLite's
// busy time-out.
const QStringList SessionStatements{QStringLiteral("SET standard_conforming_strings = on"),
                                    QStringLiteral("SET lock_timeout = 3000"),
                                    QStringLiteral("SET client_min_messages = warning")};
} // namespace

bool open(QSqlDatabase &db, const BaseSettings &settings, QString *error, bool *unreachable)
{
    bool ignored = false;
    bool &notReached = unreachable ? *unreachable : ignored;
    notReached = false;
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
    options += LinkBounds;
    if (!settings.sslMode().isEmpty())
        options.append(QStringLiteral("sslmode=") + settings.sslMode());
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open()) {
        *error = describe(db.lastError());
        notReached = true;
        return false;
    }
    QSqlQuery query(db);
    for (const QString &statement : SessionStatements) {
        if (!query.exec(statement)) {
            *error = describe(query.lastError());
            notReached = isConnectionError(query.lastError());
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

bool isConnectionError(const QSqlError &error)
{
    // Whatever the server reports carries its SQLSTATE; what the client finds on its own (a
    // connection refused, broken or cut) carries none, in every language libpq speaks.
    return !error.isValid() || error.nativeErrorCode().isEmpty();
}

QString describe(const QSqlError &error)
{
    // The driver gives no error for a statement it could not send over a lost connection.
    if (!error.isValid())
        return QStringLiteral("与服务器的连接已经断开");
    if (error.nativeErrorCode() == LockNotAvailable)
        return Database::BusyText;
    if (error.nativeErrorCode() == QueryCanceled)
        return QStringLiteral("服务器处理这次操作超过了%1秒，已经取消").arg(StatementTimeout / 1000);
    // The server's words; the driver's own ("QPSQL: Unable to connect") add nothing to them.
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text() : text;
}

} // namespace ServerConnection
