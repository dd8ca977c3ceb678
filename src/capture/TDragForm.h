#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>

class QLabel;
class QMenu;
class QTreeWidget;

// The floating drop window: a small half-transparent square above all other windows, without
// task-bar button and without owner, so that it stays while the main window hides. Text or
// one file dropped on it goes to a capture dialog; dragging it anywhere moves it; a right
// click opens the tray menu.
class TDragForm : public QWidget
{
    Q_OBJECT
public:
    TDragForm(QMenu *trayMenu, QTreeWidget *tree);

    QLabel *Image1 = nullptr;

    // Creates DragForm and shows it; false when that failed.
    static bool open(QMenu *trayMenu, QTreeWidget *tree);

    // The hand-over rule: an existing dialog is refilled (message 1125), otherwise one is made.
    void handOverText(const QString &text);
    void handOverPath(const QString &path);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    template <class Form> void handOver(QPointer<Form> &reference, const QString &content);

    QPointer<QMenu> m_trayMenu;
    QPointer<QTreeWidget> m_tree;
    QPoint m_grabOffset;
    bool m_moving = false;
};

// The one floating window, or null. The main window creates it and destroys it at the end.
extern QPointer<TDragForm> DragForm;
