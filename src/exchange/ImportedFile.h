#pragma once

#include "exchange/MaterialFile.h"

#include <QString>

// One file of an import read as a material: a regular file of at most 16 MB that holds text,
// decoded as a dropped text file is (UTF-8 when it is valid UTF-8, GB18030 otherwise). Its title
// is the front matter's, or the file's name without its extension when the front matter gives
// none (an exported file keeps its title even when that is empty). A source file (see
// LanguageCatalog::importedExtensions) is its text alone, titled by its whole name.
namespace ImportedFile {

constexpr qint64 MaxBytes = 16 * 1024 * 1024;

// False, with the reason for the report, when the file is left out.
bool read(const QString &path, MaterialFile *material, QString *reason);

} // namespace ImportedFile
