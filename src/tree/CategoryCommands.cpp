#include "tree/CategoryCommands.h"

#include "store/Material.h"
#include "tree/CategoryNames.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"
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

CategoryCommands::CategoryCommands(QTreeWidget *tree, QWidget *window)
    : QObject(window), m_tree(tree), m_window(window)
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
    if (node->parent())
        CategoryTree::addNode(node, name, NodeRules::SecondLevel, NodeRules::SecondLevel);
    else
        CategoryTree::addNode(node, name, NodeRules::FirstLevelCollapsed, NodeRules::FirstLevelExpanded);
    emit treeChanged();
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
    if (!Material::renameCategory(path.at(1), path.value(2), path.at(0), name))
        return; // the materials keep their category, so the tree keeps it too
    node->setText(0, name);
    emit treeChanged();
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
    if (!Material::deleteCategory(path.at(1), path.value(2), path.at(0)))
        return;
    delete node; // its children go with it
    emit treeChanged();
}
