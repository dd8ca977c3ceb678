#pragma once

#include <QObject>

class MaterialList;
class QTreeWidget;
class QWidget;
class RestoreTransaction;
class TreeStore;

// The commands of what the store keeps: "历史版本…" of the selected material and "回收站…";
// and, at start, the tables and triggers a base of an older copy lacks and the bin's purge.
class HistoryCommands : public QObject
{
    Q_OBJECT
public:
    HistoryCommands(QTreeWidget *tree, TreeStore *treeStore, MaterialList *list, QWidget *window);

public slots:
    void showVersionsOfSelected();
    void showRecycleBin();
    // Makes the base keep versions and deleted materials, and lets go of what the bin has held
    // longer than it keeps things.
    void prepareAtStart();

signals:
    void statusChanged(const QString &text);

private:
    MaterialList *m_list;
    QWidget *m_window;
    RestoreTransaction *m_restorer;
};
