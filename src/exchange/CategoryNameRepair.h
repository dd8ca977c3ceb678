#pragma once

#include <QString>

// Folder names made into category names that the tree takes (see CategoryNames): control
// characters and line breaks become blanks, leading "+" go, a blank name becomes "未命名分类",
// and a name still refused (a root's name, say) gets a number.
namespace CategoryNameRepair {

// The name itself when the tree takes it; otherwise the repaired name, and why in *reason.
QString repair(const QString &name, QString *reason);

} // namespace CategoryNameRepair
