#include "widgets/MessageBoxes.h"

#include <QAbstractButton>

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

bool confirmDiscard(QWidget *parent)
{
    return show(parent, QStringLiteral("放弃已输入的内容吗？"), AppTitle, QMessageBox::Question,
                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool confirm(QWidget *parent, const QString &text, const QString &doIt)
{
    QMessageBox box(QMessageBox::Question, AppTitle, text, QMessageBox::Yes | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Yes)->setText(doIt);
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Yes;
}

} // namespace MessageBoxes
