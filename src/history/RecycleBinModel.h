#pragma once

#include "history/RecycleBin.h"

#include <QAbstractTableModel>
#include <QVector>

// The recycle bin's rows behind its view: title, kind, category path, time deleted.
class RecycleBinModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setEntries(const QVector<BinEntry> &entries);
    const BinEntry &entry(int row) const { return m_entries.at(row); }

private:
    QVector<BinEntry> m_entries;
};
