#include "base/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString &testingPath()
{
    static QString path;
    return path;
}
} // namespace

QString ProgramFolder::path()
{
    return testingPath().isEmpty() ? QCoreApplication::applicationDirPath() : testingPath();
}

QString ProgramFolder::filePath(const QString &fileName)
{
    return QDir(path()).filePath(fileName);
}

void ProgramFolder::setPathForTesting(const QString &path)
{
    testingPath() = path;
}
