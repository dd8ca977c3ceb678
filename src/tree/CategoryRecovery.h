#pragma once

#include "tree/TreeFile.h"

#include <QString>
#include <QVector>

// Categories that materials name but the tree lacks: after a crash between a database change
// and the tree's save, a tree file edited by hand, or rows written by another program. They are
// grown back, so that no material sits where no category shows it.
namespace CategoryRecovery {

struct Pair
{
    QString category;
    QString subcategory; // empty for a material directly under its first-level category
};

// The distinct category pairs the materials of one table are filed under.
bool readPairs(const QString &table, QVector<Pair> *pairs, QString *error);
// Adds to the root every category the pairs name and it lacks, in the pairs' order; names the
// tree file cannot hold (empty, or beginning with "+", or with a line break) are left out.
// Returns how many categories were added.
int addMissing(TreeNode &root, const QVector<Pair> &pairs);

} // namespace CategoryRecovery
