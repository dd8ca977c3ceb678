#pragma once

#include <QString>

// The statements the main window runs on materials, built as SQL text; every text value is a
// quoted literal (apostrophes doubled), every id a bare decimal number.
namespace Statements {

// The materials of one category: id and title only, in the given order (0 unsorted,
// 1 by title, 2 by creation time).
QString list(const QString &bigClass, const QString &className, const QString &rootText, int order);

} // namespace Statements
