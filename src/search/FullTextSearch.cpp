#include "search/FullTextSearch.h"

#include "browse/ListEntry.h"
#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "store/Database.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTreeWidget>

#include <algorithm>

namespace {
const QString SearchFailed = QStringLiteral("全文搜索失败：");
}

FullTextSearch::FullTextSearch(QTreeWidget *tree, MaterialList *list, QObject *parent)
    : QObject(parent), m_tree(tree), m_list(list)
{
    // The search dialog's hits replace these: the marks go with them.
    connect(m_list->searchResults(), &QAbstractItemModel::modelReset, this, [this] {
        if (!m_filling)
            forgetQuery();
    });
}

FullTextIndex::Progress FullTextSearch::buildReporter(int *reportedTotal)
{
    return [this, reportedTotal](int done, int total) {
        if (total < ReportedBuild)
            return;
        *reportedTotal = total;
        emit progressChanged(std::max(3, done * 100 / total));
        emit statusChanged(
            done < total ? QStringLiteral("正在建立全文索引：已完成%1个资料，共%2个").arg(done).arg(total)
                         : QStringLiteral("正在整理全文索引，请稍候……"));
        // Painted, but no click or key may start other database work while the index is built.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}

QString FullTextSearch::failure(const QString &error) const
{
    Database *data = Database::current();
    if (data && !data->isServer() && !QFileInfo::exists(data->databasePath()))
        return QStringLiteral("找不到数据库文件") + QDir::toNativeSeparators(data->databasePath());
    return error;
}

void FullTextSearch::prepareIndex()
{
    Database *data = Database::current();
    if (!data)
        return;
    int reportedTotal = 0;
    bool built = false;
    QString error;
    if (!FullTextIndex(data).bringUpToDate(buildReporter(&reportedTotal), &built, &error)) {
        emit statusChanged(QStringLiteral("全文索引未能更新：") + failure(error));
        emit progressChanged(0);
        return;
    }
    if (reportedTotal > 0) {
        emit statusChanged(QStringLiteral("全文索引已建立，共%1个资料").arg(reportedTotal));
        emit progressChanged(100);
    }
}

void FullTextSearch::search(const QString &typed)
{
    const FullTextQuery query(typed);
    const QString refusal = query.refusal();
    if (!refusal.isEmpty()) {
        emit statusChanged(refusal);
        return;
    }
    Database *data = Database::current();
    if (!data) {
        emit statusChanged(SearchFailed + QStringLiteral("数据模块尚未建立"));
        return;
    }
    emit progressChanged(3);
    emit statusChanged(QStringLiteral("正在全文搜索……"));
    int reportedTotal = 0;
    QVector<FullTextHit> hits;
    qint64 found = 0;
    QString error;
    if (!FullTextIndex(data).search(query, buildReporter(&reportedTotal), &hits, &found, &error)) {
        emit statusChanged(SearchFailed + failure(error));
        emit progressChanged(0);
        return;
    }
    m_lastFound = found;
    showHits(query, hits);
    if (hits.isEmpty())
        emit statusChanged(QStringLiteral("很遗憾，没有找到"));
    else if (found > hits.size())
        emit statusChanged(QStringLiteral("恭喜，共找到%1个资料（显示前%2个）").arg(found).arg(hits.size()));
    else
        emit statusChanged(QStringLiteral("恭喜，共找到%1个资料").arg(hits.size()));
    emit progressChanged(100);
}

void FullTextSearch::showHits(const FullTextQuery &query, const QVector<FullTextHit> &hits)
{
    QVector<ListEntry> entries;
    entries.reserve(hits.size());
    for (const FullTextHit &hit : hits)
        entries.append({hit.title,
                        hit.kind == FullTextHit::Text ? ListEntry::TextMaterial : ListEntry::InstanceMaterial,
                        hit.id});
    m_filling = true;
    m_list->searchResults()->setEntries(entries);
    m_filling = false;
    m_shownQuery = query;
    emit shownQueryChanged(m_shownQuery);

    QTreeWidgetItem *node = CategoryTree::findRoot(m_tree, NodeRules::SearchResultText);
    const int last = m_tree->topLevelItemCount() - 1;
    if (last >= 0 && CategoryTree::isSearchResultNode(m_tree->topLevelItem(last)))
        node = m_tree->topLevelItem(last);
    if (node) {
        CategoryTree::selectNode(m_tree, node);
        m_list->refresh();
    }
}

void FullTextSearch::forgetQuery()
{
    if (m_shownQuery.isEmpty())
        return;
    m_shownQuery = FullTextQuery();
    emit shownQueryChanged(m_shownQuery);
}
