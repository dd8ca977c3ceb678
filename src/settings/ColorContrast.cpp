#include "settings/ColorContrast.h"

#include <QtMath>

namespace ColorContrast {

namespace {
double luminance(const QColor &color)
{
    auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : qPow((value + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = color.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}
} // namespace

double ratio(const QColor &first, const QColor &second)
{
    const double a = luminance(first);
    const double b = luminance(second);
    return (qMax(a, b) + 0.05) / (qMin(a, b) + 0.05);
}

QColor readable(const QColor &wanted, const QColor &background)
{
    if (ratio(wanted, background) >= ReadableRatio)
        return wanted;
    const QColor black(Qt::black);
    const QColor light(235, 235, 235);
    return ratio(black, background) >= ratio(light, background) ? black : light;
}

} // namespace ColorContrast
