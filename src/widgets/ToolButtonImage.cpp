#include "widgets/ToolButtonImage.h"

#include "resources/IconLibrary.h"

#include <QToolButton>
#include <QVariant>

namespace {
const char *const ImageProperty = "zindrelImage";
} // namespace

namespace ToolButtonImage {

int of(const QToolButton *button)
{
    return button->property(ImageProperty).toInt();
}

void set(QToolButton *button, int image)
{
    button->setProperty(ImageProperty, image);
    button->setIcon(IconLibrary::mainImage(image));
}

} // namespace ToolButtonImage
