#include "edit/MaterialMover.h"

#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "resources/IconLibrary.h"
#include "store/Material.h"
#include "store/RootKinds.h"
#include "store/Statements.h"
#include "tree/CategoryCheck.h"
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

MaterialMover::MaterialMover(QTreeWidget *tree, MaterialList *list, QMenu *listMenu, CategoryCheck *check,
                             QWidget *window)
    : QObject(window), m_tree(tree), m_list(list), m_listMenu(listMenu), m_categoryCheck(check),
      m_window(window)
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

    // Each kind's materials go under its own root's categories, never the search results; a
    // first-level category with children offers only its children.
    const QTreeWidgetItem *root =
        text ? m_tree->topLevelItem(0) : CategoryTree::findRoot(m_tree, NodeRules::InstanceRootText);
    for (int i = 0; root && i < root->childCount(); ++i) {
        const QTreeWidgetItem *firstLevel = root->child(i);
        const QString firstLevelName = firstLevel->text(0);
        if (firstLevel->childCount() == 0) {
            menu->addAction(exactCaption(firstLevelName))->setData(QStringList{firstLevelName, QString()});
            continue;
        }
        QMenu *subMenu = menu->addMenu(exactCaption(firstLevelName));
        for (int j = 0; j < firstLevel->childCount(); ++j) {
            const QString name = firstLevel->child(j)->text(0);
            subMenu->addAction(exactCaption(name))->setData(QStringList{firstLevelName, name});
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
    const QString table = Statements::tableOfMaterialImage(entry.image);
    const QString sql = Statements::moveMaterial(table, pair.at(0), pair.at(1), entry.id);
    QString failure;
    const QString root =
        table == RootKinds::TextTable ? RootKinds::TextRootText : RootKinds::InstanceRootText;
    if (!m_categoryCheck->save(
            {root, pair.at(0), pair.at(1)}, [&sql] { return Material::executeStatement(sql); }, &failure) &&
        !failure.isEmpty())
        MessageBoxes::show(m_window, failure, MessageBoxes::AppTitle, QMessageBox::Warning);
    m_list->refresh();
}

void MaterialMover::explainMoving()
{
    MessageBoxes::plain(m_window, QStringLiteral("要使用该功能，直接在选中的资料上单击右键。"));
}
