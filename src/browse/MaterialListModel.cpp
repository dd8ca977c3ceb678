#include "browse/MaterialListModel.h"

#include "base/ShownText.h"
#include "resources/IconLibrary.h"

int MaterialListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant MaterialListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return QVariant();
    const ListEntry &entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return ShownText::shortened(entry.caption, ShownText::CaptionCharacters);
    case Qt::DecorationRole:
        return IconLibrary::listImage(entry.image);
    case ImageRole:
        return entry.image;
    case IdRole:
        return entry.id;
    default:
        return QVariant();
    }
}

void MaterialListModel::setEntries(const QVector<ListEntry> &entries)
{
    beginResetModel();
    m_entries = entries;
    endResetModel();
}

void MaterialListModel::append(const QVector<ListEntry> &entries)
{
    if (entries.isEmpty())
        return;
    if (m_entries.isEmpty()) {
        setEntries(entries);
        return;
    }
    const int first = static_cast<int>(m_entries.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(entries.size()) - 1);
    m_entries += entries;
    endInsertRows();
}

void MaterialListModel::clear()
{
    setEntries({});
}
