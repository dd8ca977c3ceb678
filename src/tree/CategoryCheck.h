#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QTreeWidget;
class TreeStore;

// A material is saved only into a category that the tree holds: the statement that files it
// (an add, a modify, a move, a capture) runs in one transaction with a check that the tree is
// still the one shown (TreeStore::holdUnchanged), so that another copy's delete or rename of the
// category either comes first, and the save is refused, or finds the material and takes it
// along. When another copy changed the tree since it was loaded, that tree is loaded and shown,
// and the save runs again on it while it still holds the category.
class CategoryCheck : public QObject
{
    Q_OBJECT
public:
    CategoryCheck(QTreeWidget *tree, TreeStore *treeStore, QObject *parent);

    // place: the root's name, the category, the sub-category (empty directly under the category).
    // store() runs the statement and reports its own failure. False when nothing was saved:
    // *failure says why (the category is gone, the tree or the commit failed), or is empty when
    // store() failed.
    bool save(const QStringList &place, const std::function<bool()> &store, QString *failure);

    // What refuses a material for a category the tree does not hold.
    static QString refusal(const QStringList &place);

signals:
    // The tree was loaded again with another copy's changes.
    void treeReloaded();

private:
    QTreeWidget *m_tree;
    TreeStore *m_treeStore;
};
