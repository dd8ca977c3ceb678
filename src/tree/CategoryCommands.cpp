#include "tree/CategoryCommands.h"

#include "store/Material.h"
#include "tree/CategoryNames.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"
#include "tree/TreeRetry.h"
#include "tree/TreeStore.h"
#include "widgets/LineEdits.h"
#include "widgets/MessageBoxes.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QTreeWidget>

namespace {
const QString NoNodeSelected = QStringLiteral("你还没有在左边的分类树中选择一个分类！");

QStringList siblingNames(const QTreeWidgetItem *node)
{
    return CategoryTree::childNames(node->parent(), node);
}
} // namespace

CategoryCommands::CategoryCommands(QTreeWidget *tree, TreeStore *treeStore, QWidget *window)
    : QObject(window), m_tree(tree), m_treeStore(treeStore), m_window(window)
{
}

QString CategoryCommands::askName(const QString &caption, const QString &prompt, const QString &initial,
                                  const QStringList &siblingNames)
{
    QString name = initial;
    for (;;) {
        QInputDialog dialog(m_window);
        dialog.setObjectName(QStringLiteral("CategoryNameInput"));
        dialog.setWindowTitle(caption);
        dialog.setLabelText(prompt);
        dialog.setTextValue(name);
        if (auto *box = dialog.findChild<QLineEdit *>())
            LineEdits::allowAnyLength(box);
        if (dialog.exec() != QDialog::Accepted)
            return QString();
        name = dialog.textValue();
        const QString refusal = CategoryNames::refusal(name, siblingNames);
        if (refusal.isEmpty())
            return name;
        MessageBoxes::show(m_window, refusal, MessageBoxes::AppTitle, QMessageBox::Warning);
    }
}

void CategoryCommands::addCategory()
{
    QTreeWidgetItem *node = CategoryTree::selectedNode(m_tree);
    if (!node) {
        MessageBoxes::plain(m_window, NoNodeSelected);
        return;
    }
    if (CategoryTree::isSearchResultNode(node)) {
        MessageBoxes::plain(m_window, QStringLiteral("不能在这里建立新的子分类！"));
        return;
    }
    if (node->parent() && node->parent()->parent()) {
        MessageBoxes::show(m_window,
                           QStringLiteral("你已经到了分类的最低层，你不能在这个分类下再添加新的子分类了"),
                           QStringLiteral("提示信息"), QMessageBox::Warning);
        return;
    }
    const QString name =
        askName(QStringLiteral("请输入分类名"),
                QStringLiteral("请输入分类名：在\"") + node->text(0) + QStringLiteral("\"里的子类"),
                QString(), CategoryTree::childNames(node));
    if (name.isEmpty())
        return;
    const QStringList path = CategoryTree::pathOf(node);
    for (int attempt = 1; node; ++attempt) {
        QTreeWidgetItem *added =
            node->parent() ? CategoryTree::addNode(node, name, NodeRules::SecondLevel, NodeRules::SecondLevel)
                           : CategoryTree::addNode(node, name, NodeRules::FirstLevelCollapsed,
                                                   NodeRules::FirstLevelExpanded);
        QString error;
        if (saveTree(&error))
            return;
        delete added;
        node = afterFailedSave(path, attempt, error);
        const QString refusal =
            node ? CategoryNames::refusal(name, CategoryTree::childNames(node)) : QString();
        if (!refusal.isEmpty()) {
            refuseAfterReload(refusal);
            return;
        }
    }
}

void CategoryCommands::renameCategory()
{
    QTreeWidgetItem *node = CategoryTree::selectedNode(m_tree);
    if (!node) {
        MessageBoxes::plain(m_window, NoNodeSelected);
        return;
    }
    if (CategoryTree::isRoot(node)) {
        MessageBoxes::show(m_window, QStringLiteral("这是软件定义的根目录，你不能修改！"),
                           MessageBoxes::AppTitle, QMessageBox::Warning);
        return;
    }
    const QString name = askName(QStringLiteral("请输入新的名字"), QStringLiteral("请输入新的名字："),
                                 node->text(0), siblingNames(node));
    if (name.isEmpty())
        return;
    const QStringList path = CategoryTree::pathOf(node);
    for (int attempt = 1; node; ++attempt) {
        const QString oldName = node->text(0);
        // The materials' new category is committed only together with the tree that names it.
        node->setText(0, name);
        QString error;
        if (Material::renameCategory(path.at(1), path.value(2), path.at(0), name,
                                     [&] { return saveTree(&error); }))
            return;
        node->setText(0, oldName);
        node = afterFailedSave(path, attempt, error);
        const QString refusal = node ? CategoryNames::refusal(name, siblingNames(node)) : QString();
        if (!refusal.isEmpty()) {
            refuseAfterReload(refusal);
            return;
        }
    }
}

void CategoryCommands::deleteCategory()
{
    QTreeWidgetItem *node = CategoryTree::selectedNode(m_tree);
    if (!node) {
        MessageBoxes::plain(m_window, NoNodeSelected);
        return;
    }
    if (CategoryTree::isRoot(node)) {
        MessageBoxes::show(m_window, QStringLiteral("这是本软件定义的根目录，不能删除"),
                           MessageBoxes::AppTitle, QMessageBox::Warning);
        return;
    }
    if (MessageBoxes::show(m_window,
                           QStringLiteral("删除分类“") + node->text(0) +
                               QStringLiteral("”，将删除他的子分类及所有属于他的资料，要继续吗？"),
                           MessageBoxes::AppTitle, QMessageBox::NoIcon,
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    const QStringList path = CategoryTree::pathOf(node);
    for (int attempt = 1; node; ++attempt) {
        // The materials are deleted only together with a saved tree that no longer names them.
        QTreeWidgetItem *parent = node->parent();
        const int position = parent->indexOfChild(node);
        parent->takeChild(position);
        QString error;
        if (Material::deleteCategory(path.at(1), path.value(2), path.at(0),
                                     [&] { return saveTree(&error); })) {
            delete node; // its children go with it
            return;
        }
        parent->insertChild(position, node);
        CategoryTree::selectNode(m_tree, node);
        node = afterFailedSave(path, attempt, error);
    }
}

bool CategoryCommands::saveTree(QString *error)
{
    return m_treeStore->save(CategoryTree::collect(m_tree), error);
}

void CategoryCommands::refuseUnsaved(const QString &error)
{
    const QString text = QStringLiteral("无法保存%1：%2\n分类没有改动。").arg(m_treeStore->name(), error);
    emit statusChanged(text);
    MessageBoxes::show(m_window, text, MessageBoxes::AppTitle, QMessageBox::Warning);
}

QTreeWidgetItem *CategoryCommands::afterFailedSave(const QStringList &path, int attempt, const QString &error)
{
    // Nothing to do again when the save failed for a reason of its own, which the database has
    // reported already when it gave none.
    if (!m_treeStore->movedOn()) {
        if (!error.isEmpty())
            refuseUnsaved(error);
        return nullptr;
    }
    QVector<TreeNode> roots;
    QString why;
    if (!TreeRetry::reload(m_treeStore, attempt, &roots, &why)) {
        // After an earlier attempt the tree shown is another copy's already.
        attempt > 1 ? refuseAfterReload(why) : refuseUnsaved(why);
        return nullptr;
    }
    CategoryTree::refill(m_tree, roots);
    emit treeReloaded();
    QTreeWidgetItem *node = CategoryTree::nodeAt(m_tree, path);
    if (!node)
        refuseAfterReload(QStringLiteral("分类“%1”刚刚在另一台电脑上被删除或改名。").arg(path.last()));
    return node;
}

void CategoryCommands::refuseAfterReload(const QString &why)
{
    const QString text = QStringLiteral("另一台电脑刚刚改动了分类，左边显示的是改动后的分类树。\n") + why +
                         QStringLiteral("\n这次没有改动。");
    emit statusChanged(text.section(QLatin1Char('\n'), 0, 0));
    MessageBoxes::show(m_window, text, MessageBoxes::AppTitle, QMessageBox::Warning);
}
