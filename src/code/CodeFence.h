#pragma once

#include <QChar>
#include <QString>

// Markdown's fenced code blocks: a line of at least three backticks or tildes, an info string
// naming the language, the code, and a line of the same mark at least as long.
namespace CodeFence {

struct Opening
{
    QChar mark;
    int length = 0;
    QString info; // trimmed
    bool isValid() const { return length >= 3; }
};

// The fence that the line opens; an invalid one when it opens none.
Opening opening(const QString &line);
// Whether the line closes a block that the opening began.
bool closes(const Opening &opening, const QString &line);

// The text as one fenced block whose info string is given: a fence of backticks longer than any
// run of backticks in the text (three at least), so that no line of it ends the block, and the
// text's lines between the fences, so that unwrap gives it back exactly.
QString fenced(const QString &text, const QString &info);
// The text inside a block when the whole of it is one fenced block; false, leaving the outputs
// alone, otherwise. Either line break may be LF or CR LF.
bool unwrap(const QString &block, QString *info, QString *text);

} // namespace CodeFence
