#pragma once

#include <QString>

// The statements the main window runs on materials, built as SQL text; every text value is a
// quoted literal (apostrophes doubled), every id a bare decimal number.
namespace Statements {

// The materials of one category: id and title only, in the given order (0 unsorted, which is
// table order, 1 by title, 2 by creation time).
QString list(const QString &category, const QString &subcategory, const QString &rootText, int order);

// The table of a material list entry's image: 4 a text material, any other an instance.
QString tableOfMaterialImage(int image);
// One material, by its table and id.
QString deleteMaterial(const QString &table, qint64 id);
// Files one material under another category of its kind.
QString moveMaterial(const QString &table, const QString &category, const QString &subcategory, qint64 id);

} // namespace Statements
