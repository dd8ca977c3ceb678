#pragma once

#include "TestFolder.h"

#include "browse/MaterialListModel.h"

#include <QStringList>

#include <memory>

class TMainData;
class TMainForm;
class QTreeWidgetItem;

// A main window on a program folder of its own, with the data module attached, as the program
// starts it. Materials are put into the database directly.
class MainFormFixture
{
public:
    // Tree lines to write before the window reads them; none keeps the installed tree.
    explicit MainFormFixture(const QStringList &treeLines = {});
    ~MainFormFixture();

    TestFolder folder;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<TMainData> data;

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
