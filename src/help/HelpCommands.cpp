#include "help/HelpCommands.h"

#include "base/ProgramFolder.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

QString HelpCommands::helpFilePath()
{
#ifdef Q_OS_WIN
    return ProgramFolder::filePath(QStringLiteral("QBHELP.CHM"));
#else
    return QDir(ProgramFolder::installedDataPath()).filePath(QStringLiteral("QBHELP.html"));
#endif
}

QUrl HelpCommands::mailUrl()
{
    return QUrl(QStringLiteral("mailto:zindrel@example.org"));
}

QUrl HelpCommands::webUrl()
{
    return QUrl(QStringLiteral("https://zindrel.example.org/"));
}

void HelpCommands::openHelp()
{
    const QString path = helpFilePath();
    if (QFileInfo::exists(path))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void HelpCommands::openMail()
{
    QDesktopServices::openUrl(mailUrl());
}

void HelpCommands::openWeb()
{
    QDesktopServices::openUrl(webUrl());
}
