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
    // Inside a transaction of the database that files materials into the tree's categories: makes
    // sure the tree is still the one loaded or saved last, and keeps it so until the transaction
    // ends, so that another copy's rename or delete of a category either comes first (this fails,
    // with movedOn()) or finds this change made and tries again. The tree file has no other writer.
    virtual bool holdUnchanged(QString *error = nullptr)
    {
        Q_UNUSED(error);
        return true;
    }
    // The last save failed because another copy changed the tree since this one loaded it: load
    // it again, and change that tree.
    virtual bool movedOn() const { return false; }
    // What messages call it: "无法保存" + name() + "：" + the reason.
    virtual QString name() const = 0;
};
