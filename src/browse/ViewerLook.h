#pragma once

#include "settings/SettingsFile.h"

#include <QColor>
#include <QFont>

class QPalette;
class QWidget;

// The look every viewer takes from the settings file: its font and the colour of its text.
namespace ViewerLook {

struct FontLook
{
    QFont font;
    QColor color;
};

// Size in points decides; the height only where no size is given. The charset has no
// counterpart in Qt.
QFont fontOf(const ViewerFontValues &values);
// Reads the font lines; a line that cannot be read is reported in a message box on
// messageParent, and what was read before it applies. A system colour is the palette's.
FontLook readFont(const QPalette &palette, QWidget *messageParent);

} // namespace ViewerLook
