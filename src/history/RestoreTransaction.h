#pragma once

#include <QObject>

#include <functional>

class Database;
class QTreeWidget;
class TreeStore;
struct RestoreOutcome;

// Runs a restore together with the categories it files into: in one transaction of the database
// the restore's statements run, the tree gets every category they need that it lacks (as the
// start grows back the categories materials name), and the tree is saved; with nothing to add,
// the tree is held unchanged until the end (see TreeStore::holdUnchanged). When another copy
// changed the shared tree meanwhile, nothing is kept: that tree is loaded and the restore runs
// again on it, up to three times.
class RestoreTransaction : public QObject
{
    Q_OBJECT
public:
    RestoreTransaction(QTreeWidget *tree, TreeStore *treeStore, QObject *parent);

    // work runs the restore's statements and fills the outcome; false, with *error, when it or
    // the tree's save failed and nothing changed.
    bool run(const std::function<bool(RestoreOutcome *outcome, QString *error)> &work,
             RestoreOutcome *outcome, QString *error);

signals:
    // The tree was loaded again with another copy's changes.
    void treeReloaded();

private:
    QTreeWidget *m_tree;
    TreeStore *m_treeStore;
};
