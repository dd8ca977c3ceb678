#pragma once

#include <QObject>

class CategoryCommands;
class ExchangeCommands;
class FullTextSearch;
class HistoryCommands;
class MaterialCommands;
class MaterialList;
class MaterialMover;
class Navigator;
class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;
class QTreeWidget;

// What the menus act on: the window they fill and the parts that carry the commands out.
struct MenuTargets
{
    QMainWindow *window = nullptr;
    QTreeWidget *tree = nullptr;
    QMenu *listMenu = nullptr;
    CategoryCommands *categories = nullptr;
    MaterialCommands *materials = nullptr;
    MaterialList *list = nullptr;
    Navigator *navigator = nullptr;
    MaterialMover *mover = nullptr;
    ExchangeCommands *exchange = nullptr;
    HistoryCommands *history = nullptr;
    FullTextSearch *fullTextSearch = nullptr;
};

// The main window's commands as a person reaches them: the menu bar, the tool bar, and the
// pop-up menus of the tree and the list, each item wired to the part that carries it out; what
// the window does itself is asked for through signals.
class MainMenus : public QObject
{
    Q_OBJECT
public:
    // Fills the window's menu bar and tool bar, and the list's pop-up menu.
    explicit MainMenus(const MenuTargets &targets);

    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *treeMenu() const { return m_treeMenu; }
    // The tool buttons of the category commands: usable while a category is shown, not after
    // a click in the list.
    void setCategoryButtonsEnabled(bool enabled);

signals:
    void searchDialogRequested();
    void optionsDialogRequested();
    void aboutDialogRequested();
    void quitRequested();

private:
    void createMenuBar();
    void createToolBar();
    void createTreeMenu();
    void fillListMenu();
    template <class Receiver, class Slot>
    QToolButton *addToolButton(const QString &name, const QString &hint, int image, Receiver *receiver,
                               Slot slot);

    MenuTargets m_targets;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_treeMenu = nullptr;
    QToolButton *m_addCategoryButton = nullptr;
    QToolButton *m_renameCategoryButton = nullptr;
    QToolButton *m_deleteCategoryButton = nullptr;
};
