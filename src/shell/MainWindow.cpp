#include "shell/MainWindow.h"

#include "browse/BrowsePanel.h"
#include "browse/DetailPane.h"
#include "browse/MaterialList.h"
#include "browse/MaterialReader.h"
#include "browse/Navigator.h"
#include "capture/DropWindow.h"
#include "edit/MaterialCommands.h"
#include "edit/MaterialMover.h"
#include "exchange/ExchangeCommands.h"
#include "help/AboutDialog.h"
#include "history/HistoryCommands.h"
#include "resources/IconLibrary.h"
#include "search/FullTextSearch.h"
#include "search/SearchDialog.h"
#include "settings/OptionsDialog.h"
#include "shell/ChangeFollower.h"
#include "shell/MainMenus.h"
#include "shell/MainWindowTray.h"
#include "store/Database.h"
#include "store/MaterialLanguages.h"
#include "tree/CategoryCheck.h"
#include "tree/CategoryCommands.h"
#include "tree/CategoryRecovery.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"
#include "tree/TreeFileError.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ProgramEvents.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

#include <cstdio>

namespace {
constexpr int TreeWidth = 169;
constexpr int StripHeight = 18;
constexpr int ProgressWidth = 159;
} // namespace

MainWindow::MainWindow(QWidget *parent) : MainWindow(static_cast<TreeStore *>(nullptr), parent) {}

MainWindow::MainWindow(TreeStore *treeStore, QWidget *parent) : QMainWindow(parent)
{
    if (treeStore)
        m_treeStore = treeStore;
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Zindrel"));
    setWindowIcon(IconLibrary::mainIcon());
    QFont uiFont(QStringLiteral("MS Sans Serif"));
    uiFont.setPixelSize(11);
    setFont(uiFont);
    setGeometry(50, 49, 696, 480);
    createControls();
    m_menus = new MainMenus({this, m_tree, m_listMenu, m_categoryCommands, m_materialCommands, m_list,
                             m_navigator, m_mover, m_exchangeCommands, m_historyCommands, m_fullTextSearch});
    connect(m_menus, &MainMenus::searchDialogRequested, this, &MainWindow::showSearchDialog);
    connect(m_menus, &MainMenus::optionsDialogRequested, this, &MainWindow::showOptionsDialog);
    connect(m_menus, &MainMenus::aboutDialogRequested, this, &MainWindow::showAboutDialog);
    connect(m_menus, &MainMenus::quitRequested, this, &MainWindow::quitProgram);
    wireParts();
    start();
}

MainWindow::~MainWindow()
{
    destroyDropWindow();
}

void MainWindow::createControls()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto *splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setChildrenCollapsible(false);

    m_tree = new QTreeWidget(splitter);
    m_tree->setObjectName(QStringLiteral("categoryTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setIndentation(19);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    // The tool-tip colours of the desktop's theme, text and background together: a dark theme
    // gives a dark tree with light text.
    // A dark theme that leaves the tool-tip colours at Qt's pale yellow gets its own base.
    QPalette treePalette = m_tree->palette();
    const bool darkTheme = treePalette.color(QPalette::Base).lightnessF() < 0.5;
    const bool darkTips = treePalette.color(QPalette::ToolTipBase).lightnessF() < 0.5;
    if (!darkTheme || darkTips) {
        treePalette.setColor(QPalette::Base, treePalette.color(QPalette::ToolTipBase));
        treePalette.setColor(QPalette::Text, treePalette.color(QPalette::ToolTipText));
    }
    m_tree->setPalette(treePalette);
    m_tree->setAccessibleName(QStringLiteral("分类"));

    m_panel = new BrowsePanel(splitter);
    m_list = new MaterialList(m_tree, m_panel);
    m_detailPane = new DetailPane(m_tree, m_panel);
    m_panel->setParts(m_list->view(), m_detailPane->rows(), m_detailPane->viewer());
    m_navigator = new Navigator(m_tree, m_list, this);

    m_listMenu = new QMenu(this);
    m_listMenu->setObjectName(QStringLiteral("listMenu"));
    m_categoryCommands = new CategoryCommands(m_tree, m_treeStore, this);
    m_categoryCheck = new CategoryCheck(m_tree, m_treeStore, this);
    m_materialCommands = new MaterialCommands(m_tree, m_list, m_categoryCheck, this);
    m_exchangeCommands = new ExchangeCommands(m_tree, m_list->searchResults(), m_treeStore, this);
    m_mover = new MaterialMover(m_tree, m_list, m_listMenu, m_categoryCheck, this);
    m_fullTextSearch = new FullTextSearch(m_tree, m_list, this);
    m_historyCommands = new HistoryCommands(m_tree, m_treeStore, m_list, this);
    m_tray = new MainWindowTray(this);

    splitter->addWidget(m_tree);
    splitter->addWidget(m_panel);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({TreeWidth, 1000});
    connect(splitter, &QSplitter::splitterMoved, m_list->view(), &QListView::doItemsLayout);

    auto *strip = new QWidget(central);
    strip->setObjectName(QStringLiteral("statusStrip"));
    strip->setFixedHeight(StripHeight);
    auto *stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(2, 0, 0, 0);
    stripLayout->setSpacing(2);
    m_statusLine = new QLabel(strip);
    m_statusLine->setObjectName(QStringLiteral("statusLine"));
    m_statusLine->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_statusLine->setLayoutDirection(Qt::RightToLeft);
    m_statusLine->setFrameShape(QFrame::StyledPanel);
    m_statusLine->setFrameShadow(QFrame::Sunken);
    m_progressBar = new QProgressBar(strip);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_progressBar->setTextVisible(false);
    m_progressBar->setFixedWidth(ProgressWidth);
    stripLayout->addWidget(m_statusLine, 1);
    stripLayout->addWidget(m_progressBar);

    outer->addWidget(splitter, 1);
    outer->addWidget(strip);
    setCentralWidget(central);
}

void MainWindow::wireParts()
{
    connect(m_tree, &QTreeWidget::itemClicked, m_navigator, &Navigator::visitSelectedCategory);
    // A right click selects the node it lands on: that node's list is shown as after a click, so
    // that the tree's selection and the list never disagree.
    connect(m_tree, &QTreeWidget::itemPressed, m_navigator, [this] {
        if (QGuiApplication::mouseButtons() & Qt::RightButton)
            m_navigator->visitSelectedCategory();
    });
    connect(m_tree, &QTreeWidget::itemExpanded, this, &MainWindow::showNodeExpanded);
    connect(m_tree, &QTreeWidget::itemCollapsed, this, &MainWindow::showNodeCollapsed);

    connect(m_list, &MaterialList::refreshStarted, m_detailPane, &DetailPane::clear);
    connect(m_list, &MaterialList::refreshStarted, m_menus,
            [this] { m_menus->setCategoryButtonsEnabled(true); });
    connect(m_list, &MaterialList::clicked, m_menus, [this] { m_menus->setCategoryButtonsEnabled(false); });
    connect(m_list, &MaterialList::clicked, m_detailPane, &DetailPane::hideViewer);
    connect(m_list, &MaterialList::entrySelectionChanged, m_detailPane, &DetailPane::showEntry);
    connect(m_list, &MaterialList::entryActivated, m_detailPane, &DetailPane::openEntry);
    connect(m_list, &MaterialList::statusChanged, this, &MainWindow::setStatusText);
    connect(m_detailPane, &DetailPane::statusChanged, this, &MainWindow::setStatusText);
    connect(m_list, &MaterialList::progressChanged, this, &MainWindow::setProgress);

    connect(m_navigator, &Navigator::statusChanged, this, &MainWindow::setStatusText);
    connect(m_categoryCommands, &CategoryCommands::statusChanged, this, &MainWindow::setStatusText);
    connect(m_categoryCommands, &CategoryCommands::treeReloaded, m_list, &MaterialList::refresh);
    connect(m_categoryCheck, &CategoryCheck::treeReloaded, m_list, &MaterialList::refresh);
    connect(m_materialCommands, &MaterialCommands::statusChanged, this, &MainWindow::setStatusText);
    connect(m_exchangeCommands, &ExchangeCommands::statusChanged, this, &MainWindow::setStatusText);
    connect(m_exchangeCommands, &ExchangeCommands::progressChanged, this, &MainWindow::setProgress);
    connect(m_exchangeCommands, &ExchangeCommands::listChanged, m_list, &MaterialList::refresh);
    connect(m_fullTextSearch, &FullTextSearch::statusChanged, this, &MainWindow::setStatusText);
    connect(m_historyCommands, &HistoryCommands::statusChanged, this, &MainWindow::setStatusText);
    connect(m_fullTextSearch, &FullTextSearch::progressChanged, this, &MainWindow::setProgress);
    connect(m_fullTextSearch, &FullTextSearch::shownQueryChanged, m_detailPane,
            &DetailPane::setFullTextQuery);
    connect(m_tray, &MainWindowTray::aboutRequested, this, &MainWindow::showAboutDialog);
    connect(m_tray, &MainWindowTray::quitRequested, this, &MainWindow::quitProgram);
}

// The start, in its order. The database does not exist yet and is not used.
void MainWindow::start()
{
    m_tree->clear();
    m_list->showTopLevel();
    try {
        CategoryTree::fill(m_tree, m_treeStore->load());
    } catch (const TreeFileError &failure) {
        MessageBoxes::show(this,
                           m_treeStore == &m_treeFile ? QStringLiteral("文件MTS.qb已经被损坏，请重新安装！")
                                                      : failure.message(),
                           MessageBoxes::AppTitle, QMessageBox::Critical);
        return;
    }
    applySettings(SettingsFile::readStartup(SettingsFile::path()));
    m_navigator->clearHistory();
    QCoreApplication::postEvent(this, new QEvent(ProgramEvent::FinishStart));
    m_created = true;
}

void MainWindow::applySettings(const StartupSettings &settings)
{
    m_list->setViewStyle(settings.iconStyle);
    m_list->setOrder(settings.listOrder);
    m_detailPane->setViewerSettings(
        {settings.browseInNewWindow == 1, settings.windowPerMaterial == 1, settings.viewerBackColor});
    m_tray->setMode(settings.trayMode);
}

void MainWindow::attachDatabase(Database *database)
{
    connect(database, &Database::statusReported, this, &MainWindow::setStatusText);
    connect(database, &Database::progressReported, this, &MainWindow::setProgress);
    // Shown while an operation waits for the shared base; what the line said comes back after.
    connect(database, &Database::waitingForServer, this,
            [this](const QString &text) { m_statusLine->setText(text.isEmpty() ? m_statusText : text); });
    m_changeFollower = new ChangeFollower(m_tree, m_treeStore, m_list, database, this);
    connect(database, &Database::changedElsewhere, m_changeFollower, &ChangeFollower::follow);
    connect(m_changeFollower, &ChangeFollower::statusChanged, this, &MainWindow::setStatusText);
}

void MainWindow::recoverCategories()
{
    QVector<TreeNode> roots = CategoryTree::collect(m_tree);
    QTreeWidgetItem *instanceRoot = CategoryTree::findRoot(m_tree, NodeRules::InstanceRootText);
    const QVector<int> kinds{0, instanceRoot ? m_tree->indexOfTopLevelItem(instanceRoot) : -1};
    int recovered = 0;
    for (int index : kinds) {
        if (index < 0 || index >= roots.size())
            continue;
        QVector<CategoryRecovery::Pair> pairs;
        QString error;
        if (CategoryRecovery::readPairs(NodeRules::tableOfRoot(roots.at(index).name), &pairs, &error))
            recovered += CategoryRecovery::addMissing(roots[index], pairs);
    }
    if (recovered == 0)
        return;
    CategoryTree::fill(m_tree, roots);
    saveTree();
    setStatusText(QStringLiteral("找回了%1个分类：它们的资料在数据库里，分类文件里却没有").arg(recovered));
}

void MainWindow::setStatusText(const QString &text)
{
    m_statusText = text;
    m_statusLine->setText(text);
}

void MainWindow::setProgress(int value)
{
    m_progressBar->setValue(value);
}

bool MainWindow::saveTree(QString *error)
{
    QString why;
    if (m_treeStore->save(CategoryTree::collect(m_tree), &why))
        return true;
    if (m_treeStore->movedOn() && takeTreeFromElsewhere())
        return true;
    setStatusText(QStringLiteral("无法保存") + m_treeStore->name() + QStringLiteral("：") + why);
    if (error)
        *error = why;
    return false;
}

bool MainWindow::takeTreeFromElsewhere()
{
    if (m_takingTree)
        return false;
    m_takingTree = true;
    bool taken = true;
    try {
        CategoryTree::refill(m_tree, m_treeStore->load());
        // Categories this copy added (an import's, say) come back from the materials that name them.
        recoverCategories();
        m_list->refresh();
    } catch (const TreeFileError &) {
        taken = false;
    }
    m_takingTree = false;
    return taken;
}

void MainWindow::showNodeExpanded(QTreeWidgetItem *item)
{
    const int image = NodeRules::expandedImage(CategoryTree::image(item));
    CategoryTree::setImages(item, image, image);
    CategoryTree::selectNode(m_tree, item);
}

void MainWindow::showNodeCollapsed(QTreeWidgetItem *item)
{
    const int image = NodeRules::collapsedImage(CategoryTree::image(item));
    CategoryTree::setImages(item, image, image);
    CategoryTree::selectNode(m_tree, item);
}

bool MainWindow::event(QEvent *event)
{
    if (event->type() == ProgramEvent::FinishStart) {
        finishStart();
        return true;
    }
    if (event->type() == ProgramEvent::ComeForward) {
        restoreAfterSecondCopy();
        return true;
    }
    return QMainWindow::event(event);
}

// What the start does once this window is on screen, when it is being shown: the categories
// that materials name grown back (a read of the whole base), the tray icon and the floating window
// (round trips to the X server and the window manager) would otherwise hold up its map.
// A window that stays unexposed (another workspace) gets them after a second all the same.
void MainWindow::finishStart()
{
    if (m_startFinished)
        return;
    QWindow *window = windowHandle();
    if (isVisible() && window && !window->isExposed() && !m_waitingForExposure) {
        m_waitingForExposure = true;
        window->installEventFilter(this);
        QTimer::singleShot(1000, this, &MainWindow::finishStart);
        return;
    }
    m_startFinished = true;
    if (window)
        window->removeEventFilter(this);
    recoverCategories();
    // A base from an older copy gets the table of the materials' languages; one that cannot be
    // written goes without, and each language a reader sets says why it was not kept.
    if (Database *database = Database::current()) {
        QString ignored;
        MaterialLanguages::prepare(*database, &ignored);
    }
    m_historyCommands->prepareAtStart();
    m_tray->add(); // minimising reaches the tray through changeEvent
    showDropWindow();
    emit startFinished();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Posted, so that the exposure is painted first.
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed())
        QCoreApplication::postEvent(this, new QEvent(ProgramEvent::FinishStart));
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showDropWindow()
{
    if (!m_dropWindow) {
        m_dropWindow = DropWindow::open(m_tray->menu(), m_tree);
        if (m_dropWindow)
            m_dropWindow->setCategoryCheck(m_categoryCheck);
        else
            MessageBoxes::show(this, QStringLiteral("悬浮窗口创建失败！"), QStringLiteral("Quillbarrow"),
                               QMessageBox::Warning);
        m_tray->setFloatingWindow(m_dropWindow);
    }
    m_tray->floatingItem()->setChecked(true);
}

DropWindow *MainWindow::dropWindow() const
{
    return m_dropWindow;
}

void MainWindow::destroyDropWindow()
{
    // The floating window has no owner; this window ends it, and its capture dialogs with it.
    delete m_dropWindow.data();
}

void MainWindow::comeForward()
{
    if (!isVisible() || isMinimized())
        QCoreApplication::postEvent(this, new QEvent(ProgramEvent::ComeForward));
    raise();
    activateWindow();
}

void MainWindow::restoreAfterSecondCopy()
{
    if (m_tray->windowItem()->isChecked()) {
        if (isMinimized())
            setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    } else {
        m_tray->showWindow();
    }
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    m_panel->layoutParts();
    // The entries held are laid out for the new width; the database is not read again.
    m_list->view()->doItemsLayout();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A close that the quit command asked for always ends the program.
    if (!m_quitRequested && m_tray->systemCommand(TrayRules::Close)) {
        event->ignore();
        return;
    }
    finishClosing();
    event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Hidden only once the minimising is over, outside the window system's state change.
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        QMetaObject::invokeMethod(this, &MainWindow::hideToTrayIfMinimised, Qt::QueuedConnection);
}

void MainWindow::hideToTrayIfMinimised()
{
    if (isMinimized())
        m_tray->systemCommand(TrayRules::Minimise);
}

void MainWindow::finishClosing()
{
    if (m_closing)
        return;
    m_closing = true;
    QString error;
    // At the end nothing else would ever say that the categories were not kept.
    if (!saveTree(&error)) {
        const QString text =
            QStringLiteral("无法保存%1：%2\n这次对分类的改动没有保存。").arg(m_treeStore->name(), error);
        if (m_endingUnattended)
            std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
        else
            MessageBoxes::show(this, text, MessageBoxes::AppTitle, QMessageBox::Critical);
    }
    m_tray->remove();
    destroyDropWindow();
    QCoreApplication::quit();
}

void MainWindow::quitProgram()
{
    m_quitRequested = true;
    m_tray->remove();
    destroyDropWindow();
    close();
    finishClosing(); // a hidden window's close() may not reach the close handler
    QCoreApplication::quit();
}

void MainWindow::endProgram()
{
    m_endingUnattended = true;
    quitProgram();
}

void MainWindow::showSearchDialog()
{
    SearchDialog dialog(m_tree, m_list->searchResults(), this);
    dialog.exec();
}

void MainWindow::showOptionsDialog()
{
    OptionsDialog dialog(this);
    connect(&dialog, &OptionsDialog::settingsApplied, this, &MainWindow::applySettings);
    dialog.exec();
}

void MainWindow::showAboutDialog()
{
    AboutDialog dialog(this);
    dialog.exec();
}
