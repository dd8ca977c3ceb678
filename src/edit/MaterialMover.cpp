#include "edit/MaterialMover.h"

#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "resources/IconLibrary.h"
#include "store/Material.h"
#include "store/Statements.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"
#include "widgets/MessageBoxes.h"

#include <QMenu>
#include <QTreeWidget>

namespace {
const QString MoveCaption = QStringLiteral("资料转移到");

// Menu captions show names as they are: "&" would otherwise become an accelerator mark.
QString exactCaption(QString name)
{
    return name.replace(QLatin1Char('&'), QStringLiteral("&&"));
}
} // namespace

MaterialMover::MaterialMover(QTreeWidget *tree, MaterialList *list, QMenu *listMenu, QWidget *window)
    : QObject(window), m_tree(tree), m_list(list), m_listMenu(listMenu), m_window(window)
{
}

QMenu *MaterialMover::moveMenu() const
{
    const QList<QAction *> actions = m_listMenu->actions();
    if (actions.isEmpty() || !actions.last()->menu() || !actions.last()->text().startsWith(MoveCaption))
        return nullptr;
    return actions.last()->menu();
}

void MaterialMover::rebuildMoveMenu()
{
    if (QMenu *previous = moveMenu()) {
        m_listMenu->removeAction(previous->menuAction());
        previous->deleteLater();
    }
    const int row = m_list->selectedRow();
    if (row < 0 || !m_list->model()->entry(row).isMaterial())
        return;
    const bool text = m_list->model()->entry(row).image == ListEntry::TextMaterial;

    auto *menu = new QMenu(MoveCaption, m_listMenu);
    menu->setIcon(IconLibrary::listImage(10));
    m_listMenu->addMenu(menu);
    connect(menu, &QMenu::triggered, this, &MaterialMover::moveSelectedMaterial);

    const QList<QTreeWidgetItem *> nodes = CategoryTree::flatItems(m_tree);
    int instanceIndex = 0;
    for (int i = 0; i < nodes.size(); ++i) {
        if (nodes.at(i)->text(0) == NodeRules::InstanceRootText) {
            instanceIndex = i;
            break;
        }
    }
    // Text materials go under the first node's categories, instance materials under the instance
    // root's; the tree's last node (the search results) is never a target.
    const int first = text ? 1 : instanceIndex + 1;
    const int last = text ? instanceIndex - 1 : static_cast<int>(nodes.size()) - 2;
    const QTreeWidgetItem *root = text ? nodes.value(0) : nodes.value(instanceIndex);
    QMenu *currentFirstLevel = nullptr;
    QString currentFirstLevelName;
    for (int i = first; i <= last && i < nodes.size(); ++i) {
        const QTreeWidgetItem *node = nodes.at(i);
        if (node->parent() == root) {
            currentFirstLevelName = node->text(0);
            if (node->childCount() > 0) {
                currentFirstLevel = menu->addMenu(exactCaption(currentFirstLevelName));
            } else {
                currentFirstLevel = nullptr;
                menu->addAction(exactCaption(currentFirstLevelName))
                    ->setData(QStringList{currentFirstLevelName, QString()});
            }
        } else if (node->parent() && node->parent()->parent() == root && currentFirstLevel) {
            currentFirstLevel->addAction(exactCaption(node->text(0)))
                ->setData(QStringList{currentFirstLevelName, node->text(0)});
        }
    }
}

void MaterialMover::moveSelectedMaterial(QAction *target)
{
    const QStringList pair = target->data().toStringList();
    const int row = m_list->selectedRow();
    if (pair.size() != 2 || row < 0)
        return;
    const ListEntry entry = m_list->model()->entry(row);
    Material::executeStatement(Statements::moveMaterial(Statements::tableOfMaterialImage(entry.image),
                                                        pair.at(0), pair.at(1), entry.id));
    m_list->refresh();
}

void MaterialMover::explainMoving()
{
    MessageBoxes::plain(m_window, QStringLiteral("要使用该功能，直接在选中的资料上单击右键。"));
}
