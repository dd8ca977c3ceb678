#pragma once

#include "browse/ListEntries.h"

#include <QAbstractListModel>
#include <QVector>

// Entries of one form behind a list view: filled in one step, so that tens of thousands of
// entries cost one reset rather than one item object each.
class MaterialListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles { ImageRole = Qt::UserRole + 1, IdRole };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    const ListEntries &list() const { return m_entries; }
    QVector<ListEntry> entries() const { return m_entries.toVector(); }
    ListEntry entry(int row) const { return m_entries.at(row); }
    void setEntries(const QVector<ListEntry> &entries);
    void setEntries(ListEntries entries);
    // Shows the given entries and hands back those shown until now, whose storage the next list
    // can reuse.
    void swapEntries(ListEntries &entries);
    void clear();

private:
    ListEntries m_entries;
};
