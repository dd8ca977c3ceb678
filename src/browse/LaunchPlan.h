#pragma once

#include <QString>

// What "运行资料" does with an instance material's path on Linux: a program (a regular file with
// the execute bit, a script with "#!" among them) is started directly, never through a shell,
// in its own folder; a folder opens in the file manager and any other file with the desktop's
// handler for its type; a path that is not there, or that may not be read, is said so.
struct LaunchPlan
{
    enum Action { Missing, NotAllowed, Run, OpenFolder, Open };

    Action action = Missing;
    QString path;          // absolute
    QString workingFolder; // a program's own folder

    static LaunchPlan of(const QString &path);
};
