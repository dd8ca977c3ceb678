#pragma once

#include <QByteArray>
#include <QString>

// A ".txt" file dropped on the floating window, read as the text a capture dialog receives:
// every line followed by CR LF. A line ends at LF or CR LF; a CR without LF is dropped; a
// Ctrl+Z where a line would begin ends the text as the end of the file does.
class DroppedTextFile
{
public:
    // Larger files are no notes: reading them would take seconds and gigabytes.
    static constexpr qint64 MaximumBytes = 16 * 1024 * 1024;

    // False with the reason when the file cannot be opened or read, is not a regular file (a
    // pipe or a device would block or never end), or is larger than MaximumBytes.
    static bool read(const QString &path, QString *text, QString *error);

    // UTF-8 when the bytes carry a UTF-8 byte-order mark or are valid UTF-8 (*utf8 says which),
    // GB18030 otherwise.
    static QString decode(const QByteArray &bytes, bool *utf8 = nullptr);
    // The line rules applied to decoded text.
    static QString joinedLines(const QString &text);
};
