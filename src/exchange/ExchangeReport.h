#pragma once

#include <QString>
#include <QStringList>

// What an export or an import did, for the report at its end: how many materials and
// categories, and every file that was left out or name that was changed, with the reason.
struct ExchangeReport
{
    enum Outcome { Done, Cancelled, Failed };

    Outcome outcome = Done;
    QString error; // why it failed
    int materials = 0;
    int categories = 0;
    int skippedFiles = 0;
    QStringList skipped; // "file: reason"
    QStringList changed; // renamed categories, folded folders and the like

    // One line for the file, or for a number of files alike.
    void skip(const QString &file, const QString &reason, int files = 1)
    {
        skipped.append(file + QStringLiteral("：") + reason);
        skippedFiles += files;
    }
    void change(const QString &note) { changed.append(note); }
    // Every skipped file and change, one a line, for the report's details.
    QString details() const;
};
