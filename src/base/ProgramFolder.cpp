#include "base/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {
QString &testingPath()
{
    static QString path;
    return path;
}
} // namespace

bool ProgramFolder::isInstalledLayout()
{
#ifdef ZINDREL_INSTALLED_DATA_DIR
    return true;
#else
    return false;
#endif
}

QString ProgramFolder::installedDataPath()
{
#ifdef ZINDREL_INSTALLED_DATA_DIR
    if (testingPath().isEmpty())
        return QStringLiteral(ZINDREL_INSTALLED_DATA_DIR);
#endif
    return path();
}

QString ProgramFolder::path()
{
    if (!testingPath().isEmpty())
        return testingPath();
    if (isInstalledLayout())
        return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
            .filePath(QStringLiteral("Zindrel"));
    return QCoreApplication::applicationDirPath();
}

QString ProgramFolder::filePath(const QString &fileName)
{
    return QDir(path()).filePath(fileName);
}

void ProgramFolder::setPathForTesting(const QString &path)
{
    testingPath() = path;
}
