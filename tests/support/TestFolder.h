#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <QList>
#include <QVariant>

// A program folder of its own for one test: the installed tree and settings files, a fresh
// database from the installed schema, and the program folder pointed at it for as long as the
// object lives.
class TestFolder
{
public:
    enum Contents { WithDatabase, WithoutDatabase };
    explicit TestFolder(Contents contents = WithDatabase);
    ~TestFolder();

    // Creates a database from the installed schema (no-op when one exists).
    static bool createDatabase(const QString &path);
    // Direct access to this folder's database, past the program's own code.
    bool exec(const QString &sql) const;
    QList<QVariantList> rows(const QString &sql) const;
    QVariant value(const QString &sql) const;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const;

    static QString installedFile(const QString &name);

    QByteArray readBytes(const QString &name) const;
    void writeBytes(const QString &name, const QByteArray &bytes) const;
    // Lines in the program's own encoding, each ended by CR LF.
    void writeLines(const QString &name, const QStringList &lines) const;
    void remove(const QString &name) const;

private:
    QTemporaryDir m_dir;
};
