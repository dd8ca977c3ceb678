#pragma once

#include <QColor>
#include <QPalette>

// Colours as the settings file stores them: 0x00BBGGRR for a plain colour; a value whose top
// byte is 0xFF (a negative number) names a system colour by its index in the low byte.
namespace WindowsColor {

constexpr int White = 16777215;
constexpr int SystemWindow = -16777211;     // index 5
constexpr int SystemWindowText = -16777208; // index 8

bool isSystemColor(int value);
int systemColor(int index);
// A system colour becomes the matching colour of the running style's palette.
QColor toQColor(int value, const QPalette &palette);
int fromQColor(const QColor &color);

} // namespace WindowsColor
