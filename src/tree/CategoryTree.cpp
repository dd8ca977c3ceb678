#include "tree/CategoryTree.h"

#include "resources/IconLibrary.h"

#include <QSignalBlocker>
#include <QTreeWidget>

namespace CategoryTree {

namespace {
constexpr int ImageRole = Qt::UserRole;
constexpr int SelectedImageRole = Qt::UserRole + 1;

void addSubtree(QTreeWidgetItem *parent, const TreeNode &node)
{
    QTreeWidgetItem *item = addNode(parent, node.name, node.image, node.image);
    for (const TreeNode &child : node.children)
        addSubtree(item, child);
}

TreeNode collectNode(const QTreeWidgetItem *item)
{
    TreeNode node{item->text(0), image(item), {}};
    for (int i = 0; i < item->childCount(); ++i)
        node.children.append(collectNode(item->child(i)));
    return node;
}

void appendFlat(QTreeWidgetItem *item, QList<QTreeWidgetItem *> *items)
{
    items->append(item);
    for (int i = 0; i < item->childCount(); ++i)
        appendFlat(item->child(i), items);
}
} // namespace

void fill(QTreeWidget *tree, const QVector<TreeNode> &roots)
{
    tree->clear();
    for (const TreeNode &root : roots) {
        auto *item = new QTreeWidgetItem(tree);
        item->setText(0, root.name);
        setImages(item, root.image, root.image);
        for (const TreeNode &child : root.children)
            addSubtree(item, child);
    }
    // Nothing is selected, and nothing may look so: without a current node set on purpose, the
    // view would make the first one current, with its focus frame, as soon as it has the focus.
    tree->setCurrentIndex(QModelIndex());
}

void refill(QTreeWidget *tree, const QVector<TreeNode> &roots)
{
    QList<QStringList> expanded;
    for (const QTreeWidgetItem *item : flatItems(tree)) {
        if (item->isExpanded())
            expanded.append(pathOf(item));
    }
    QStringList selected = pathOf(selectedNode(tree));
    // No handler may take the filling for a person's doing.
    const QSignalBlocker blocker(tree);
    fill(tree, roots);
    for (const QStringList &path : expanded) {
        if (QTreeWidgetItem *item = nodeAt(tree, path))
            item->setExpanded(true);
    }
    QTreeWidgetItem *stillThere = nullptr;
    for (; !selected.isEmpty() && !stillThere; selected.removeLast())
        stillThere = nodeAt(tree, selected);
    if (stillThere)
        selectNode(tree, stillThere);
    for (QTreeWidgetItem *item : flatItems(tree)) {
        const int shown = item->isExpanded() ? NodeRules::expandedImage(image(item))
                                             : NodeRules::collapsedImage(image(item));
        setImages(item, shown, shown);
    }
}

QTreeWidgetItem *nodeAt(const QTreeWidget *tree, const QStringList &path)
{
    QTreeWidgetItem *node = path.isEmpty() ? nullptr : findRoot(tree, path.first());
    for (int level = 1; node && level < path.size(); ++level) {
        QTreeWidgetItem *child = nullptr;
        for (int i = 0; !child && i < node->childCount(); ++i) {
            if (node->child(i)->text(0) == path.at(level))
                child = node->child(i);
        }
        node = child;
    }
    return node;
}

QVector<TreeNode> collect(const QTreeWidget *tree)
{
    QVector<TreeNode> roots;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        roots.append(collectNode(tree->topLevelItem(i)));
    return roots;
}

QTreeWidgetItem *addNode(QTreeWidgetItem *parent, const QString &name, int image, int selectedImage)
{
    auto *item = new QTreeWidgetItem(parent);
    item->setText(0, name);
    setImages(item, image, selectedImage);
    return item;
}

int image(const QTreeWidgetItem *item)
{
    return item->data(0, ImageRole).toInt();
}

int selectedImage(const QTreeWidgetItem *item)
{
    return item->data(0, SelectedImageRole).toInt();
}

void setImages(QTreeWidgetItem *item, int image, int selectedImage)
{
    item->setData(0, ImageRole, image);
    item->setData(0, SelectedImageRole, selectedImage);
    item->setIcon(0, IconLibrary::treeNodeIcon(image, selectedImage));
}

QList<QTreeWidgetItem *> flatItems(const QTreeWidget *tree)
{
    QList<QTreeWidgetItem *> items;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        appendFlat(tree->topLevelItem(i), &items);
    return items;
}

QTreeWidgetItem *selectedNode(const QTreeWidget *tree)
{
    const QList<QTreeWidgetItem *> selected = tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void selectNode(QTreeWidget *tree, QTreeWidgetItem *item)
{
    if (!item) {
        tree->setCurrentItem(nullptr, 0, QItemSelectionModel::Clear);
        return;
    }
    // Open the ancestors first: the view would open them while scrolling to the node, and an
    // opened node takes the selection.
    QList<QTreeWidgetItem *> ancestors;
    for (QTreeWidgetItem *parent = item->parent(); parent; parent = parent->parent())
        ancestors.prepend(parent);
    for (QTreeWidgetItem *ancestor : ancestors)
        ancestor->setExpanded(true);
    tree->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
}

QStringList childNames(const QTreeWidgetItem *parent, const QTreeWidgetItem *except)
{
    QStringList names;
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        if (parent->child(i) != except)
            names.append(parent->child(i)->text(0));
    }
    return names;
}

QStringList pathOf(const QTreeWidgetItem *item)
{
    QStringList path;
    for (; item; item = item->parent())
        path.prepend(item->text(0));
    return path;
}

Location locationOf(const QTreeWidgetItem *item)
{
    return NodeRules::locationOf(image(item), pathOf(item));
}

QTreeWidgetItem *findByText(const QTreeWidget *tree, const QString &name, int from)
{
    const QList<QTreeWidgetItem *> items = flatItems(tree);
    for (int i = qMax(0, from); i < items.size(); ++i) {
        if (items.at(i)->text(0) == name)
            return items.at(i);
    }
    return nullptr;
}

QTreeWidgetItem *findRoot(const QTreeWidget *tree, const QString &name)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->text(0) == name)
            return tree->topLevelItem(i);
    }
    return nullptr;
}

int indexOf(const QTreeWidget *tree, const QTreeWidgetItem *item)
{
    return static_cast<int>(flatItems(tree).indexOf(const_cast<QTreeWidgetItem *>(item)));
}

bool isRoot(const QTreeWidgetItem *item)
{
    return item && !item->parent();
}

bool isSearchResultNode(const QTreeWidgetItem *item)
{
    return isRoot(item) && item->text(0) == NodeRules::SearchResultText;
}

} // namespace CategoryTree
