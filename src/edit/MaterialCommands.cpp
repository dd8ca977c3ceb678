#include "edit/MaterialCommands.h"

#include "edit/TAddFileExeFrm.h"
#include "edit/TAddFileForm.h"
#include "shell/MessageBoxes.h"
#include "shell/TMainForm.h"
#include "store/ResultMessage.h"
#include "store/Statements.h"
#include "store/TFile.h"
#include "store/TFileExe.h"
#include "store/TFileText.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"

#include <QListView>
#include <QTreeWidgetItem>

MaterialCommands::MaterialCommands(TMainForm &form) : QObject(&form), m_form(form) {}

void MaterialCommands::refreshList()
{
    m_form.MainListShow();
    m_form.MainList->viewport()->update();
}

void MaterialCommands::AddFileToItem()
{
    QTreeWidgetItem *node = m_form.selectedNode();
    if (!node) {
        MessageBoxes::plain(&m_form, QStringLiteral("你还没有在左边的分类树中选择一个分类！"));
        return;
    }
    if (CategoryTree::isRoot(node)) {
        MessageBoxes::show(&m_form, QStringLiteral("不能直接在跟目录下添加资料，请选择一个分类!"),
                           MessageBoxes::AppTitle, QMessageBox::Information);
        return;
    }
    const QStringList path = CategoryTree::pathOf(node);
    const QStringList context{path.value(0), path.value(1), path.value(2)};
    std::unique_ptr<TAddFileForm> dialog;
    if (path.first() == NodeRules::TextRootText)
        dialog = TAddFileForm::CreateForAdd(&m_form, context);
    else if (path.first() == NodeRules::InstanceRootText)
        dialog = TAddFileExeFrm::CreateForAdd(&m_form, context);
    else
        return;
    dialog->exec();
    dialog.reset();
    refreshList();
}

void MaterialCommands::N14Click()
{
    QTreeWidgetItem *node = m_form.selectedNode();
    if (!node) {
        MessageBoxes::plain(&m_form, QStringLiteral("你还没有在左边的树中选择一个分类！"));
        return;
    }
    if (CategoryTree::isRoot(node)) {
        MessageBoxes::plain(&m_form, QStringLiteral("请在左边的树中选择一个具体的分类再添加！"));
        return;
    }
    AddFileToItem();
    refreshList();
}

int MaterialCommands::selectedMaterialRow(const QString &categoryMessage)
{
    const int row = m_form.selectedListRow();
    if (row < 0) {
        MessageBoxes::plain(&m_form, QStringLiteral("请先选中一个资料"));
        return -1;
    }
    if (!m_form.MainListModel->entry(row).isMaterial()) {
        MessageBoxes::plain(&m_form, categoryMessage);
        return -1;
    }
    return row;
}

void MaterialCommands::DelFile()
{
    if (CategoryTree::isSearchResultNode(m_form.selectedNode())) {
        MessageBoxes::plain(&m_form, QStringLiteral("搜索结果中不能删除"));
        return;
    }
    const int row =
        selectedMaterialRow(QStringLiteral("你选择的是一个分类，要删除分类请在左边的树结构上操作！"));
    if (row < 0)
        return;
    if (MessageBoxes::show(&m_form, QStringLiteral("将删除该资料，是否继续？"), MessageBoxes::AppTitle,
                           QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    // The entry's own kind names the table: the tree's selection may have moved on since the list
    // was filled, and an id of one table must never delete a row of the other.
    const ListEntry entry = m_form.MainListModel->entry(row);
    TFile::ExecuteStatement(
        Statements::deleteMaterial(Statements::tableOfMaterialImage(entry.image), entry.id));
    refreshList();
}

void MaterialCommands::ReFile()
{
    const int row =
        selectedMaterialRow(QStringLiteral("你选择的是一个分类，要修改分类名请在左边的树结构上操作！"));
    if (row < 0)
        return;
    const ListEntry entry = m_form.MainListModel->entry(row);
    m_form.setStatusText(QStringLiteral("正在执行相关操作。"));
    std::unique_ptr<TFile> record;
    if (entry.image == ListEntry::TextMaterial)
        record = std::make_unique<TFileText>();
    else
        record = std::make_unique<TFileExe>();
    const bool loaded = record->LoadRecord(entry.id);
    m_form.setStatusText(QStringLiteral("数据库读取完成！"));
    if (!loaded) {
        // A record that could not be read must not be edited and saved over the stored one.
        m_form.setStatusText(ResultMessage);
        MessageBoxes::show(&m_form, ResultMessage, MessageBoxes::AppTitle, QMessageBox::Warning);
        return;
    }
    const QStringList context{
        entry.image == ListEntry::TextMaterial ? NodeRules::TextRootText : NodeRules::InstanceRootText,
        record->bigclassname, record->classname, record->title, QString::number(entry.id)};
    std::unique_ptr<TAddFileForm> dialog;
    if (entry.image == ListEntry::TextMaterial)
        dialog = TAddFileForm::CreateForModify(&m_form, static_cast<const TFileText &>(*record), context);
    else
        dialog = TAddFileExeFrm::CreateForModify(&m_form, static_cast<const TFileExe &>(*record), context);
    dialog->exec();
    dialog.reset();
    record.reset();
    refreshList();
    m_form.setStatusText(ResultMessage.isEmpty() ? QStringLiteral("操作完成") : ResultMessage);
}
