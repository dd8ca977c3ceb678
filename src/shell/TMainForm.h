#pragma once

#include "browse/HistoryList.h"
#include "browse/MaterialListModel.h"
#include "settings/SettingsFile.h"
#include "shell/TrayRules.h"
#include "tree/Location.h"
#include "tree/TreeFile.h"

#include <QMainWindow>
#include <QPointer>
#include <QSystemTrayIcon>

class QAction;
class QLabel;
class QListView;
class QMenu;
class QModelIndex;
class QPlainTextEdit;
class QProgressBar;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class CategoryCommands;
class DetailPane;
class MaterialCommands;
class MaterialMover;
class MainWindowTray;
class TMainData;

// The program's one main window: the category tree on the left, the material list and the
// detail pane on the right, tool bar, menus, the status strip with its progress bar.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // False when the creation ended on a broken tree file: the program must end.
    bool isCreated() const { return m_created; }
    // The data module reports database work on the status line and the progress bar.
    void attachDataModule(TMainData *data);

    // Values read from the settings file at creation and changed by the options dialog.
    int ListOrder = 1;
    int BrowseInNewWindow = 0;
    int WindowPerMaterial = 0;
    int ViewerBackColor = 16777215;
    int TrayMode = 0;

    // The tray icon and the hiding of this window to it; made by SetupTray.
    MainWindowTray *TrayIconData = nullptr;

    // Controls, named as the rest of the program knows them.
    QToolBar *MainToolBar = nullptr;
    QTreeWidget *MainTreeView = nullptr;
    QWidget *panel = nullptr;
    QListView *MainList = nullptr;
    MaterialListModel *MainListModel = nullptr;
    QTreeWidget *MainDetail = nullptr;
    QPlainTextEdit *ThisFrmViewer = nullptr;
    MaterialListModel *StoreItemView = nullptr; // never shown: the last search's hits
    QWidget *Panel1 = nullptr;
    QProgressBar *MainProgressBar = nullptr;
    QLabel *MainStatus = nullptr;

    QToolButton *BackTBtn = nullptr;
    QToolButton *PreTBtn = nullptr;
    QToolButton *UpTBtn = nullptr;
    QToolButton *ToolButton1 = nullptr;
    QToolButton *ToolButton2 = nullptr;
    QToolButton *ToolButton3 = nullptr;
    QToolButton *ToolButton4 = nullptr;
    QToolButton *ToolButton6 = nullptr;
    QToolButton *ToolButton7 = nullptr;
    QToolButton *ToolButton9 = nullptr;
    QToolButton *ToolButton10 = nullptr;
    QToolButton *ToolButton12 = nullptr;
    QToolButton *ToolButton13 = nullptr;

    DetailPane *MainDetailPane = nullptr; // what MainDetail shows, and its links

    QMenu *MainTreePopupMenu = nullptr;
    QMenu *MainListPopupMenu = nullptr;
    QMenu *TrayPopMenu = nullptr;
    QMenu *BackMenu = nullptr;
    QMenu *PreMenu = nullptr;
    QAction *N121 = nullptr; // "显示主窗口"
    QAction *N341 = nullptr; // "显示悬浮窗口"

    // Tool-button pictures that carry state: Back 14/17, Forward 15/18, Up 16/19.
    int buttonImage(const QToolButton *button) const;
    void setButtonImage(QToolButton *button, int image);

    // Main list view styles, by the settings file's ICON digit.
    void setListViewStyle(int iconStyle);
    int listViewStyle() const { return m_listViewStyle; }

    // Writes the tree file; a failure is reported on the status line.
    void SaveTree();
    MaterialMover *mover() const { return m_materialMover; }

    QTreeWidgetItem *selectedNode() const;
    // The entry selected in the material list, or -1.
    int selectedListRow() const;

    // Location recording of the list refresh.
    Location CurrentLocation;
    Location PreviousLocation;
    bool UserNavigated = false;

    // History lists of the Back and Forward buttons; the counts are the lists' own.
    HistoryList BackList;
    HistoryList PreList;
    void ClearBack();
    void PushBack(const Location &location);
    Location PopBack();
    void ClearPre();
    void PushPre(const Location &location);
    Location PopPre();
    // Shows the category the location names; false, with a note on the status line and nothing
    // changed, when no such category exists any more.
    bool GoToLocation(const Location &location);

public slots:
    void setStatusText(const QString &text);
    void setProgress(int value);

    // Start and end.
    void QuitProgram();
    void activateFromSecondCopy();

    // Category commands.
    void AddNewItem();
    void ReNameItem();
    void DelChildItem();

    // Material commands.
    void AddFileToItem();
    void N14Click();
    void DelFile();
    void ReFile();
    void N31Click();
    void TurnFilePopMenu();

    // Material list.
    void MainListShow();
    void AddRealFileToList(const QString &bigClass, const QString &className, const QString &rootText,
                           int order);
    void MainTreeViewClick();
    void MainListClick();
    void MainListDblClick();
    void OByName();
    void OByTime();
    void N23Click();
    void N24Click();
    void N25Click();

    // Navigation.
    void BackTBtnClick();
    void PreTBtnClick();
    void UpTBtnClick();
    void BackMenuPopup();
    void PreMenuPopup();
    void BackMenuItemClick(int position);
    void PreMenuItemClick(int position);

    // Detail pane.
    void MainDetailShow(const QModelIndex &item, bool selected);

    // Search, options, help, tray.
    void SerchFormPop();
    void OpenOption();
    void N41Click();
    void N43Click();
    void N44Click();
    void N46Click();
    void N121Click();
    void N341Click();
    void TrayControl(QSystemTrayIcon::ActivationReason reason);

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void MainFormInit();
    void applySettings(const StartupSettings &settings);
    void SetupTray();
    // Minimise or close: true when the window hid to the tray instead.
    bool OnTrayForm(TrayRules::Command command);
    void OnAppMin();
    void destroyDragForm();
    void FormResize();
    void FormClose();
    void ShowDragForm();
    void WMSencondRun();
    void MainTreeViewExpanded(QTreeWidgetItem *item);
    void MainTreeViewCollapsed(QTreeWidgetItem *item);

    void LoadTree();
    void showTopLevel();
    // The end of a list refresh: the shown category's location, and a visit for the history.
    void recordVisit(const QTreeWidgetItem *node);
    void showOnceInOrder(int order);
    // Goes to the entry at a menu position of one history list; the other list gets the way back.
    void walkHistory(HistoryList &from, HistoryList &to, int position);
    void showHistoryButtons();
    void fillHistoryMenu(QMenu *menu, const HistoryList &list, void (TMainForm::*handler)(int));
    void layoutPanel();

    void createControls();
    void createMenus();
    void createToolBar();
    void createPopupMenus();
    QToolButton *addToolButton(const QString &name, const QString &hint, int image,
                               void (TMainForm::*handler)());

    CategoryCommands *m_categoryCommands = nullptr;
    MaterialCommands *m_materialCommands = nullptr;
    MaterialMover *m_materialMover = nullptr;
    bool m_created = false;
    int IsClosing = 0;
    bool m_quitRequested = false;
    int m_listViewStyle = 0;
    TreeFile m_treeFile;
};
