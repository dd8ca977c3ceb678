#include "tree/CategoryCheck.h"

#include "store/Database.h"
#include "store/Material.h"
#include "tree/CategoryTree.h"
#include "tree/TreeRetry.h"
#include "tree/TreeStore.h"

#include <QTreeWidget>

namespace {
// The names from the root down, without an empty sub-category.
QStringList pathOf(const QStringList &place)
{
    QStringList path = place.mid(0, 3);
    while (!path.isEmpty() && path.last().isEmpty())
        path.removeLast();
    return path;
}
} // namespace

CategoryCheck::CategoryCheck(QTreeWidget *tree, TreeStore *treeStore, QObject *parent)
    : QObject(parent), m_tree(tree), m_treeStore(treeStore)
{
}

QString CategoryCheck::refusal(const QStringList &place)
{
    // A capture dialog offers no category when the root has none.
    if (place.value(1).isEmpty())
        return QStringLiteral("“%1”下还没有分类，资料没有保存。请先在主窗口的分类树中建立一个分类。")
            .arg(place.value(0));
    return QStringLiteral("分类“%1”已经不在分类树中（可能刚刚在另一台电脑上被删除或改名），资料没有保存。"
                          "请选择其他分类，或者先复制下填写的内容。")
        .arg(pathOf(place).mid(1).join(QStringLiteral(" / ")));
}

bool CategoryCheck::save(const QStringList &place, const std::function<bool()> &store, QString *failure)
{
    failure->clear();
    Database *database = Database::current();
    if (!database) {
        *failure = QStringLiteral("数据模块尚未建立");
        return false;
    }
    const QStringList path = pathOf(place);
    for (int attempt = 1;; ++attempt) {
        const QTreeWidgetItem *node = CategoryTree::nodeAt(m_tree, path);
        if (!node || path.size() < 2) {
            *failure = refusal(place);
            return false;
        }
        bool held = false;
        bool movedOn = false;
        bool stored = false;
        QString why;
        const bool kept = database->transact(
            [&](QString *error) {
                held = m_treeStore->holdUnchanged(error);
                movedOn = !held && m_treeStore->movedOn();
                stored = held && store();
                return stored;
            },
            &why);
        if (kept)
            return true;
        if (!movedOn) {
            // A statement that failed has said why; otherwise the tree or the commit failed.
            *failure = held && !stored ? QString() : Material::FailurePrefix + why;
            return false;
        }
        QVector<TreeNode> roots;
        if (!TreeRetry::reload(m_treeStore, attempt, &roots, failure))
            return false;
        CategoryTree::refill(m_tree, roots);
        emit treeReloaded();
    }
}
