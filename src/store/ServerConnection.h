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

// Points the connection at the server of the settings (host, port, database, user; no
// password, which libpq takes from ~/.pgpass or leaves to peer authentication), opens it and
// makes it ready: statements as this program writes them, brief locks waited for, the tables
// checked (created on an empty database). Closed again on failure.
bool open(QSqlDatabase &db, const BaseSettings &settings, QString *error);
// Whether the open connection still reaches the server.
bool isAlive(QSqlDatabase &db);
// An error as a person reads it: the server's own words, a lock held too long as such.
QString describe(const QSqlError &error);

} // namespace ServerConnection
