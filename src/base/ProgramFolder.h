#pragma once

#include <QString>

// The folder that holds the executable and every file of the program (database, tree file,
// settings file, help). Tests point it at a temporary folder; nothing else changes it.
class ProgramFolder
{
public:
    static QString path();
    static QString filePath(const QString &fileName);
    // An empty path returns to the executable's folder.
    static void setPathForTesting(const QString &path);
};
