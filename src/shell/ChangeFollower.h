#pragma once

#include <QObject>
#include <QTimer>

class Database;
class MaterialList;
class QTreeWidget;
class TreeStore;

// Follows what other copies change on a shared base: the tree is loaded again (the open nodes and
// the selection kept where they still are) and the list shows what the selected node holds now,
// its selected material still selected. Nothing is touched while a dialog is open or a long
// operation holds the database: the change is shown as soon as they are over.
class ChangeFollower : public QObject
{
    Q_OBJECT
public:
    ChangeFollower(QTreeWidget *tree, TreeStore *treeStore, MaterialList *list, Database *database,
                   QObject *parent);

public slots:
    // What changed: "tree", "materials", or anything after the connection came back.
    void follow(const QString &what);

signals:
    void statusChanged(const QString &text);

private:
    void showChanges();

    QTreeWidget *m_tree;
    TreeStore *m_treeStore;
    MaterialList *m_list;
    Database *m_database;
    QTimer m_retry;
    bool m_treeChanged = false;
    bool m_materialsChanged = false;
};
