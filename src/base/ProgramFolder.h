#pragma once

#include <QString>

// The folder that holds every file of the program (database, tree file, settings file, lock,
// Base.ini). A Zindrel run from a folder of its own keeps them beside its executable; one
// installed for everyone (built with the installed layout) keeps them in the user's data folder,
// $XDG_DATA_HOME/Zindrel, and reads its defaults and the help from its installed data folder.
// Which of the two it is comes from how it was built. Tests point it at a temporary folder;
// nothing else changes it.
class ProgramFolder
{
public:
    static QString path();
    static QString filePath(const QString &fileName);
    // An empty path returns to the folder the build decides.
    static void setPathForTesting(const QString &path);

    // Built to be installed for everyone: files in the user's data folder.
    static bool isInstalledLayout();
    // Where an installed program keeps its defaults (MTS.qb, QB.ini, schema.sql) and its help;
    // the program folder itself otherwise.
    static QString installedDataPath();
};
