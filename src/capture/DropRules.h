#pragma once

#include <QString>

class QMimeData;

// What a drop on the floating window hands over.
struct DropAction
{
    enum Kind {
        Nothing,  // nothing usable, or several files: ignored without a message
        Text,     // text for the text capture dialog
        Instance, // a file path for the instance capture dialog
        TextFile  // a ".txt" file whose text goes to the text capture dialog; content is its path
    };
    Kind kind = Nothing;
    QString content;
};

// The rules of the floating window's drops: files win over text (a file manager offers both),
// exactly one file counts, and only a name ending in ".txt" (exactly so) is read as text.
class DropRules
{
public:
    static constexpr int TitleBytes = 10;

    // Whether a drag may end here: it offers text or local files.
    static bool accepts(const QMimeData *data);
    static DropAction interpret(const QMimeData *data);
    static bool isTextFileName(const QString &path);
    // The title a captured text starts with: its first ten bytes, line breaks as blanks.
    static QString titleOf(const QString &text);
};
