#pragma once

#include "settings/SettingsFile.h"

#include <QFont>

class QPlainTextEdit;
class QWidget;

// The look every viewer takes from the settings file: background colour and font.
namespace ViewerLook {

// Size in points decides; the height only where no size is given. The charset has no
// counterpart in Qt.
QFont fontOf(const ViewerFontValues &values);
void applyBackColor(QPlainTextEdit *memo, int color);
// Reads the font lines and applies them; a line that cannot be read is reported in a message
// box on messageParent, and what was read before it applies.
void applyFont(QPlainTextEdit *memo, QWidget *messageParent);

} // namespace ViewerLook
