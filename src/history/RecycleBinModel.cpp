#include "history/RecycleBinModel.h"

#include "history/HistorySchema.h"
#include "history/KeptTime.h"

namespace {
enum Column { Title, Kind, Category, Deleted, ColumnCount };
} // namespace

int RecycleBinModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int RecycleBinModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RecycleBinModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return QVariant();
    const BinEntry &entry = m_entries.at(index.row());
    const QString root = HistorySchema::kind(entry.instance).rootText;
    switch (index.column()) {
    case Title:
        return entry.title;
    case Kind:
        return root;
    case Category:
        return root + QStringLiteral("->") + entry.category +
               (entry.subcategory.isEmpty() ? QString() : QStringLiteral("->") + entry.subcategory);
    case Deleted:
        return KeptTime::shown(entry.keptTime);
    default:
        return QVariant();
    }
}

QVariant RecycleBinModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Title:
        return QStringLiteral("标题");
    case Kind:
        return QStringLiteral("类型");
    case Category:
        return QStringLiteral("分类");
    case Deleted:
        return QStringLiteral("删除时间");
    default:
        return QVariant();
    }
}

void RecycleBinModel::setEntries(const QVector<BinEntry> &entries)
{
    beginResetModel();
    m_entries = entries;
    endResetModel();
}
