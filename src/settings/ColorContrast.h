#pragma once

#include <QColor>

// Whether text can be read on a background, by the contrast ratio that accessibility guidelines
// use (1 for the same colour, 21 for black on white).
namespace ColorContrast {

// Below this, text is hard to read.
constexpr double ReadableRatio = 3.0;

double ratio(const QColor &first, const QColor &second);
// The wanted colour when it can be read on the background; otherwise black on a light
// background and a light grey on a dark one.
QColor readable(const QColor &wanted, const QColor &background);

} // namespace ColorContrast
