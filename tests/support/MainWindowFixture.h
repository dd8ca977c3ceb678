#pragma once

#include "TestFolder.h"

#include "browse/MaterialListModel.h"

#include <QStringList>
#include <QTest>

#include <functional>
#include <memory>

class Database;
class DetailPane;
class MainWindow;
class MaterialList;
class Navigator;
class QLabel;
class QListView;
class QTreeWidget;
class QTreeWidgetItem;
class QToolButton;
class TreeStore;

// A main window on a program folder of its own, with the database attached, as the program
// starts it (on the server's tree when the tests run against the server). Materials are put
// into the database directly.
class MainWindowFixture
{
public:
    // Tree lines to write before the window reads them; none keeps the installed tree. prepare,
    // when given, changes the folder before the database is made (its Base.ini, say).
    explicit MainWindowFixture(const QStringList &treeLines = {},
                               const std::function<void(const TestFolder &folder)> &prepare = {});
    ~MainWindowFixture();

    TestFolder folder;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<Database> database;
    std::unique_ptr<TreeStore> serverTree;

    QTreeWidget *tree() const;
    MaterialList *list() const;
    QListView *listView() const;
    MaterialListModel *model() const;
    // The detail pane's rows.
    QTreeWidget *detail() const;
    DetailPane *detailPane() const;
    Navigator *navigator() const;
    QLabel *statusLine() const;
    // A tool button by its object name.
    QToolButton *button(const char *name) const;

    // The first node of that name in display order.
    QTreeWidgetItem *node(const QString &name) const;
    // Selects the node and runs the tree's click handler.
    void click(const QString &name);
    void clickNode(QTreeWidgetItem *node);
    // Selects a list entry, as a click on it does.
    void selectRow(int row);
    int rowOf(const QString &caption) const;

    QStringList captions() const;
    QList<int> images() const;
    QVector<ListEntry> entries() const;

    qint64 addText(const QString &title, const QString &bigClass, const QString &className = QString(),
                   const QString &createTime = QStringLiteral("2026-01-01 10:00:00"),
                   const QString &body = QString(), const QString &writer = QString());
    qint64 addInstance(const QString &title, const QString &bigClass, const QString &className = QString(),
                       const QString &path = QString(), const QString &about = QString());
};

// A child of a window by its object name; fails the test when there is none.
template <class Widget> Widget *childNamed(const QObject *parent, const char *name)
{
    auto *child = parent->findChild<Widget *>(QString::fromLatin1(name));
    if (!child)
        qFatal("no child named %s", name);
    return child;
}
