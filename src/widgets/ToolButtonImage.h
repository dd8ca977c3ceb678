#pragma once

class QToolButton;

// Tool buttons whose picture carries state (Back 14/17, Forward 15/18, Up 16/19: available or
// not): the button remembers the index of the main image list it shows.
namespace ToolButtonImage {

int of(const QToolButton *button);
void set(QToolButton *button, int image);

} // namespace ToolButtonImage
