#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The languages a text material can be in. A language's name is what a Markdown fence's info
// string calls it ("cpp", "python", "sh"), so that an export's fences name it the way other
// Markdown programs read it. Two are no code: plain text (prose, shown in the configured face)
// and Markdown (shown rendered); every other one is shown in a fixed-pitch face, coloured by the
// highlighter's definition file when it has one.
class LanguageCatalog
{
public:
    struct Language
    {
        QString name;           // stored and written as the fence's info string
        QString title;          // what the drop-down shows
        QString definitionFile; // the highlighter's file; empty for plain text and Markdown
        QStringList extensions; // of file names and titles, lower-case
        QStringList aliases;    // other names fences, mode lines and "#!" lines give it
    };

    static inline const QString PlainText = QStringLiteral("text");
    static inline const QString Markdown = QStringLiteral("markdown");

    // Every language, plain text first, then Markdown, then the others by title.
    static const QVector<Language> &all();
    // By name; nullptr for a name it does not know.
    static const Language *find(const QString &name);
    // The language a name, an alias or an extension stands for, without regard to case; empty
    // when none does ("c++" → "cpp", "python3" → "python", "zsh" → "sh").
    static QString resolve(const QString &word);
    // The language of a file name's extension ("quicksort.cpp" → "cpp", "Makefile" →
    // "makefile"); empty when the name has no extension of a known language.
    static QString ofFileName(const QString &fileName);

    // Shown in the fixed-pitch face: neither plain text nor Markdown.
    static bool isCode(const QString &name);
    // Every extension of a source file that an import takes as a text material in its language.
    static const QStringList &importedExtensions();
};
