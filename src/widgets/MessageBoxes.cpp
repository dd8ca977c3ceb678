#include "widgets/MessageBoxes.h"

namespace MessageBoxes {

void plain(QWidget *parent, const QString &text)
{
    show(parent, text, AppTitle, QMessageBox::NoIcon);
}

QMessageBox::StandardButton show(QWidget *parent, const QString &text, const QString &caption,
                                 QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace MessageBoxes
