#pragma once

#include <QLabel>

// A red, clickable caption on a detail-pane row: opens the material's text or runs its file. It
// takes the keyboard too, and is a link to assistive technology (see AccessibleRoles).
class ActionLink : public QLabel
{
    Q_OBJECT
public:
    ActionLink(const QString &caption, qint64 tag, QWidget *parent);

    qint64 tag() const { return m_tag; }
    // What a click does: the pane's command for the row.
    void follow() { emit clicked(this); }

signals:
    void clicked(ActionLink *link);

protected:
    // The link takes its own presses: they must not reach, and select, what lies under it.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // Reached with Tab, followed with Enter or Space.
    void keyPressEvent(QKeyEvent *event) override;

private:
    qint64 m_tag;
};
