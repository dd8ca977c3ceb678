#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text as the program's own files hold it: GB18030 bytes (byte for byte GBK for every GBK
// character, and able to keep any other one), lines ended by CR LF. Every byte limit counts
// GB18030 bytes, and a cut never splits a character.
namespace AnsiText {

QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);

int byteLength(const QString &text);
// The longest prefix of text that fits in maxBytes; a character that would straddle the limit
// is left out whole.
QString leftBytes(const QString &text, int maxBytes);

// Splits at CR LF, a lone CR or a lone LF; a break at the very end adds no empty line.
QStringList splitLines(const QString &text);
// Every line followed by CR LF.
QString joinLines(const QStringList &lines);
// The lines of a text as a person typed it, such that splitLines(joinLines(lines)) joined with
// line breaks gives the text back exactly: a break at the very end keeps the empty line after it.
// An empty text has no lines.
QStringList typedLines(const QString &text);

// Reads a whole GB18030 line file. False with an error text when it cannot be read.
bool readLineFile(const QString &path, QStringList *lines, QString *error = nullptr);
// Replaces the file atomically: a crash leaves the old file or the new one, never a mixture, and
// a write that did not take every byte (a full disk) leaves the old file as it was. A file that
// holds the same bytes already is left alone.
bool writeLineFile(const QString &path, const QStringList &lines, QString *error = nullptr);

} // namespace AnsiText
