#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <QList>
#include <QVariant>

// A program folder of its own for one test: the installed tree and settings files, a fresh
// database from the installed schema, and the program folder pointed at it for as long as the
// object lives. When the tests run against the server (TestServer), the folder's Base.ini names
// a fresh database of its own there, holding the tree that MTS.qb holds, and direct access goes
// to that database.
class TestFolder
{
public:
    enum Contents { WithDatabase, WithoutDatabase };
    explicit TestFolder(Contents contents = WithDatabase);
    ~TestFolder();

    // Creates a database from the installed schema (no-op when one exists).
    static bool createDatabase(const QString &path);
    // Direct access to this folder's database, past the program's own code (on the server, on a
    // connection whose changes are not announced to the program).
    bool exec(const QString &sql) const;
    // As exec(), but seen by the store's own triggers as another program's change is (on the
    // server, exec()'s connection passes by every trigger).
    bool execSeenByTriggers(const QString &sql) const;
    QList<QVariantList> rows(const QString &sql) const;
    QVariant value(const QString &sql) const;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const;

    static QString installedFile(const QString &name);

    QByteArray readBytes(const QString &name) const;
    void writeBytes(const QString &name, const QByteArray &bytes) const;
    // Lines in the program's own encoding, each ended by CR LF.
    // Writing MTS.qb on the server puts its tree into the server's rows too.
    void writeLines(const QString &name, const QStringList &lines) const;
    // The tree as kept: MTS.qb's bytes, or the server's rows written out as MTS.qb would be.
    QByteArray treeBytes() const;
    void remove(const QString &name) const;

private:
    bool onServer() const { return !m_serverDatabase.isEmpty(); }
    void prepareServer();

    QTemporaryDir m_dir;
    QString m_serverDatabase;
    QString m_serverConnection;
};
