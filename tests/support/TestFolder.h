#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A program folder of its own for one test: the installed tree and settings files, and the
// program folder pointed at it for as long as the object lives.
class TestFolder
{
public:
    TestFolder();
    ~TestFolder();

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
