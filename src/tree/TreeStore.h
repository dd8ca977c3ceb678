#pragma once

#include "tree/TreeNode.h"

#include <QString>
#include <QVector>

// Where the category tree is kept: the tree file MTS.qb, or a shared base on a server, which
// other copies of the program change too.
class TreeStore
{
public:
    virtual ~TreeStore() = default;

    // Throws TreeFileError when there is no tree to be had.
    virtual QVector<TreeNode> load() = 0;
    // Keeps the tree; false, with the reason, when it could not.
    virtual bool save(const QVector<TreeNode> &roots, QString *error = nullptr) = 0;
    // The last save failed because another copy changed the tree since this one loaded it: load
    // it again, and change that tree.
    virtual bool movedOn() const { return false; }
    // What messages call it: "无法保存" + name() + "：" + the reason.
    virtual QString name() const = 0;
};
