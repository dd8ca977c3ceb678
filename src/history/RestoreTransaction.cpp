#include "history/RestoreTransaction.h"

#include "history/RestoreOutcome.h"
#include "store/Database.h"
#include "tree/CategoryRecovery.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"
#include "tree/TreeRetry.h"
#include "tree/TreeStore.h"

#include <QTreeWidget>

namespace {
// Adds to the roots the categories the outcome needs; how many.
int grow(QVector<TreeNode> &roots, const RestoreOutcome &outcome)
{
    int grown = 0;
    for (int index = 0; index < roots.size(); ++index) {
        // The text root is the first; the instance root is found by its name.
        const bool text = index == 0;
        if (!text && roots.at(index).name != NodeRules::InstanceRootText)
            continue;
        grown += CategoryRecovery::addMissing(roots[index], outcome.needed[text ? 0 : 1]);
    }
    return grown;
}
} // namespace

RestoreTransaction::RestoreTransaction(QTreeWidget *tree, TreeStore *treeStore, QObject *parent)
    : QObject(parent), m_tree(tree), m_treeStore(treeStore)
{
}

bool RestoreTransaction::run(const std::function<bool(RestoreOutcome *, QString *)> &work,
                             RestoreOutcome *outcome, QString *error)
{
    Database *database = Database::current();
    if (!database) {
        *error = QStringLiteral("数据模块尚未建立");
        return false;
    }
    for (int attempt = 1;; ++attempt) {
        *outcome = RestoreOutcome();
        QVector<TreeNode> roots;
        bool treeFailed = false;
        const bool done = database->transact(
            [&](QString *why) {
                if (!work(outcome, why))
                    return false;
                roots = CategoryTree::collect(m_tree);
                outcome->grownCategories = grow(roots, *outcome);
                QString treeError;
                treeFailed = !(outcome->grownCategories > 0 ? m_treeStore->save(roots, &treeError)
                                                            : m_treeStore->holdUnchanged(&treeError));
                if (treeFailed)
                    *why =
                        QStringLiteral("无法保存") + m_treeStore->name() + QStringLiteral("：") + treeError;
                return !treeFailed;
            },
            error);
        if (done) {
            if (outcome->grownCategories > 0)
                CategoryTree::refill(m_tree, roots);
            return true;
        }
        if (!treeFailed || !m_treeStore->movedOn())
            return false;
        QVector<TreeNode> reloaded;
        if (!TreeRetry::reload(m_treeStore, attempt, &reloaded, error))
            return false;
        CategoryTree::refill(m_tree, reloaded);
        emit treeReloaded();
    }
}
