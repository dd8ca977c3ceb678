#include "capture/CaptureCategories.h"

#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"

#include <QTreeWidget>

CaptureCategories::CaptureCategories(const QTreeWidget *tree, Kind kind) : m_tree(tree), m_kind(kind) {}

const QTreeWidgetItem *CaptureCategories::root() const
{
    if (!m_tree)
        return nullptr;
    // Only the root's own subtree is offered: never the search-result node or what follows it.
    return CategoryTree::findRoot(m_tree,
                                  m_kind == TextKind ? NodeRules::TextRootText : NodeRules::InstanceRootText);
}

QStringList CaptureCategories::firstLevel() const
{
    QStringList names;
    if (const QTreeWidgetItem *node = root()) {
        for (int i = 0; i < node->childCount(); ++i)
            names.append(node->child(i)->text(0));
    }
    return names;
}

QStringList CaptureCategories::secondLevel(const QString &firstLevel) const
{
    QStringList names{RootEntry};
    const QTreeWidgetItem *node = root();
    if (!node)
        return names;
    for (int i = 0; i < node->childCount(); ++i) {
        const QTreeWidgetItem *category = node->child(i);
        if (category->text(0) != firstLevel)
            continue;
        for (int j = 0; j < category->childCount(); ++j)
            names.append(category->child(j)->text(0));
        break;
    }
    return names;
}
