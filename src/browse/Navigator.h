#pragma once

#include "browse/HistoryList.h"
#include "tree/Location.h"

#include <QObject>

class MaterialList;
class QMenu;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// Walking the categories as a browser walks pages: a click in the tree or a double click on a
// category in the list visits it; Back and Forward (with their drop-down menus of the last five
// places) and Up go through the history and the tree. The navigator keeps the three buttons'
// pictures in step.
class Navigator : public QObject
{
    Q_OBJECT
public:
    Navigator(QTreeWidget *tree, MaterialList *list, QWidget *window);

    // The three buttons live on the window's tool bar; Back and Forward get their menus here.
    void attachButtons(QToolButton *back, QToolButton *forward, QToolButton *up);

    const HistoryList &backHistory() const { return m_back; }
    const HistoryList &forwardHistory() const { return m_forward; }
    Location currentLocation() const { return m_current; }
    QMenu *backMenu() const { return m_backMenu; }
    QMenu *forwardMenu() const { return m_forwardMenu; }

    void clearHistory();
    // Shows the category the location names; false, with a note on the status line and nothing
    // changed, when no such category exists any more.
    bool goTo(const Location &location);

public slots:
    // A click on a tree node.
    void visitSelectedCategory();
    // A double click on a list entry: a kind or a category opens; a material does nothing here.
    void openSelectedEntry();
    void goBack();
    void goForward();
    void goUp();

signals:
    void statusChanged(const QString &text);

private:
    // The end of a list refresh: the shown category's location, and a visit for the history.
    void recordVisit(const QTreeWidgetItem *node);
    // A search's hits are shown: Back returns first to the place shown before them.
    void leaveHistory();
    void markUpAvailable();
    // Goes to the entry at a menu position of one history list; the other list gets the way back.
    void walkHistory(HistoryList &from, HistoryList &to, int position);
    void showHistoryButtons();
    void fillHistoryMenu(QMenu *menu, const HistoryList &list, void (Navigator::*chosen)(int));
    void backMenuEntryChosen(int position);
    void forwardMenuEntryChosen(int position);
    QTreeWidgetItem *selectedNode() const;

    QTreeWidget *m_tree;
    MaterialList *m_list;
    QMenu *m_backMenu;
    QMenu *m_forwardMenu;
    QToolButton *m_backButton = nullptr;
    QToolButton *m_forwardButton = nullptr;
    QToolButton *m_upButton = nullptr;
    HistoryList m_back;
    HistoryList m_forward;
    Location m_current;
    Location m_previous;
    bool m_userNavigated = false;
    bool m_offHistory = false; // a search's hits are shown, m_current was shown before them
};
