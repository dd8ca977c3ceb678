#include "edit/MaterialCommands.h"

#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "edit/InstanceMaterialDialog.h"
#include "edit/TextMaterialDialog.h"
#include "store/InstanceMaterial.h"
#include "store/Statements.h"
#include "store/TextMaterial.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"
#include "widgets/MessageBoxes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTreeWidgetItem>

MaterialCommands::MaterialCommands(QTreeWidget *tree, MaterialList *list, CategoryCheck *check,
                                   QWidget *window)
    : QObject(window), m_tree(tree), m_list(list), m_categoryCheck(check), m_window(window)
{
}

void MaterialCommands::addMaterial()
{
    QTreeWidgetItem *node = CategoryTree::selectedNode(m_tree);
    if (!node) {
        MessageBoxes::plain(m_window, QStringLiteral("你还没有在左边的分类树中选择一个分类！"));
        return;
    }
    if (CategoryTree::isRoot(node)) {
        MessageBoxes::show(m_window, QStringLiteral("不能直接在跟目录下添加资料，请选择一个分类!"),
                           MessageBoxes::AppTitle, QMessageBox::Information);
        return;
    }
    const QStringList path = CategoryTree::pathOf(node);
    const QStringList context{path.value(0), path.value(1), path.value(2)};
    std::unique_ptr<MaterialDialog> dialog;
    if (path.first() == NodeRules::TextRootText)
        dialog = TextMaterialDialog::createForAdd(m_window, context);
    else if (path.first() == NodeRules::InstanceRootText)
        dialog = InstanceMaterialDialog::createForAdd(m_window, context);
    else
        return;
    dialog->setCategoryCheck(m_categoryCheck);
    dialog->exec();
    dialog.reset();
    m_list->refresh();
}

void MaterialCommands::addMaterialFromList()
{
    QTreeWidgetItem *node = CategoryTree::selectedNode(m_tree);
    if (!node) {
        MessageBoxes::plain(m_window, QStringLiteral("你还没有在左边的树中选择一个分类！"));
        return;
    }
    if (CategoryTree::isRoot(node)) {
        MessageBoxes::plain(m_window, QStringLiteral("请在左边的树中选择一个具体的分类再添加！"));
        return;
    }
    addMaterial();
    m_list->refresh();
}

int MaterialCommands::selectedMaterialRow(const QString &categoryMessage)
{
    const int row = m_list->selectedRow();
    if (row < 0) {
        MessageBoxes::plain(m_window, QStringLiteral("请先选中一个资料"));
        return -1;
    }
    if (!m_list->model()->entry(row).isMaterial()) {
        MessageBoxes::plain(m_window, categoryMessage);
        return -1;
    }
    return row;
}

void MaterialCommands::deleteSelectedMaterial()
{
    if (CategoryTree::isSearchResultNode(CategoryTree::selectedNode(m_tree))) {
        MessageBoxes::plain(m_window, QStringLiteral("搜索结果中不能删除"));
        return;
    }
    const int row =
        selectedMaterialRow(QStringLiteral("你选择的是一个分类，要删除分类请在左边的树结构上操作！"));
    if (row < 0)
        return;
    if (MessageBoxes::show(m_window, QStringLiteral("将删除该资料，是否继续？"), MessageBoxes::AppTitle,
                           QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    // The entry's own kind names the table: the tree's selection may have moved on since the list
    // was filled, and an id of one table must never delete a row of the other.
    const ListEntry entry = m_list->model()->entry(row);
    Material::executeStatement(
        Statements::deleteMaterial(Statements::tableOfMaterialImage(entry.image), entry.id));
    m_list->refresh();
}

void MaterialCommands::modifySelectedMaterial()
{
    const int row =
        selectedMaterialRow(QStringLiteral("你选择的是一个分类，要修改分类名请在左边的树结构上操作！"));
    if (row < 0)
        return;
    const ListEntry entry = m_list->model()->entry(row);
    const bool text = entry.image == ListEntry::TextMaterial;
    emit statusChanged(QStringLiteral("正在执行相关操作。"));
    std::unique_ptr<Material> record;
    if (text)
        record = std::make_unique<TextMaterial>();
    else
        record = std::make_unique<InstanceMaterial>();
    const bool loaded = record->load(entry.id);
    emit statusChanged(QStringLiteral("数据库读取完成！"));
    if (!loaded) {
        // A record that could not be read must not be edited and saved over the stored one.
        emit statusChanged(record->resultMessage());
        MessageBoxes::show(m_window, record->resultMessage(), MessageBoxes::AppTitle, QMessageBox::Warning);
        return;
    }
    const QStringList context{text ? NodeRules::TextRootText : NodeRules::InstanceRootText, record->category,
                              record->subcategory, record->title, QString::number(entry.id)};
    std::unique_ptr<MaterialDialog> dialog;
    if (text)
        dialog = TextMaterialDialog::createForModify(m_window, static_cast<const TextMaterial &>(*record),
                                                     context);
    else
        dialog = InstanceMaterialDialog::createForModify(
            m_window, static_cast<const InstanceMaterial &>(*record), context);
    dialog->setCategoryCheck(m_categoryCheck);
    dialog->exec();
    // The last save's result, or the load's when nothing was saved.
    const QString result =
        dialog->resultMessage().isEmpty() ? record->resultMessage() : dialog->resultMessage();
    dialog.reset();
    record.reset();
    m_list->refresh();
    emit statusChanged(result);
}

void MaterialCommands::copySelectedMaterial()
{
    const int row = selectedMaterialRow(QStringLiteral("你选择的是一个分类，请选择一个资料再复制它的内容！"));
    if (row < 0)
        return;
    const ListEntry entry = m_list->model()->entry(row);
    TextMaterial text;
    InstanceMaterial instance;
    Material &record = entry.image == ListEntry::TextMaterial ? static_cast<Material &>(text) : instance;
    if (!record.load(entry.id)) {
        emit statusChanged(record.resultMessage());
        return;
    }
    QGuiApplication::clipboard()->setText(&record == &text ? text.typedBody() : instance.path);
    emit statusChanged(&record == &text ? QStringLiteral("资料的内容已复制到剪贴板")
                                        : QStringLiteral("资料的路径已复制到剪贴板"));
}
