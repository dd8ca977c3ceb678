#pragma once

#include <QString>

// Where a kept row goes back to: the categories it names, unless a category may not have such a
// name (a root's, a blank one, one with a line break or a control character, one the tree file
// cannot hold); such a row goes to one category directly under its kind's root instead.
namespace RestorePlace {

inline const QString RescueCategory = QStringLiteral("恢复的资料");

struct Place
{
    QString category;
    QString subcategory;
    QString refusal; // why the row's own categories could not be used; empty when they are
};

Place of(const QString &category, const QString &subcategory);

} // namespace RestorePlace
