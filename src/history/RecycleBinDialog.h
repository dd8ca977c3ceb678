#pragma once

#include "history/RecycleBin.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeView;
class RecycleBinModel;
class RestoreTransaction;

// "回收站": the deleted materials (title, kind, category, time deleted), newest first, several
// selectable; "恢复" puts them back into their categories, "彻底删除" and "清空回收站" let them
// go for good after asking.
class RecycleBinDialog : public QDialog
{
    Q_OBJECT
public:
    RecycleBinDialog(const RecycleBin &bin, RestoreTransaction *restorer, QWidget *parent);

    void reload();

public slots:
    void restoreSelected();
    void removeSelected();
    void emptyBin();

signals:
    // Materials came back.
    void materialsRestored();

private:
    QVector<BinEntry> selectedEntries() const;
    void updateButtons();

    RecycleBin m_bin;
    RestoreTransaction *m_restorer;
    RecycleBinModel *m_model;
    QTreeView *m_binView;
    QLabel *m_summary;
    QPushButton *m_restoreButton;
    QPushButton *m_removeButton;
    QPushButton *m_emptyButton;
};
