#include "exchange/ImportedCategories.h"

#include "exchange/ImportPlan.h"
#include "tree/CategoryRecovery.h"
#include "tree/NodeRules.h"
#include "tree/TreeRetry.h"
#include "tree/TreeStore.h"

ImportedCategories::ImportedCategories(const ImportPlan &plan, TreeStore *treeStore)
    : m_needed(plan.newCategories()), m_treeStore(treeStore)
{
    for (const ImportPlan::File &file : plan.files()) {
        if (!m_needed.contains(file.place))
            m_needed.append(file.place);
    }
}

int ImportedCategories::addNeeded()
{
    int added = 0;
    for (int index = 0; index < m_tree.size(); ++index) {
        // The text root is the first; the instance root is found by its name.
        const QString root = index == 0 ? NodeRules::TextRootText : m_tree.at(index).name;
        if (index > 0 && root != NodeRules::InstanceRootText)
            continue;
        QVector<CategoryRecovery::Pair> pairs;
        for (const QStringList &names : m_needed) {
            if (names.size() >= 2 && names.first() == root)
                pairs.append({names.at(1), names.value(2)});
        }
        added += CategoryRecovery::addMissing(m_tree[index], pairs);
    }
    return added;
}

bool ImportedCategories::save(const QVector<TreeNode> &roots, QString *error)
{
    m_tree = roots;
    for (int attempt = 1;; ++attempt) {
        m_added = addNeeded();
        const bool saved = m_added > 0 ? m_treeStore->save(m_tree, error) : m_treeStore->holdUnchanged(error);
        if (saved)
            return true;
        if (!m_treeStore->movedOn())
            return false;
        if (!TreeRetry::reload(m_treeStore, attempt, &m_tree, error))
            return false;
        m_reloaded = true;
    }
}
