#include "shell/ChangeFollower.h"

#include "browse/MaterialList.h"
#include "store/Database.h"
#include "tree/CategoryTree.h"
#include "tree/TreeFileError.h"
#include "tree/TreeStore.h"

#include <QApplication>
#include <QTreeWidget>

namespace {
// How long a change waits for a dialog or a long operation to end before it looks again.
constexpr int RetryInterval = 250;
} // namespace

ChangeFollower::ChangeFollower(QTreeWidget *tree, TreeStore *treeStore, MaterialList *list,
                               Database *database, QObject *parent)
    : QObject(parent), m_tree(tree), m_treeStore(treeStore), m_list(list), m_database(database)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(RetryInterval);
    connect(&m_retry, &QTimer::timeout, this, &ChangeFollower::showChanges);
}

void ChangeFollower::follow(const QString &what)
{
    m_materialsChanged = true;
    if (what != QLatin1String("materials"))
        m_treeChanged = true;
    // After the operation that heard of it has ended.
    m_retry.start(0);
}

void ChangeFollower::showChanges()
{
    // A dialog (a command under way) may hold nodes of the tree; a batch holds the database.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() || m_database->isBusy()) {
        m_retry.start(RetryInterval);
        return;
    }
    if (m_treeChanged) {
        m_treeChanged = false;
        try {
            CategoryTree::refill(m_tree, m_treeStore->load());
        } catch (const TreeFileError &failure) {
            emit statusChanged(failure.message());
            return;
        }
    }
    if (!m_materialsChanged)
        return;
    m_materialsChanged = false;
    m_list->refreshKeepingSelection();
    emit statusChanged(QStringLiteral("共享资料库已由其他电脑更新，这里显示的是最新内容"));
}
