#pragma once

#include "browse/ListEntry.h"

#include <QAbstractListModel>
#include <QVector>

// Entries of one form behind a list view: filled in one step, so that tens of thousands of
// entries cost one reset or one insertion rather than one item object each.
class MaterialListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles { ImageRole = Qt::UserRole + 1, IdRole };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    const QVector<ListEntry> &entries() const { return m_entries; }
    ListEntry entry(int row) const { return m_entries.value(row); }
    void setEntries(const QVector<ListEntry> &entries);
    void append(const QVector<ListEntry> &entries);
    void clear();

private:
    QVector<ListEntry> m_entries;
};
