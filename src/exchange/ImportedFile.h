#pragma once

#include "exchange/MaterialFile.h"

#include <QString>

// One file of an import read as a material: a regular file without NUL bytes, decoded as a
// dropped text file is (UTF-8 when it is valid UTF-8, GB18030 otherwise), whose material's body
// (or description) holds at most 16 MB, counted as the program counts bytes (GB18030), whatever
// the file's own encoding: a material within the limit comes back from its export whatever its text. Its
// title is the front matter's, or the file's name without its extension when the front matter gives none (an
// exported file keeps its title even when that is empty). A source file (see
// LanguageCatalog::importedExtensions) is its text alone, titled by its whole name.
namespace ImportedFile {

// The body of one material.
constexpr qint64 MaxBytes = 16 * 1024 * 1024;
// A file: its text in UTF-8 takes at most one and a half times its GB18030 bytes, and the front
// matter and fences add little.
constexpr qint64 MaxFileBytes = 2 * MaxBytes;

// False, with the reason for the report, when the file is left out. *note, when not empty, says
// what the report should say of a file taken in (bytes that no encoding could read).
bool read(const QString &path, MaterialFile *material, QString *reason, QString *note);

} // namespace ImportedFile
