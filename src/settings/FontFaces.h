#pragma once

#include <QString>

// Which installed face shows a face the settings name. "宋体" and other Windows faces are often
// missing: text then appears in an installed Chinese face, and the font dialog opens on that
// face, while the settings keep the name they hold until the user picks a font.
namespace FontFaces {

// The face itself when it is installed, else the first installed face that writes Simplified
// Chinese, else the face as named (the system substitutes what it can).
QString shown(const QString &face);

// Sizes the settings may hold, made safe to use: whatever a file says, a font is drawn at a
// size between these bounds.
constexpr int MinimumSize = 1;
constexpr int MaximumSize = 500;
int clampedSize(int size);

} // namespace FontFaces
