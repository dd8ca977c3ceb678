#include "TestFolder.h"

#include "base/AnsiText.h"
#include "base/ProgramFolder.h"

#include <QDir>
#include <QFile>

TestFolder::TestFolder()
{
    for (const char *name : {"MTS.qb", "QB.ini"})
        QFile::copy(installedFile(QString::fromLatin1(name)), filePath(QString::fromLatin1(name)));
    ProgramFolder::setPathForTesting(path());
}

TestFolder::~TestFolder()
{
    ProgramFolder::setPathForTesting(QString());
}

QString TestFolder::filePath(const QString &name) const
{
    return QDir(path()).filePath(name);
}

QString TestFolder::installedFile(const QString &name)
{
    return QDir(QStringLiteral(ZINDREL_INSTALL_DIR)).filePath(name);
}

QByteArray TestFolder::readBytes(const QString &name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestFolder::writeBytes(const QString &name, const QByteArray &bytes) const
{
    QFile file(filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

void TestFolder::writeLines(const QString &name, const QStringList &lines) const
{
    writeBytes(name, AnsiText::encode(AnsiText::joinLines(lines)));
}

void TestFolder::remove(const QString &name) const
{
    QFile::remove(filePath(name));
}
