#include "browse/ViewerLook.h"

#include "settings/FontFaces.h"
#include "settings/WindowsColor.h"
#include "widgets/MessageBoxes.h"

#include <QPalette>

#include <limits>

namespace ViewerLook {

QFont fontOf(const ViewerFontValues &values)
{
    QFont font(FontFaces::shown(values.face));
    // Clamped where used: a height of -2147483648 has no positive counterpart.
    if (values.height != 0)
        font.setPixelSize(FontFaces::clampedSize(
            values.height == std::numeric_limits<int>::min() ? FontFaces::MaximumSize : qAbs(values.height)));
    if (values.size > 0)
        font.setPointSize(FontFaces::clampedSize(values.size));
    font.setBold(values.bold);
    font.setItalic(values.italic);
    font.setUnderline(values.underline);
    font.setStrikeOut(values.strikeOut);
    return font;
}

FontLook readFont(const QPalette &palette, QWidget *messageParent)
{
    ViewerFontValues values;
    QString error;
    if (!SettingsFile::readFont(SettingsFile::path(), &values, &error))
        MessageBoxes::show(messageParent, error, MessageBoxes::AppTitle, QMessageBox::Warning);
    return {fontOf(values), WindowsColor::toQColor(values.color, palette)};
}

} // namespace ViewerLook
