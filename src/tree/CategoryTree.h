#pragma once

#include "tree/Location.h"
#include "tree/NodeRules.h"
#include "tree/TreeFile.h"

#include <QList>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

// The category tree as the main window shows it: a QTreeWidget whose items carry an image
// index and a selected-image index. These functions are the one place that knows how.
namespace CategoryTree {

void fill(QTreeWidget *tree, const QVector<TreeNode> &roots);
QVector<TreeNode> collect(const QTreeWidget *tree);
// Fills the tree with other roots (another copy's changes), keeping open the nodes that were open
// and selected the node that was, or the nearest one above it that is still there.
void refill(QTreeWidget *tree, const QVector<TreeNode> &roots);
// The node at the names' path from a root down (the first one of equal names), or nullptr.
QTreeWidgetItem *nodeAt(const QTreeWidget *tree, const QStringList &path);

QTreeWidgetItem *addNode(QTreeWidgetItem *parent, const QString &name, int image, int selectedImage);
int image(const QTreeWidgetItem *item);
int selectedImage(const QTreeWidgetItem *item);
void setImages(QTreeWidgetItem *item, int image, int selectedImage);

// Every node in display order (a node, then its whole subtree), collapsed ones included.
QList<QTreeWidgetItem *> flatItems(const QTreeWidget *tree);

QTreeWidgetItem *selectedNode(const QTreeWidget *tree);
void selectNode(QTreeWidget *tree, QTreeWidgetItem *item);

// The names of a node's children in their order, leaving out one of them if given.
QStringList childNames(const QTreeWidgetItem *parent, const QTreeWidgetItem *except = nullptr);
// The names from the root down to the node.
QStringList pathOf(const QTreeWidgetItem *item);
Location locationOf(const QTreeWidgetItem *item);

// The first node, in display order from the given position on, whose text is the name.
QTreeWidgetItem *findByText(const QTreeWidget *tree, const QString &name, int from = 0);
// The first node without a parent whose text is the name.
QTreeWidgetItem *findRoot(const QTreeWidget *tree, const QString &name);
int indexOf(const QTreeWidget *tree, const QTreeWidgetItem *item);

bool isRoot(const QTreeWidgetItem *item);
// The search-result root; a category of that name (from an old tree file) is no such node.
bool isSearchResultNode(const QTreeWidgetItem *item);

} // namespace CategoryTree
