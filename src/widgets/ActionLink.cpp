#include "widgets/ActionLink.h"

#include "widgets/AccessibleRoles.h"

#include <QKeyEvent>
#include <QMouseEvent>

ActionLink::ActionLink(const QString &caption, qint64 tag, QWidget *parent)
    : QLabel(caption, parent), m_tag(tag)
{
    setObjectName(QStringLiteral("ActionLink"));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    AccessibleRoles::install();
    QFont linkFont(QStringLiteral("宋体"));
    linkFont.setPointSize(10);
    setFont(linkFont);
    setForegroundRole(QPalette::WindowText);
    QPalette red = palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    setPalette(red);
    adjustSize();
}

void ActionLink::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void ActionLink::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

void ActionLink::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        follow();
}

void ActionLink::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        event->accept();
        follow();
        return;
    }
    QLabel::keyPressEvent(event);
}
