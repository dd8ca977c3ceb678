#pragma once

#include <QString>

// Which store keeps the materials and the tree: what Base.ini beside the executable says. The
// file is absent by default, and then, as with "[base] driver=sqlite", Data.QBD and MTS.qb do.
// "[base] driver=postgresql" names a PostgreSQL server shared by several machines; the file never
// holds a password (the connection takes it from ~/.pgpass or peer authentication). A file that
// exists but cannot be taken as written (another section, a name in other letters, a list of
// hosts, quotes or backslashes) asks for a server it cannot name: refusal() names its line.
class BaseSettings
{
public:
    static constexpr int DefaultPort = 5432;

    static QString defaultPath();
    static BaseSettings read(const QString &path = defaultPath());
    static BaseSettings server(const QString &host, int port, const QString &database, const QString &user,
                               const QString &sslMode = QString());

    // The file asks for a server (or says something this program does not understand: then
    // refusal() says what, and the server cannot be used).
    bool usesServer() const { return m_usesServer; }
    // Why the settings cannot be used; empty when they can.
    const QString &refusal() const { return m_refusal; }

    const QString &host() const { return m_host; }
    int port() const { return m_port; }
    const QString &database() const { return m_database; }
    const QString &user() const { return m_user; }
    const QString &sslMode() const { return m_sslMode; }
    // "host:port/database" for messages; the local socket stands for an empty host.
    QString place() const;

private:
    bool m_usesServer = false;
    QString m_refusal;
    QString m_host;
    int m_port = DefaultPort;
    QString m_database;
    QString m_user;
    QString m_sslMode;
};
