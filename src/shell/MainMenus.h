#pragma once

#include <QObject>

class MainWindow;
class QAction;
class QMenu;
class QToolBar;
class QToolButton;

// The main window's commands as a person reaches them: the menu bar, the tool bar, and the
// pop-up menus of the tree and the list, each item wired to the part that carries it out.
class MainMenus : public QObject
{
    Q_OBJECT
public:
    // Fills the window's menu bar and tool bar, and the list's pop-up menu it was given.
    MainMenus(MainWindow *window, QMenu *listMenu);

    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *treeMenu() const { return m_treeMenu; }
    // The tool buttons of the category commands: usable while a category is shown, not after
    // a click in the list.
    void setCategoryButtonsEnabled(bool enabled);

private:
    void createMenuBar();
    void createToolBar();
    void createTreeMenu();
    void fillListMenu();
    template <class Receiver, class Slot>
    QToolButton *addToolButton(const QString &name, const QString &hint, int image, Receiver *receiver,
                               Slot slot);

    MainWindow *m_window;
    QMenu *m_listMenu;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_treeMenu = nullptr;
    QToolButton *m_addCategoryButton = nullptr;
    QToolButton *m_renameCategoryButton = nullptr;
    QToolButton *m_deleteCategoryButton = nullptr;
};
