#pragma once

#include "tree/TreeNode.h"

#include <QString>
#include <QVector>

class TreeStore;

// A change that found the tree changed by another copy is made again on that copy's tree, a few
// times at most while copies keep changing it.
namespace TreeRetry {

// After the attempt (counted from 1) found the tree moved on: that tree, loaded for the next
// attempt. False, with the reason, when the attempts are spent or the tree cannot be loaded.
bool reload(TreeStore *store, int attempt, QVector<TreeNode> *roots, QString *error);

} // namespace TreeRetry
