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
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return m_entries.shownCaption(row, ShownText::CaptionCharacters);
    case Qt::DecorationRole:
        return IconLibrary::listImage(m_entries.image(row));
    case ImageRole:
        return m_entries.image(row);
    case IdRole:
        return m_entries.id(row);
    default:
        return QVariant();
    }
}

void MaterialListModel::setEntries(const QVector<ListEntry> &entries)
{
    setEntries(ListEntries(entries));
}

void MaterialListModel::setEntries(ListEntries entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void MaterialListModel::swapEntries(ListEntries &entries)
{
    beginResetModel();
    std::swap(m_entries, entries);
    endResetModel();
}

void MaterialListModel::clear()
{
    setEntries(ListEntries());
}
