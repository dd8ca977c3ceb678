#include "shell/TMainForm.h"

#include "base/ProgramFolder.h"
#include "browse/DetailPane.h"
#include "browse/TNewFrmViewer.h"
#include "capture/TDragForm.h"
#include "edit/MaterialCommands.h"
#include "edit/MaterialMover.h"
#include "help/HelpCommands.h"
#include "help/TAboutForm.h"
#include "resources/IconLibrary.h"
#include "search/TSerchForm.h"
#include "settings/TOptionForm.h"
#include "shell/MainWindowTray.h"
#include "shell/MessageBoxes.h"
#include "shell/MessageNumbers.h"
#include "store/Statements.h"
#include "store/TFile.h"
#include "store/TMainData.h"
#include "tree/CategoryCommands.h"
#include "tree/CategoryTree.h"
#include "tree/EOpenFileError.h"
#include "tree/NodeRules.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int TreeWidth = 169;
constexpr int StripHeight = 18;
constexpr int ProgressWidth = 159;
constexpr int ToolBarHeight = 30;
const char *const ImageProperty = "zindrelImage";
} // namespace

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(QStringLiteral("Zindrel"));
    setWindowIcon(IconLibrary::mainIcon());
    QFont uiFont(QStringLiteral("MS Sans Serif"));
    uiFont.setPixelSize(11);
    setFont(uiFont);
    setGeometry(50, 49, 696, 480);
    createControls();
    createMenus();
    createToolBar();
    createPopupMenus();
    FormCreate();
}

TMainForm::~TMainForm()
{
    destroyDragForm();
}

void TMainForm::createControls()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto *splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setChildrenCollapsible(false);

    MainTreeView = new QTreeWidget(splitter);
    MainTreeView->setObjectName(QStringLiteral("MainTreeView"));
    MainTreeView->setHeaderHidden(true);
    MainTreeView->setIndentation(19);
    MainTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MainTreeView->setContextMenuPolicy(Qt::CustomContextMenu);
    QPalette treePalette = MainTreeView->palette();
    treePalette.setColor(QPalette::Base, treePalette.color(QPalette::ToolTipBase));
    MainTreeView->setPalette(treePalette);
    connect(MainTreeView, &QTreeWidget::itemClicked, this, [this] { MainTreeViewClick(); });
    connect(MainTreeView, &QTreeWidget::itemExpanded, this, &TMainForm::MainTreeViewExpanded);
    connect(MainTreeView, &QTreeWidget::itemCollapsed, this, &TMainForm::MainTreeViewCollapsed);

    panel = new QWidget(splitter);
    panel->setObjectName(QStringLiteral("panel"));
    panel->installEventFilter(this);

    MainList = new QListView(panel);
    MainList->setObjectName(QStringLiteral("MainList"));
    MainListModel = new MaterialListModel(this);
    MainList->setModel(MainListModel);
    MainList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MainList->setSelectionMode(QAbstractItemView::SingleSelection);
    MainList->setUniformItemSizes(true);
    // One pass: in icon mode every batch that reaches past the view rebuilds the whole item tree.
    // A fixed layout: its bounds already leave room for a scroll bar, so one coming or going
    // needs no second layout; a window resize refreshes the list, a splitter move lays it out.
    MainList->setLayoutMode(QListView::SinglePass);
    MainList->setResizeMode(QListView::Fixed);
    MainList->setMovement(QListView::Static);
    MainList->setWordWrap(true);
    MainList->setContextMenuPolicy(Qt::CustomContextMenu);
    MainList->viewport()->installEventFilter(this);
    connect(MainList, &QListView::doubleClicked, this, [this] { MainListDblClick(); });
    connect(MainList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                if (!selected.indexes().isEmpty())
                    MainDetailShow(selected.indexes().first(), true);
                else if (!deselected.indexes().isEmpty())
                    MainDetailShow(deselected.indexes().first(), false);
            });

    MainDetail = new QTreeWidget(panel);
    MainDetail->setObjectName(QStringLiteral("MainDetail"));
    MainDetail->setColumnCount(2);
    MainDetail->setHeaderLabels({QStringLiteral("名称"), QStringLiteral("值")});
    MainDetail->header()->resizeSection(0, 100);
    MainDetail->header()->resizeSection(1, 400);
    MainDetail->header()->setStretchLastSection(false);
    MainDetail->setRootIsDecorated(false);
    MainDetail->setStyleSheet(QStringLiteral(
        "QTreeView::item { border-right: 1px solid #d8d8d8; border-bottom: 1px solid #d8d8d8; }"));
    MainDetail->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);

    ThisFrmViewer = new QPlainTextEdit(panel);
    ThisFrmViewer->setObjectName(QStringLiteral("ThisFrmViewer"));
    ThisFrmViewer->setReadOnly(true);
    ThisFrmViewer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ThisFrmViewer->hide();
    MainDetailPane = new DetailPane(*this);
    m_categoryCommands = new CategoryCommands(*this);
    m_materialCommands = new MaterialCommands(*this);
    m_materialMover = new MaterialMover(*this);

    StoreItemView = new MaterialListModel(this);

    splitter->addWidget(MainTreeView);
    splitter->addWidget(panel);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({TreeWidth, 1000});
    connect(splitter, &QSplitter::splitterMoved, MainList, &QListView::doItemsLayout);

    Panel1 = new QWidget(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(StripHeight);
    auto *strip = new QHBoxLayout(Panel1);
    strip->setContentsMargins(2, 0, 0, 0);
    strip->setSpacing(2);
    MainStatus = new QLabel(Panel1);
    MainStatus->setObjectName(QStringLiteral("MainStatus"));
    MainStatus->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    MainStatus->setLayoutDirection(Qt::RightToLeft);
    MainStatus->setFrameShape(QFrame::StyledPanel);
    MainStatus->setFrameShadow(QFrame::Sunken);
    MainProgressBar = new QProgressBar(Panel1);
    MainProgressBar->setObjectName(QStringLiteral("MainProgressBar"));
    MainProgressBar->setRange(0, 100);
    MainProgressBar->setValue(0);
    MainProgressBar->setTextVisible(false);
    MainProgressBar->setFixedWidth(ProgressWidth);
    strip->addWidget(MainStatus, 1);
    strip->addWidget(MainProgressBar);

    outer->addWidget(splitter, 1);
    outer->addWidget(Panel1);
    setCentralWidget(central);
}

void TMainForm::createMenus()
{
    auto add = [this](QMenu *menu, const QString &caption, int image, void (TMainForm::*handler)()) {
        QAction *action = menu->addAction(caption);
        if (image >= 0)
            action->setIcon(IconLibrary::mainImage(image));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu *file = menuBar()->addMenu(QStringLiteral("文件&F"));
    add(file, QStringLiteral("添加新的子分类"), 0, &TMainForm::AddNewItem);
    add(file, QStringLiteral("修改分类名"), 1, &TMainForm::ReNameItem);
    add(file, QStringLiteral("删除当前选定的分类"), 2, &TMainForm::DelChildItem);
    file->addSeparator();
    add(file, QStringLiteral("在当前分类添加新的资料"), 3, &TMainForm::AddFileToItem);
    file->addSeparator();
    add(file, QStringLiteral("退出"), 4, &TMainForm::QuitProgram);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("编辑&E"));
    add(edit, QStringLiteral("删除选定的资料"), 5, &TMainForm::DelFile);
    add(edit, QStringLiteral("修改选定的资料"), 6, &TMainForm::ReFile);
    edit->addSeparator();
    add(edit, QStringLiteral("资料转移功能"), 8, &TMainForm::N31Click);

    QMenu *view = menuBar()->addMenu(QStringLiteral("查看&V"));
    add(view, QStringLiteral("大图标"), -1, &TMainForm::N23Click);
    add(view, QStringLiteral("小图标"), -1, &TMainForm::N24Click);
    add(view, QStringLiteral("列表"), -1, &TMainForm::N25Click);
    QMenu *order = view->addMenu(IconLibrary::mainImage(9), QStringLiteral("资料排序"));
    add(order, QStringLiteral("按名称"), -1, &TMainForm::OByName);
    add(order, QStringLiteral("按加入时间"), -1, &TMainForm::OByTime);
    view->addSeparator();
    add(view, QStringLiteral("搜索"), 10, &TMainForm::SerchFormPop);
    view->addSeparator();
    add(view, QStringLiteral("选项"), 7, &TMainForm::OpenOption);

    QMenu *help = menuBar()->addMenu(QStringLiteral("帮助&H"));
    add(help, QStringLiteral("主题"), 11, &TMainForm::N41Click);
    help->addSeparator();
    add(help, QStringLiteral("来信"), 12, &TMainForm::N43Click);
    add(help, QStringLiteral("访问网站"), 13, &TMainForm::N44Click);
    help->addSeparator();
    add(help, QStringLiteral("关于"), -1, &TMainForm::N46Click);
}

QToolButton *TMainForm::addToolButton(const QString &name, const QString &hint, int image,
                                      void (TMainForm::*handler)())
{
    auto *button = new QToolButton(MainToolBar);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    setButtonImage(button, image);
    connect(button, &QToolButton::clicked, this, handler);
    MainToolBar->addWidget(button);
    return button;
}

void TMainForm::createToolBar()
{
    MainToolBar = addToolBar(QStringLiteral("MainToolBar"));
    MainToolBar->setObjectName(QStringLiteral("MainToolBar"));
    MainToolBar->setMovable(false);
    MainToolBar->setFloatable(false);
    MainToolBar->setFixedHeight(ToolBarHeight);
    MainToolBar->setIconSize(QSize(16, 16));
    MainToolBar->toggleViewAction()->setVisible(false);

    BackMenu = new QMenu(this);
    BackMenu->setObjectName(QStringLiteral("BackMenu"));
    PreMenu = new QMenu(this);
    PreMenu->setObjectName(QStringLiteral("PreMenu"));
    connect(BackMenu, &QMenu::aboutToShow, this, &TMainForm::BackMenuPopup);
    connect(PreMenu, &QMenu::aboutToShow, this, &TMainForm::PreMenuPopup);

    BackTBtn =
        addToolButton(QStringLiteral("BackTBtn"), QStringLiteral("后退"), 17, &TMainForm::BackTBtnClick);
    BackTBtn->setText(QStringLiteral("后退"));
    BackTBtn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    BackTBtn->setMenu(BackMenu);
    BackTBtn->setPopupMode(QToolButton::MenuButtonPopup);
    PreTBtn = addToolButton(QStringLiteral("PreTBtn"), QStringLiteral("前进"), 18, &TMainForm::PreTBtnClick);
    PreTBtn->setMenu(PreMenu);
    PreTBtn->setPopupMode(QToolButton::MenuButtonPopup);
    UpTBtn = addToolButton(QStringLiteral("UpTBtn"), QStringLiteral("向上"), 19, &TMainForm::UpTBtnClick);
    MainToolBar->addSeparator();
    ToolButton1 = addToolButton(QStringLiteral("ToolButton1"), QStringLiteral("在当前分类添加新的子分类"), 0,
                                &TMainForm::AddNewItem);
    ToolButton2 =
        addToolButton(QStringLiteral("ToolButton2"), QStringLiteral("修改分类名"), 1, &TMainForm::ReNameItem);
    ToolButton3 = addToolButton(QStringLiteral("ToolButton3"), QStringLiteral("删除子分类"), 2,
                                &TMainForm::DelChildItem);
    ToolButton4 = addToolButton(QStringLiteral("ToolButton4"), QStringLiteral("在当前分类添加新的资料"), 3,
                                &TMainForm::AddFileToItem);
    MainToolBar->addSeparator();
    ToolButton6 =
        addToolButton(QStringLiteral("ToolButton6"), QStringLiteral("删除选定资料"), 5, &TMainForm::DelFile);
    ToolButton7 =
        addToolButton(QStringLiteral("ToolButton7"), QStringLiteral("修改选定的资料"), 6, &TMainForm::ReFile);
    MainToolBar->addSeparator();
    ToolButton9 =
        addToolButton(QStringLiteral("ToolButton9"), QStringLiteral("搜索"), 10, &TMainForm::SerchFormPop);
    ToolButton10 =
        addToolButton(QStringLiteral("ToolButton10"), QStringLiteral("选项"), 7, &TMainForm::OpenOption);
    MainToolBar->addSeparator();
    ToolButton13 =
        addToolButton(QStringLiteral("ToolButton13"), QStringLiteral("帮助"), 11, &TMainForm::N41Click);
    ToolButton12 =
        addToolButton(QStringLiteral("ToolButton12"), QStringLiteral("退出"), 4, &TMainForm::QuitProgram);
}

void TMainForm::createPopupMenus()
{
    MainTreePopupMenu = new QMenu(this);
    MainTreePopupMenu->setObjectName(QStringLiteral("MainTreePopupMenu"));
    auto addTree = [this](const QString &caption, int image, void (TMainForm::*handler)()) {
        QAction *action = MainTreePopupMenu->addAction(IconLibrary::treeImage(image), caption);
        connect(action, &QAction::triggered, this, handler);
    };
    addTree(QStringLiteral("在当前分类添加新的子分类"), 5, &TMainForm::AddNewItem);
    addTree(QStringLiteral("修改分类名"), 6, &TMainForm::ReNameItem);
    MainTreePopupMenu->addSeparator();
    addTree(QStringLiteral("删除当前选定的分类"), 7, &TMainForm::DelChildItem);
    MainTreePopupMenu->addSeparator();
    addTree(QStringLiteral("在当前分类添加新的资料"), 8, &TMainForm::AddFileToItem);
    connect(MainTreeView, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        MainTreePopupMenu->popup(MainTreeView->viewport()->mapToGlobal(pos));
    });

    MainListPopupMenu = new QMenu(this);
    MainListPopupMenu->setObjectName(QStringLiteral("MainListPopupMenu"));
    auto addList = [this](QMenu *menu, const QString &caption, int image, void (TMainForm::*handler)()) {
        QAction *action = menu->addAction(caption);
        if (image >= 0)
            action->setIcon(IconLibrary::listImage(image));
        connect(action, &QAction::triggered, this, handler);
    };
    addList(MainListPopupMenu, QStringLiteral("添加新的资料"), 6, &TMainForm::N14Click);
    addList(MainListPopupMenu, QStringLiteral("删除资料"), 7, &TMainForm::DelFile);
    addList(MainListPopupMenu, QStringLiteral("修改资料"), 8, &TMainForm::ReFile);
    MainListPopupMenu->addSeparator();
    QMenu *view = MainListPopupMenu->addMenu(IconLibrary::listImage(9), QStringLiteral("查看"));
    addList(view, QStringLiteral("大图标"), -1, &TMainForm::N23Click);
    addList(view, QStringLiteral("小图标"), -1, &TMainForm::N24Click);
    addList(view, QStringLiteral("列表"), -1, &TMainForm::N25Click);
    QMenu *order = MainListPopupMenu->addMenu(IconLibrary::listImage(11), QStringLiteral("资料排序"));
    addList(order, QStringLiteral("按名称"), -1, &TMainForm::OByName);
    addList(order, QStringLiteral("按加入时间"), -1, &TMainForm::OByTime);
    connect(MainListPopupMenu, &QMenu::aboutToShow, this, &TMainForm::TurnFilePopMenu);
    connect(MainList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { MainListPopupMenu->popup(MainList->viewport()->mapToGlobal(pos)); });

    TrayPopMenu = new QMenu(this);
    TrayPopMenu->setObjectName(QStringLiteral("TrayPopMenu"));
    N121 = TrayPopMenu->addAction(QStringLiteral("显示主窗口"));
    N121->setCheckable(true);
    connect(N121, &QAction::triggered, this, &TMainForm::N121Click);
    N341 = TrayPopMenu->addAction(QStringLiteral("显示悬浮窗口"));
    N341->setCheckable(true);
    connect(N341, &QAction::triggered, this, &TMainForm::N341Click);
    TrayPopMenu->addSeparator();
    connect(TrayPopMenu->addAction(QStringLiteral("关于")), &QAction::triggered, this, &TMainForm::N46Click);
    connect(TrayPopMenu->addAction(IconLibrary::detailImage(1), QStringLiteral("退出")), &QAction::triggered,
            this, &TMainForm::QuitProgram);
}

// Creation, in its order. The data module does not exist yet and is not used.
void TMainForm::FormCreate()
{
    N121->setChecked(true);
    LastViewerCaption.clear();
    MainTreeView->clear();
    showTopLevel();
    try {
        LoadTree();
    } catch (const EOpenFileError &) {
        MessageBoxes::show(this, QStringLiteral("文件MTS.qb已经被损坏，请重新安装！"), MessageBoxes::AppTitle,
                           QMessageBox::Critical);
        return;
    }
    MainFormInit();
    SetupTray(); // minimising reaches OnAppMin through changeEvent
    ClearBack();
    ClearPre();
    QCoreApplication::postEvent(this, new QEvent(MessageNumber::WM_SHOWDRAGFORM));
    m_created = true;
}

void TMainForm::MainFormInit()
{
    applySettings(SettingsFile::readStartup(SettingsFile::path()));
}

void TMainForm::applySettings(const StartupSettings &settings)
{
    setListViewStyle(settings.iconStyle);
    ListOrder = settings.listOrder;
    BrowseInNewWindow = settings.browseInNewWindow;
    WindowPerMaterial = settings.windowPerMaterial;
    ViewerBackColor = settings.viewerBackColor;
    TrayMode = settings.trayMode;
}

void TMainForm::LoadTree()
{
    CategoryTree::fill(MainTreeView, m_treeFile.load());
}

void TMainForm::SaveTree()
{
    QString error;
    if (!m_treeFile.save(CategoryTree::collect(MainTreeView), &error))
        setStatusText(QStringLiteral("无法保存分类文件MTS.qb：") + error);
}

void TMainForm::showTopLevel()
{
    MainListModel->setEntries({{NodeRules::TextRootText, ListEntry::TopLevel, 0},
                               {NodeRules::InstanceRootText, ListEntry::TopLevel, 0}});
}

void TMainForm::MainTreeViewExpanded(QTreeWidgetItem *item)
{
    const int image = NodeRules::expandedImage(CategoryTree::image(item));
    CategoryTree::setImages(item, image, image);
    CategoryTree::selectNode(MainTreeView, item);
}

void TMainForm::MainTreeViewCollapsed(QTreeWidgetItem *item)
{
    const int image = NodeRules::collapsedImage(CategoryTree::image(item));
    CategoryTree::setImages(item, image, image);
    CategoryTree::selectNode(MainTreeView, item);
}

bool TMainForm::event(QEvent *event)
{
    if (event->type() == MessageNumber::WM_SHOWDRAGFORM) {
        ShowDragForm();
        return true;
    }
    if (event->type() == MessageNumber::WM_SENCONDRUN) {
        WMSencondRun();
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::ShowDragForm()
{
    if (!DragForm && !TDragForm::open(TrayPopMenu, MainTreeView))
        MessageBoxes::show(this, QStringLiteral("悬浮窗口创建失败！"), QStringLiteral("Quillbarrow"),
                           QMessageBox::Warning);
    N341->setChecked(true);
}

void TMainForm::destroyDragForm()
{
    // The floating window has no owner; this window ends it, and its capture dialogs with it.
    delete DragForm.data();
}

void TMainForm::WMSencondRun()
{
    if (N121->isChecked()) {
        if (isMinimized())
            setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    } else {
        TrayIconData->showWindow();
    }
}

void TMainForm::activateFromSecondCopy()
{
    if (!isVisible() || isMinimized())
        QCoreApplication::postEvent(this, new QEvent(MessageNumber::WM_SENCONDRUN));
    raise();
    activateWindow();
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainForm::FormResize()
{
    layoutPanel();
    if (IsClosing != 1 && selectedNode()) {
        MainListShow();
        MainList->viewport()->update();
    }
}

void TMainForm::layoutPanel()
{
    const int listHeight = panel->height() / 4;
    MainList->setGeometry(0, 0, panel->width(), listHeight);
    const QRect detail(0, listHeight, panel->width(), panel->height() - listHeight);
    MainDetail->setGeometry(detail);
    ThisFrmViewer->setGeometry(detail);
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panel && event->type() == QEvent::Resize)
        layoutPanel();
    else if (MainList && watched == MainList->viewport() && event->type() == QEvent::MouseButtonRelease)
        MainListClick();
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // A close that the quit command asked for always ends the program.
    if (!m_quitRequested && OnTrayForm(TrayRules::Close)) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TMainForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Hidden only once the minimising is over, outside the window system's state change.
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        QMetaObject::invokeMethod(this, &TMainForm::OnAppMin, Qt::QueuedConnection);
}

bool TMainForm::OnTrayForm(TrayRules::Command command)
{
    return TrayIconData && TrayIconData->systemCommand(command, TrayMode);
}

void TMainForm::OnAppMin()
{
    if (isMinimized())
        OnTrayForm(TrayRules::Minimise);
}

void TMainForm::SetupTray()
{
    TrayIconData = new MainWindowTray(this, TrayPopMenu, N121, N341);
    connect(TrayIconData, &MainWindowTray::activated, this, &TMainForm::TrayControl);
    TrayIconData->add();
}

void TMainForm::TrayControl(QSystemTrayIcon::ActivationReason reason)
{
    TrayIconData->iconActivated(reason);
}

void TMainForm::FormClose()
{
    if (IsClosing == 1)
        return;
    IsClosing = 1;
    SaveTree();
    if (TrayIconData)
        TrayIconData->remove();
    destroyDragForm();
    QCoreApplication::quit();
}

void TMainForm::QuitProgram()
{
    m_quitRequested = true;
    if (TrayIconData)
        TrayIconData->remove();
    destroyDragForm();
    close();
    FormClose(); // a hidden window's close() may not reach the close handler
    QCoreApplication::quit();
}

void TMainForm::attachDataModule(TMainData *data)
{
    connect(data, &TMainData::statusReported, this, &TMainForm::setStatusText);
    connect(data, &TMainData::progressReported, this, &TMainForm::setProgress);
}

void TMainForm::setStatusText(const QString &text)
{
    MainStatus->setText(text);
}

void TMainForm::setProgress(int value)
{
    MainProgressBar->setValue(value);
}

int TMainForm::buttonImage(const QToolButton *button) const
{
    return button->property(ImageProperty).toInt();
}

void TMainForm::setButtonImage(QToolButton *button, int image)
{
    button->setProperty(ImageProperty, image);
    button->setIcon(IconLibrary::mainImage(image));
}

void TMainForm::setListViewStyle(int iconStyle)
{
    m_listViewStyle = iconStyle;
    switch (iconStyle) {
    case StartupSettings::SmallIcons:
        MainList->setViewMode(QListView::ListMode);
        MainList->setFlow(QListView::LeftToRight);
        MainList->setWrapping(true);
        MainList->setIconSize(QSize(16, 16));
        MainList->setGridSize(QSize());
        break;
    case StartupSettings::List:
        MainList->setViewMode(QListView::ListMode);
        MainList->setFlow(QListView::TopToBottom);
        MainList->setWrapping(true);
        MainList->setIconSize(QSize(16, 16));
        MainList->setGridSize(QSize());
        break;
    default:
        m_listViewStyle = StartupSettings::LargeIcons;
        MainList->setViewMode(QListView::IconMode);
        MainList->setFlow(QListView::LeftToRight);
        MainList->setWrapping(true);
        MainList->setIconSize(QSize(24, 24));
        MainList->setGridSize(QSize(96, 56));
        break;
    }
    MainList->setMovement(QListView::Static);
}

QTreeWidgetItem *TMainForm::selectedNode() const
{
    return CategoryTree::selectedNode(MainTreeView);
}

int TMainForm::selectedListRow() const
{
    const QModelIndexList rows = MainList->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TMainForm::MainTreeViewClick()
{
    UserNavigated = true;
    MainListShow();
}

void TMainForm::MainListShow()
{
    MainDetailPane->clear();
    setButtonImage(UpTBtn, 16);
    setProgress(0);
    for (QToolButton *button : {ToolButton1, ToolButton2, ToolButton3, ToolButton4})
        button->setEnabled(true);

    QTreeWidgetItem *node = selectedNode();
    if (!node)
        return;
    if (CategoryTree::isSearchResultNode(node)) {
        MainListModel->setEntries(StoreItemView->entries());
        return;
    }
    MainListModel->clear();
    const QString text = node->text(0);
    if (node->childCount() == 0 && (text == NodeRules::TextRootText || text == NodeRules::InstanceRootText))
        return;

    const QStringList path = CategoryTree::pathOf(node);
    if (node->childCount() > 0) {
        QVector<ListEntry> children;
        children.reserve(node->childCount());
        for (int i = 0; i < node->childCount(); ++i) {
            const QTreeWidgetItem *child = node->child(i);
            children.append({child->text(0),
                             child->childCount() > 0 ? ListEntry::CategoryWithChildren : ListEntry::Category,
                             0});
        }
        MainListModel->setEntries(children);
        if (path.size() == 2)
            AddRealFileToList(path.at(1), QString(), path.at(0), ListOrder);
    } else if (path.size() >= 2) {
        AddRealFileToList(path.at(1), path.value(2), path.at(0), ListOrder);
    }
    recordVisit(node);
}

void TMainForm::recordVisit(const QTreeWidgetItem *node)
{
    const Location location = CategoryTree::locationOf(node);
    if (!location.isEmpty())
        CurrentLocation = location;
    if (UserNavigated) {
        if (!PreviousLocation.isEmpty() && PreviousLocation != CurrentLocation) {
            PushBack(PreviousLocation);
            if (buttonImage(BackTBtn) == 17)
                setButtonImage(BackTBtn, 14);
            ClearPre();
            setButtonImage(PreTBtn, 18);
        }
        UserNavigated = false;
    }
    PreviousLocation = CurrentLocation;
}

void TMainForm::AddRealFileToList(const QString &bigClass, const QString &className, const QString &rootText,
                                  int order)
{
    const int image =
        rootText == NodeRules::TextRootText ? ListEntry::TextMaterial : ListEntry::InstanceMaterial;
    setProgress(3);
    setStatusText(QStringLiteral("正在从数据库读取数据！"));
    QVector<ListEntry> entries;
    QString error;
    const bool ok =
        readListEntries(Statements::list(bigClass, className, rootText, order), image, &entries, &error);
    // Entries read before a failure stay listed.
    MainListModel->append(entries);
    if (ok) {
        setProgress(100);
        setStatusText(QStringLiteral("数据库操作成功！"));
    } else {
        setStatusText(error + TFile::FatalSuffix);
        setProgress(0);
    }
}

void TMainForm::MainListClick()
{
    for (QToolButton *button : {ToolButton1, ToolButton2, ToolButton3})
        button->setEnabled(false);
    ThisFrmViewer->hide();
}

void TMainForm::MainListDblClick()
{
    UserNavigated = true;
    const int row = selectedListRow();
    if (row < 0)
        return;
    const ListEntry entry = MainListModel->entry(row);
    if (entry.isMaterial())
        return;
    if (entry.image == ListEntry::TopLevel) {
        QTreeWidgetItem *root = entry.caption == NodeRules::TextRootText
                                    ? MainTreeView->topLevelItem(0)
                                    : CategoryTree::findByText(MainTreeView, entry.caption);
        if (!root)
            return;
        CategoryTree::selectNode(MainTreeView, root);
        MainTreeViewClick();
        setButtonImage(UpTBtn, 16);
        return;
    }
    const int from = qMax(0, CategoryTree::indexOf(MainTreeView, selectedNode()));
    QTreeWidgetItem *node = CategoryTree::findByText(MainTreeView, entry.caption, from);
    if (!node)
        return;
    if (node->childCount() > 0) {
        CategoryTree::selectNode(MainTreeView, node);
        if (!node->isExpanded())
            node->setExpanded(true);
        MainTreeViewClick();
        setButtonImage(UpTBtn, 16);
    } else if (entry.image == ListEntry::Category) {
        CategoryTree::selectNode(MainTreeView, node);
        MainListShow();
        setButtonImage(UpTBtn, 16);
    }
}

void TMainForm::OByName()
{
    showOnceInOrder(1);
}

void TMainForm::OByTime()
{
    showOnceInOrder(2);
}

// The chosen order holds until the next refresh; the setting stays as it was.
void TMainForm::showOnceInOrder(int order)
{
    const int remembered = ListOrder;
    ListOrder = order;
    MainListShow();
    MainList->viewport()->update();
    ListOrder = remembered;
}

void TMainForm::N23Click()
{
    setListViewStyle(StartupSettings::LargeIcons);
}

void TMainForm::N24Click()
{
    setListViewStyle(StartupSettings::SmallIcons);
}

void TMainForm::N25Click()
{
    setListViewStyle(StartupSettings::List);
}

void TMainForm::ClearBack()
{
    BackList.Clear();
}

void TMainForm::PushBack(const Location &location)
{
    BackList.Push(location);
}

Location TMainForm::PopBack()
{
    return BackList.Pop();
}

void TMainForm::ClearPre()
{
    PreList.Clear();
}

void TMainForm::PushPre(const Location &location)
{
    PreList.Push(location);
}

Location TMainForm::PopPre()
{
    return PreList.Pop();
}

bool TMainForm::GoToLocation(const Location &location)
{
    // The kept names are looked up level by level, so a name with "-" or equal to "null" is no
    // obstacle; a renamed or deleted category is simply not there.
    const QStringList &names = location.names();
    QTreeWidgetItem *node = names.isEmpty() ? nullptr : CategoryTree::findRoot(MainTreeView, names.first());
    for (int level = 1; node && level < names.size(); ++level) {
        QTreeWidgetItem *parent = node;
        node = nullptr;
        for (int i = 0; i < parent->childCount() && !node; ++i) {
            if (parent->child(i)->text(0) == names.at(level))
                node = parent->child(i);
        }
    }
    if (!node) {
        setStatusText(QStringLiteral("分类“%1”已不存在，已从历史记录中去掉").arg(location.text()));
        return false;
    }
    CategoryTree::selectNode(MainTreeView, node);
    // A step through the history is no new visit, whatever an earlier click left behind.
    UserNavigated = false;
    MainListShow();
    return true;
}

void TMainForm::walkHistory(HistoryList &from, HistoryList &to, int position)
{
    const QVector<Location> entries = from.menuEntries();
    if (position < 0 || position >= entries.size())
        return;
    const Location current = CurrentLocation;
    if (GoToLocation(entries.at(position)))
        HistoryList::jump(from, to, position, current);
    else
        from.takeAt(position);
    showHistoryButtons();
}

void TMainForm::showHistoryButtons()
{
    setButtonImage(BackTBtn, BackList.isEmpty() ? 17 : 14);
    setButtonImage(PreTBtn, PreList.isEmpty() ? 18 : 15);
}

void TMainForm::BackTBtnClick()
{
    if (buttonImage(BackTBtn) == 14)
        walkHistory(BackList, PreList, 0);
}

void TMainForm::PreTBtnClick()
{
    if (buttonImage(PreTBtn) == 15)
        walkHistory(PreList, BackList, 0);
}

void TMainForm::UpTBtnClick()
{
    if (buttonImage(UpTBtn) != 16)
        return;
    QTreeWidgetItem *node = selectedNode();
    if (node && node->parent()) {
        CategoryTree::selectNode(MainTreeView, node->parent());
        MainTreeViewClick();
        return;
    }
    // Above a root there is only the view of the two kinds, which is no location.
    showTopLevel();
    setButtonImage(UpTBtn, 19);
}

void TMainForm::fillHistoryMenu(QMenu *menu, const HistoryList &list, void (TMainForm::*handler)(int))
{
    menu->clear();
    const QVector<Location> entries = list.menuEntries();
    for (int i = 0; i < entries.size(); ++i) {
        // "&&" shows a "&" as it stands instead of making the next letter an access key.
        QString caption = entries.at(i).text();
        QAction *action = menu->addAction(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(action, &QAction::triggered, this, [this, handler, i] { (this->*handler)(i); });
    }
}

void TMainForm::BackMenuPopup()
{
    fillHistoryMenu(BackMenu, BackList, &TMainForm::BackMenuItemClick);
}

void TMainForm::PreMenuPopup()
{
    fillHistoryMenu(PreMenu, PreList, &TMainForm::PreMenuItemClick);
}

void TMainForm::BackMenuItemClick(int position)
{
    if (position == 0)
        BackTBtnClick();
    else
        walkHistory(BackList, PreList, position);
}

void TMainForm::PreMenuItemClick(int position)
{
    if (position == 0)
        PreTBtnClick();
    else
        walkHistory(PreList, BackList, position);
}

void TMainForm::SerchFormPop()
{
    TSerchForm form(MainTreeView, StoreItemView, this);
    form.exec();
}

// Commands that the following pieces of the program fill in.
void TMainForm::AddNewItem()
{
    m_categoryCommands->AddNewItem();
}

void TMainForm::ReNameItem()
{
    m_categoryCommands->ReNameItem();
}

void TMainForm::DelChildItem()
{
    m_categoryCommands->DelChildItem();
}

void TMainForm::AddFileToItem()
{
    m_materialCommands->AddFileToItem();
}

void TMainForm::N14Click()
{
    m_materialCommands->N14Click();
}

void TMainForm::DelFile()
{
    m_materialCommands->DelFile();
}

void TMainForm::ReFile()
{
    m_materialCommands->ReFile();
}

void TMainForm::N31Click()
{
    m_materialMover->N31Click();
}

void TMainForm::TurnFilePopMenu()
{
    m_materialMover->TurnFilePopMenu();
}
void TMainForm::MainDetailShow(const QModelIndex &item, bool selected)
{
    MainDetailPane->MainDetailShow(item, selected);
}
void TMainForm::OpenOption()
{
    TOptionForm form(this);
    connect(&form, &TOptionForm::settingsApplied, this, &TMainForm::applySettings);
    form.exec();
}

void TMainForm::N41Click()
{
    HelpCommands::openHelp();
}

void TMainForm::N43Click()
{
    HelpCommands::openMail();
}

void TMainForm::N44Click()
{
    HelpCommands::openWeb();
}

void TMainForm::N46Click()
{
    TAboutForm form(this);
    form.exec();
}

void TMainForm::N121Click()
{
    if (TrayIconData)
        TrayIconData->windowItemToggled(DragForm);
}

void TMainForm::N341Click()
{
    if (TrayIconData)
        TrayIconData->floatingItemToggled(DragForm);
}
