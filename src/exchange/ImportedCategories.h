#pragma once

#include "tree/TreeNode.h"

#include <QString>
#include <QStringList>
#include <QVector>

class ImportPlan;
class TreeStore;

// The categories an import files into, put into the tree inside the import's transaction: those
// the plan makes, in the order of their folders, and any the materials need that another copy
// deleted meanwhile. When another copy changed the tree since it was loaded, that tree is loaded
// and they are added to it, so that what the import makes and what the other copy made both stay.
class ImportedCategories
{
public:
    ImportedCategories(const ImportPlan &plan, TreeStore *treeStore);

    // Adds what the roots lack and keeps the tree (or, with nothing to add, holds it unchanged
    // until the transaction ends). False, with the reason, when it could not.
    bool save(const QVector<TreeNode> &roots, QString *error);

    // The tree as saved, or as last loaded from another copy's change.
    const QVector<TreeNode> &tree() const { return m_tree; }
    // How many categories the saved tree got.
    int added() const { return m_added; }
    // The tree shown is no longer the one kept: another copy's was loaded.
    bool reloaded() const { return m_reloaded; }

private:
    // Adds the categories to m_tree; how many it lacked.
    int addNeeded();

    QVector<QStringList> m_needed; // names from the root down, each after its parent
    TreeStore *m_treeStore;
    QVector<TreeNode> m_tree;
    int m_added = 0;
    bool m_reloaded = false;
};
