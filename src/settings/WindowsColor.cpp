#include "settings/WindowsColor.h"

namespace WindowsColor {

namespace {
QPalette::ColorRole roleOfSystemIndex(int index)
{
    switch (index) {
    case 8:
        return QPalette::Text;
    case 15:
        return QPalette::Button;
    case 18:
        return QPalette::ButtonText;
    case 24:
        return QPalette::ToolTipBase;
    case 23:
        return QPalette::ToolTipText;
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    default:
        return QPalette::Base;
    }
}
} // namespace

bool isSystemColor(int value)
{
    return (static_cast<quint32>(value) & 0xFF000000u) == 0xFF000000u;
}

int systemColor(int index)
{
    return static_cast<int>(0xFF000000u | static_cast<quint32>(index & 0xFF));
}

QColor toQColor(int value, const QPalette &palette)
{
    const auto bits = static_cast<quint32>(value);
    if (isSystemColor(value))
        return palette.color(QPalette::Active, roleOfSystemIndex(static_cast<int>(bits & 0xFF)));
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

int fromQColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

} // namespace WindowsColor
