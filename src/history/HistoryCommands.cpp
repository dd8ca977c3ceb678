#include "history/HistoryCommands.h"

#include "base/Clock.h"
#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "history/HistorySchema.h"
#include "history/KeptTime.h"
#include "history/MaterialVersions.h"
#include "history/RecycleBin.h"
#include "history/RecycleBinDialog.h"
#include "history/RestoreTransaction.h"
#include "history/VersionHistoryDialog.h"
#include "store/Database.h"
#include "widgets/MessageBoxes.h"

HistoryCommands::HistoryCommands(QTreeWidget *tree, TreeStore *treeStore, MaterialList *list, QWidget *window)
    : QObject(window), m_list(list), m_window(window),
      m_restorer(new RestoreTransaction(tree, treeStore, this))
{
    connect(m_restorer, &RestoreTransaction::treeReloaded, m_list, &MaterialList::refresh);
}

void HistoryCommands::showVersionsOfSelected()
{
    const int row = m_list->selectedRow();
    if (row < 0) {
        MessageBoxes::plain(m_window, QStringLiteral("请先选中一个资料"));
        return;
    }
    const ListEntry entry = m_list->model()->entry(row);
    if (!entry.isMaterial()) {
        MessageBoxes::plain(m_window,
                            QStringLiteral("你选择的是一个分类，请选择一个资料再查看它的历史版本！"));
        return;
    }
    Database *database = Database::current();
    if (!database)
        return;
    VersionHistoryDialog dialog(
        MaterialVersions(*database, entry.image == ListEntry::InstanceMaterial, entry.id), m_restorer,
        m_window);
    connect(&dialog, &VersionHistoryDialog::versionRestored, m_list, [this] {
        m_list->refreshKeepingSelection();
        emit statusChanged(QStringLiteral("已恢复资料的一个历史版本，替换下来的内容保存为新的历史版本"));
    });
    dialog.exec();
}

void HistoryCommands::showRecycleBin()
{
    Database *database = Database::current();
    if (!database)
        return;
    RecycleBinDialog dialog(RecycleBin(*database), m_restorer, m_window);
    connect(&dialog, &RecycleBinDialog::materialsRestored, m_list, &MaterialList::refreshKeepingSelection);
    dialog.exec();
}

void HistoryCommands::prepareAtStart()
{
    Database *database = Database::current();
    if (!database)
        return;
    QString error;
    if (!HistorySchema::prepare(*database, &error)) {
        emit statusChanged(error);
        return;
    }
    int purged = 0;
    if (RecycleBin(*database).purge(Clock::currentDateTime(), &purged, &error) && purged > 0)
        emit statusChanged(
            QStringLiteral("回收站里删除超过%1天的%2份资料已彻底删除").arg(KeptTime::BinDays).arg(purged));
}
