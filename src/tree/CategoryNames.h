#pragma once

#include <QString>
#include <QStringList>

// Which names a category may take. The tree file keeps one name per line and tells levels by
// leading "+", and sibling categories with one name would share (and on delete lose) each
// other's materials.
namespace CategoryNames {

// Why the name cannot be given to a category among these siblings; empty when it can.
QString refusal(const QString &name, const QStringList &siblingNames);

} // namespace CategoryNames
