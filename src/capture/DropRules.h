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
        Failed    // a ".txt" file that could not be read; content is the reason
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
