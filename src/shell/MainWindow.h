#pragma once

#include "settings/SettingsFile.h"
#include "shell/TrayRules.h"
#include "tree/TreeFile.h"

#include <QMainWindow>
#include <QPointer>

class BrowsePanel;
class CategoryCheck;
class CategoryCommands;
class ChangeFollower;
class Database;
class DetailPane;
class DropWindow;
class ExchangeCommands;
class FullTextSearch;
class HistoryCommands;
class MainMenus;
class MainWindowTray;
class MaterialCommands;
class MaterialList;
class MaterialMover;
class Navigator;
class QLabel;
class QMenu;
class QProgressBar;
class QTreeWidget;
class QTreeWidgetItem;
class TreeStore;

// The program's one main window: the category tree on the left, the material list and the
// detail pane on the right, menus and tool bar, the status strip with its progress bar. It
// owns the parts that do the work and wires them together; it does none of it itself.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    // With the tree of a shared base instead of the tree file.
    explicit MainWindow(TreeStore *treeStore, QWidget *parent = nullptr);
    ~MainWindow() override;

    // False when the creation ended on a broken tree file: the program must end.
    bool isCreated() const { return m_created; }
    // Database work reports on the status line and the progress bar; on a shared base, other
    // copies' changes are shown as they come.
    void attachDatabase(Database *database);

    QTreeWidget *categoryTree() const { return m_tree; }
    MaterialList *materialList() const { return m_list; }
    DetailPane *detailPane() const { return m_detailPane; }
    Navigator *navigator() const { return m_navigator; }
    MainWindowTray *tray() const { return m_tray; }
    MaterialMover *mover() const { return m_mover; }
    CategoryCommands *categoryCommands() const { return m_categoryCommands; }
    MaterialCommands *materialCommands() const { return m_materialCommands; }
    ExchangeCommands *exchangeCommands() const { return m_exchangeCommands; }
    FullTextSearch *fullTextSearch() const { return m_fullTextSearch; }
    HistoryCommands *historyCommands() const { return m_historyCommands; }
    DropWindow *dropWindow() const;

    // Writes the tree (the tree file, or a shared base's); a failure is reported on the status line.
    bool saveTree(QString *error = nullptr);

signals:
    // The window is on screen and the start's deferred work is done.
    void startFinished();

public slots:
    void setStatusText(const QString &text);
    void setProgress(int value);
    void applySettings(const StartupSettings &settings);

    // "退出": ends the program whatever the tray settings say.
    void quitProgram();
    // SIGTERM or the session's end: as quitProgram, but nobody is there to answer a box, so
    // what could not be saved is said on standard error.
    void endProgram();
    // A second copy was started: this window comes forward.
    void comeForward();

    void showSearchDialog();
    void showOptionsDialog();
    void showAboutDialog();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void wireParts();
    void start();
    void finishStart();
    void showDropWindow();
    void destroyDropWindow();
    void hideToTrayIfMinimised();
    void restoreAfterSecondCopy();
    // Grows back the categories that materials name but the tree lacks, and says how many.
    void recoverCategories();
    // Another copy changed the shared tree since it was loaded: shows that tree, with the
    // categories that materials name grown back. False when it cannot be loaded.
    bool takeTreeFromElsewhere();
    // Saves the tree and ends the program; runs once.
    void finishClosing();
    void showNodeExpanded(QTreeWidgetItem *item);
    void showNodeCollapsed(QTreeWidgetItem *item);

    QTreeWidget *m_tree = nullptr;
    BrowsePanel *m_panel = nullptr;
    MaterialList *m_list = nullptr;
    DetailPane *m_detailPane = nullptr;
    Navigator *m_navigator = nullptr;
    QMenu *m_listMenu = nullptr;
    CategoryCommands *m_categoryCommands = nullptr;
    CategoryCheck *m_categoryCheck = nullptr;
    MaterialCommands *m_materialCommands = nullptr;
    ExchangeCommands *m_exchangeCommands = nullptr;
    FullTextSearch *m_fullTextSearch = nullptr;
    HistoryCommands *m_historyCommands = nullptr;
    ChangeFollower *m_changeFollower = nullptr;
    MaterialMover *m_mover = nullptr;
    MainWindowTray *m_tray = nullptr;
    MainMenus *m_menus = nullptr;
    QLabel *m_statusLine = nullptr;
    QString m_statusText;
    QProgressBar *m_progressBar = nullptr;
    QPointer<DropWindow> m_dropWindow;
    TreeFile m_treeFile;
    TreeStore *m_treeStore = &m_treeFile;
    bool m_created = false;
    bool m_waitingForExposure = false;
    bool m_startFinished = false;
    bool m_closing = false;
    bool m_quitRequested = false;
    bool m_endingUnattended = false;
    bool m_takingTree = false;
};
