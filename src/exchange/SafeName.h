#pragma once

#include <QString>

// File and folder names that every common file system takes (ext4, NTFS, FAT, APFS) and that a
// file manager shows: the characters Windows refuses (/ \ : * ? " < > |) become their full-width
// forms, control characters "_"; no blank at either end, no dot at the end, no dot at the start
// (a hidden file); no reserved Windows device name (CON, NUL, COM1, …, also before an
// extension); at most a number of UTF-8 bytes, cut between two characters.
namespace SafeName {

// Bytes of a name without its extension; room is left for " (NN)" and ".md" within the 255
// bytes of a name, and for a few levels of folders within Windows' 260 characters of a path.
constexpr int MaxBytes = 90;

QString make(const QString &name, int maxBytes = MaxBytes);
// The longest start of text within maxBytes UTF-8 bytes that ends between two characters as a
// reader sees them (a base letter is never cut from its accents, nor a surrogate pair split).
QString cut(const QString &text, int maxBytes);

} // namespace SafeName
