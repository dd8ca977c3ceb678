#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>

class CategoryCheck;
class QMenu;
class QTreeWidget;
class QuickInstanceDialog;
class QuickTextDialog;

// The floating drop window: a small half-transparent square above all other windows, without
// task-bar button and without owner, so that it stays while the main window hides. Text or
// one file dropped on it goes to a capture dialog; dragging it anywhere moves it; a right
// click opens the tray menu.
class DropWindow : public QWidget
{
    Q_OBJECT
public:
    DropWindow(QMenu *trayMenu, QTreeWidget *tree);

    // Creates a drop window and shows it; nullptr when that failed.
    static DropWindow *open(QMenu *trayMenu, QTreeWidget *tree);

    // The hand-over rule: an existing dialog is refilled (message 1125), otherwise one is made.
    void handOverText(const QString &text);
    void handOverPath(const QString &path);

    // What keeps captured materials out of categories the tree no longer holds.
    void setCategoryCheck(CategoryCheck *check);

    // The capture dialogs now open, or nullptr.
    QuickTextDialog *textDialog() const;
    QuickInstanceDialog *instanceDialog() const;

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
    template <class Dialog> void handOver(QPointer<Dialog> &reference, const QString &content);
    // Reads a dropped ".txt" file in the background, then hands its text over.
    void readTextFile(const QString &path);

    QPointer<QMenu> m_trayMenu;
    QPointer<QTreeWidget> m_tree;
    QPointer<CategoryCheck> m_categoryCheck;
    QPointer<QuickTextDialog> m_textDialog;
    QPointer<QuickInstanceDialog> m_instanceDialog;
    QPoint m_grabOffset;
    bool m_moving = false;
};
