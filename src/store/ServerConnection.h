#pragma once

#include <QString>

class BaseSettings;
class QSqlDatabase;
class QSqlError;

// A connection to the PostgreSQL server of Base.ini through Qt's QPSQL driver: how it is set up,
// opened (session settings, tables checked or created), told apart from a lost one, and how its
// errors read.
namespace ServerConnection {

// The channel on which every committed change to the shared tables is announced.
inline const QString ChangesChannel = QStringLiteral("zindrel_changes");
// Milliseconds the server may spend on one statement of the program's own connection before it
// cancels it itself, just before the program would give up waiting.
constexpr int StatementTimeout = 9000;

// Points the connection at the server of the settings (host, port, database, user; no
// password, which libpq takes from ~/.pgpass or leaves to peer authentication), opens it and
// makes it ready: statements as this program writes them, brief locks waited for, the tables
// checked (created on an empty database). Closed again on failure; *unreachable then says
// whether the server could not be reached at all. Every connection is bounded: connecting
// waits 5 s at most, and a link that goes down is noticed within about 10 s.
bool open(QSqlDatabase &db, const BaseSettings &settings, QString *error, bool *unreachable = nullptr);
// The failure is the connection's (refused, broken, cut), not one the server reported.
bool isConnectionError(const QSqlError &error);
// An error as a person reads it: the server's own words, a lock held too long as such.
QString describe(const QSqlError &error);

} // namespace ServerConnection
