#include "shell/MainMenus.h"

#include "browse/MaterialList.h"
#include "browse/Navigator.h"
#include "edit/MaterialCommands.h"
#include "edit/MaterialMover.h"
#include "exchange/ExchangeCommands.h"
#include "help/HelpCommands.h"
#include "history/HistoryCommands.h"
#include "resources/IconLibrary.h"
#include "search/FullTextBox.h"
#include "search/FullTextSearch.h"
#include "store/BaseSettings.h"
#include "tree/CategoryCommands.h"
#include "widgets/ToolButtonImage.h"

#include <QAction>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {
constexpr int ToolBarHeight = 30;

// A menu item with a picture of one image list (none for a null icon), wired to its slot.
template <class Receiver, class Slot>
QAction *addItem(QMenu *menu, const QString &caption, const QIcon &icon, Receiver *receiver, Slot slot)
{
    QAction *action = menu->addAction(caption);
    if (!icon.isNull())
        action->setIcon(icon);
    QObject::connect(action, &QAction::triggered, receiver, slot);
    return action;
}
// The item's key, shown beside it. With a scope, the key works only where that widget (the tree,
// the list) has the keyboard, so that the same key can mean the tree's or the list's command and
// a text box keeps its own keys.
QAction *withKey(QAction *action, const QKeySequence &key, QWidget *scope = nullptr)
{
    action->setShortcut(key);
    if (scope) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        scope->addAction(action);
    }
    return action;
}
} // namespace

MainMenus::MainMenus(const MenuTargets &targets) : QObject(targets.window), m_targets(targets)
{
    createMenuBar();
    createToolBar();
    createTreeMenu();
    fillListMenu();
}

void MainMenus::createMenuBar()
{
    CategoryCommands *categories = m_targets.categories;
    MaterialCommands *materials = m_targets.materials;
    MaterialList *list = m_targets.list;
    HistoryCommands *history = m_targets.history;
    auto main = [](int image) { return IconLibrary::mainImage(image); };

    QTreeWidget *tree = m_targets.tree;
    QWidget *listView = list->view();
    QMenu *file = m_targets.window->menuBar()->addMenu(QStringLiteral("文件&F"));
    withKey(
        addItem(file, QStringLiteral("添加新的子分类"), main(0), categories, &CategoryCommands::addCategory),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    withKey(
        addItem(file, QStringLiteral("修改分类名"), main(1), categories, &CategoryCommands::renameCategory),
        QKeySequence(Qt::Key_F2), tree);
    withKey(addItem(file, QStringLiteral("删除当前选定的分类"), main(2), categories,
                    &CategoryCommands::deleteCategory),
            QKeySequence::Delete, tree);
    file->addSeparator();
    withKey(addItem(file, QStringLiteral("在当前分类添加新的资料"), main(3), materials,
                    &MaterialCommands::addMaterial),
            QKeySequence::New);
    file->addSeparator();
    addItem(file, QStringLiteral("导出资料…"), IconLibrary::exchangeImage(0), m_targets.exchange,
            &ExchangeCommands::exportMaterials);
    addItem(file, QStringLiteral("导入资料…"), IconLibrary::exchangeImage(1), m_targets.exchange,
            &ExchangeCommands::importMaterials);
    // Offered when Base.ini names a server, whichever base this run uses.
    QAction *upload = addItem(file, QStringLiteral("上传到共享资料库…"), IconLibrary::exchangeImage(2),
                              m_targets.exchange, &ExchangeCommands::uploadToSharedBase);
    upload->setObjectName(QStringLiteral("uploadAction"));
    upload->setEnabled(BaseSettings::read().usesServer());
    file->addSeparator();
    addItem(file, QStringLiteral("回收站…"), IconLibrary::historyImage(1), history,
            &HistoryCommands::showRecycleBin)
        ->setObjectName(QStringLiteral("recycleBinAction"));
    file->addSeparator();
    withKey(addItem(file, QStringLiteral("退出"), main(4), this, &MainMenus::quitRequested),
            QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *edit = m_targets.window->menuBar()->addMenu(QStringLiteral("编辑&E"));
    withKey(addItem(edit, QStringLiteral("删除选定的资料"), main(5), materials,
                    &MaterialCommands::deleteSelectedMaterial),
            QKeySequence::Delete, listView);
    withKey(addItem(edit, QStringLiteral("修改选定的资料"), main(6), materials,
                    &MaterialCommands::modifySelectedMaterial),
            QKeySequence(Qt::Key_F2), listView);
    addItem(edit, QStringLiteral("历史版本…"), IconLibrary::historyImage(0), history,
            &HistoryCommands::showVersionsOfSelected)
        ->setObjectName(QStringLiteral("versionsAction"));
    edit->addSeparator();
    addItem(edit, QStringLiteral("资料转移功能"), main(8), m_targets.mover, &MaterialMover::explainMoving);

    QMenu *view = m_targets.window->menuBar()->addMenu(QStringLiteral("查看&V"));
    addItem(view, QStringLiteral("大图标"), QIcon(), list, &MaterialList::showLargeIcons);
    addItem(view, QStringLiteral("小图标"), QIcon(), list, &MaterialList::showSmallIcons);
    addItem(view, QStringLiteral("列表"), QIcon(), list, &MaterialList::showAsList);
    QMenu *order = view->addMenu(main(9), QStringLiteral("资料排序"));
    addItem(order, QStringLiteral("按名称"), QIcon(), list, &MaterialList::showOnceByTitle);
    addItem(order, QStringLiteral("按加入时间"), QIcon(), list, &MaterialList::showOnceByTime);
    view->addSeparator();
    Navigator *navigator = m_targets.navigator;
    withKey(addItem(view, QStringLiteral("后退"), QIcon(), navigator, &Navigator::goBack),
            QKeySequence(Qt::ALT | Qt::Key_Left));
    withKey(addItem(view, QStringLiteral("前进"), QIcon(), navigator, &Navigator::goForward),
            QKeySequence(Qt::ALT | Qt::Key_Right));
    withKey(addItem(view, QStringLiteral("向上"), QIcon(), navigator, &Navigator::goUp),
            QKeySequence(Qt::ALT | Qt::Key_Up));
    view->addSeparator();
    withKey(addItem(view, QStringLiteral("搜索"), main(10), this, &MainMenus::searchDialogRequested),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    view->addSeparator();
    addItem(view, QStringLiteral("选项"), main(7), this, &MainMenus::optionsDialogRequested);

    QMenu *help = m_targets.window->menuBar()->addMenu(QStringLiteral("帮助&H"));
    withKey(addItem(help, QStringLiteral("主题"), main(11), this, &HelpCommands::openHelp),
            QKeySequence::HelpContents);
    help->addSeparator();
    addItem(help, QStringLiteral("来信"), main(12), this, &HelpCommands::openMail);
    addItem(help, QStringLiteral("访问网站"), main(13), this, &HelpCommands::openWeb);
    help->addSeparator();
    addItem(help, QStringLiteral("关于"), QIcon(), this, &MainMenus::aboutDialogRequested);
}

template <class Receiver, class Slot>
QToolButton *MainMenus::addToolButton(const QString &name, const QString &hint, int image, Receiver *receiver,
                                      Slot slot)
{
    auto *button = new QToolButton(m_toolBar);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    ToolButtonImage::set(button, image);
    connect(button, &QToolButton::clicked, receiver, slot);
    m_toolBar->addWidget(button);
    return button;
}

void MainMenus::createToolBar()
{
    m_toolBar = m_targets.window->addToolBar(QStringLiteral("toolBar"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setFixedHeight(ToolBarHeight);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->toggleViewAction()->setVisible(false);

    CategoryCommands *categories = m_targets.categories;
    MaterialCommands *materials = m_targets.materials;
    Navigator *navigator = m_targets.navigator;

    // The navigator wires its own three buttons and keeps their pictures.
    auto navigationButton = [this](const QString &name, const QString &hint) {
        auto *button = new QToolButton(m_toolBar);
        button->setObjectName(name);
        button->setToolTip(hint);
        button->setAccessibleName(hint);
        button->setAutoRaise(true);
        m_toolBar->addWidget(button);
        return button;
    };
    QToolButton *back = navigationButton(QStringLiteral("backButton"), QStringLiteral("后退"));
    back->setText(QStringLiteral("后退"));
    back->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QToolButton *forward = navigationButton(QStringLiteral("forwardButton"), QStringLiteral("前进"));
    QToolButton *up = navigationButton(QStringLiteral("upButton"), QStringLiteral("向上"));
    navigator->attachButtons(back, forward, up);
    m_toolBar->addSeparator();
    m_addCategoryButton =
        addToolButton(QStringLiteral("addCategoryButton"), QStringLiteral("在当前分类添加新的子分类"), 0,
                      categories, &CategoryCommands::addCategory);
    m_renameCategoryButton =
        addToolButton(QStringLiteral("renameCategoryButton"), QStringLiteral("修改分类名"), 1, categories,
                      &CategoryCommands::renameCategory);
    m_deleteCategoryButton =
        addToolButton(QStringLiteral("deleteCategoryButton"), QStringLiteral("删除子分类"), 2, categories,
                      &CategoryCommands::deleteCategory);
    addToolButton(QStringLiteral("addMaterialButton"), QStringLiteral("在当前分类添加新的资料"), 3, materials,
                  &MaterialCommands::addMaterial);
    m_toolBar->addSeparator();
    addToolButton(QStringLiteral("deleteMaterialButton"), QStringLiteral("删除选定资料"), 5, materials,
                  &MaterialCommands::deleteSelectedMaterial);
    addToolButton(QStringLiteral("modifyMaterialButton"), QStringLiteral("修改选定的资料"), 6, materials,
                  &MaterialCommands::modifySelectedMaterial);
    m_toolBar->addSeparator();
    addToolButton(QStringLiteral("searchButton"), QStringLiteral("搜索"), 10, this,
                  &MainMenus::searchDialogRequested);
    addToolButton(QStringLiteral("optionsButton"), QStringLiteral("选项"), 7, this,
                  &MainMenus::optionsDialogRequested);
    m_toolBar->addSeparator();
    addToolButton(QStringLiteral("helpButton"), QStringLiteral("帮助"), 11, this, &HelpCommands::openHelp);
    addToolButton(QStringLiteral("quitButton"), QStringLiteral("退出"), 4, this, &MainMenus::quitRequested);

    // The search box follows the last button: at the right end it would lie under the floating
    // window, which sits near the screen's top right corner.
    m_toolBar->addSeparator();
    auto *box = new FullTextBox(m_toolBar);
    m_toolBar->addWidget(box);
    connect(box, &FullTextBox::searchRequested, m_targets.fullTextSearch, &FullTextSearch::search);
    auto *find = new QShortcut(QKeySequence::Find, m_targets.window);
    connect(find, &QShortcut::activated, box, [box] {
        box->setFocus(Qt::ShortcutFocusReason);
        box->selectAll();
    });
}

void MainMenus::setCategoryButtonsEnabled(bool enabled)
{
    for (QToolButton *button : {m_addCategoryButton, m_renameCategoryButton, m_deleteCategoryButton})
        button->setEnabled(enabled);
}

void MainMenus::createTreeMenu()
{
    CategoryCommands *categories = m_targets.categories;
    QTreeWidget *tree = m_targets.tree;
    auto treeImage = [](int image) { return IconLibrary::treeImage(image); };

    m_treeMenu = new QMenu(m_targets.window);
    m_treeMenu->setObjectName(QStringLiteral("treeMenu"));
    addItem(m_treeMenu, QStringLiteral("在当前分类添加新的子分类"), treeImage(5), categories,
            &CategoryCommands::addCategory);
    addItem(m_treeMenu, QStringLiteral("修改分类名"), treeImage(6), categories,
            &CategoryCommands::renameCategory);
    m_treeMenu->addSeparator();
    addItem(m_treeMenu, QStringLiteral("删除当前选定的分类"), treeImage(7), categories,
            &CategoryCommands::deleteCategory);
    m_treeMenu->addSeparator();
    addItem(m_treeMenu, QStringLiteral("在当前分类添加新的资料"), treeImage(8), m_targets.materials,
            &MaterialCommands::addMaterial);
    m_treeMenu->addSeparator();
    addItem(m_treeMenu, QStringLiteral("导出资料…"), IconLibrary::exchangeImage(0), m_targets.exchange,
            &ExchangeCommands::exportMaterials);
    connect(tree, &QWidget::customContextMenuRequested, m_treeMenu,
            [this, tree](const QPoint &pos) { m_treeMenu->popup(tree->viewport()->mapToGlobal(pos)); });
}

void MainMenus::fillListMenu()
{
    MaterialCommands *materials = m_targets.materials;
    MaterialList *list = m_targets.list;
    auto listImage = [](int image) { return IconLibrary::listImage(image); };

    addItem(m_targets.listMenu, QStringLiteral("添加新的资料"), listImage(6), materials,
            &MaterialCommands::addMaterialFromList);
    addItem(m_targets.listMenu, QStringLiteral("删除资料"), listImage(7), materials,
            &MaterialCommands::deleteSelectedMaterial);
    addItem(m_targets.listMenu, QStringLiteral("修改资料"), listImage(8), materials,
            &MaterialCommands::modifySelectedMaterial);
    QAction *copy = addItem(m_targets.listMenu, QStringLiteral("复制资料内容"), IconLibrary::viewerImage(1),
                            materials, &MaterialCommands::copySelectedMaterial);
    copy->setObjectName(QStringLiteral("copyMaterialAction"));
    addItem(m_targets.listMenu, QStringLiteral("历史版本…"), IconLibrary::historyImage(0), m_targets.history,
            &HistoryCommands::showVersionsOfSelected);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_targets.listMenu->addSeparator();
    QMenu *view = m_targets.listMenu->addMenu(listImage(9), QStringLiteral("查看"));
    addItem(view, QStringLiteral("大图标"), QIcon(), list, &MaterialList::showLargeIcons);
    addItem(view, QStringLiteral("小图标"), QIcon(), list, &MaterialList::showSmallIcons);
    addItem(view, QStringLiteral("列表"), QIcon(), list, &MaterialList::showAsList);
    QMenu *order = m_targets.listMenu->addMenu(listImage(11), QStringLiteral("资料排序"));
    addItem(order, QStringLiteral("按名称"), QIcon(), list, &MaterialList::showOnceByTitle);
    addItem(order, QStringLiteral("按加入时间"), QIcon(), list, &MaterialList::showOnceByTime);
    connect(m_targets.listMenu, &QMenu::aboutToShow, m_targets.mover, &MaterialMover::rebuildMoveMenu);
    QListView *listView = list->view();
    listView->addAction(copy); // Ctrl+C where the list has the keyboard
    connect(listView, &QWidget::customContextMenuRequested, m_targets.listMenu,
            [this, listView](const QPoint &pos) {
                m_targets.listMenu->popup(listView->viewport()->mapToGlobal(pos));
            });
}
