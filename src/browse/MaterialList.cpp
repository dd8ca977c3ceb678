#include "browse/MaterialList.h"

#include "browse/MaterialListModel.h"
#include "store/Material.h"
#include "store/Statements.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"

#include <QEvent>
#include <QListView>
#include <QTreeWidget>

MaterialList::MaterialList(QTreeWidget *tree, QWidget *parent)
    : QObject(parent), m_tree(tree), m_view(new QListView(parent)), m_model(new MaterialListModel(this)),
      m_searchResults(new MaterialListModel(this))
{
    m_view->setObjectName(QStringLiteral("materialList"));
    m_view->setModel(m_model);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setUniformItemSizes(true);
    // One pass: in icon mode every batch that reaches past the view rebuilds the whole item tree.
    // A fixed layout: its bounds already leave room for a scroll bar, so one coming or going
    // needs no second layout; a window resize refreshes the list, a splitter move lays it out.
    m_view->setLayoutMode(QListView::SinglePass);
    m_view->setResizeMode(QListView::Fixed);
    m_view->setMovement(QListView::Static);
    m_view->setWordWrap(true);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->viewport()->installEventFilter(this);
    connect(m_view, &QListView::doubleClicked, this, &MaterialList::entryActivated);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                if (!selected.indexes().isEmpty())
                    emit entrySelectionChanged(selected.indexes().first(), true);
                else if (!deselected.indexes().isEmpty())
                    emit entrySelectionChanged(deselected.indexes().first(), false);
            });
    setViewStyle(LargeIcons);
}

bool MaterialList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonRelease)
        emit clicked();
    return QObject::eventFilter(watched, event);
}

int MaterialList::selectedRow() const
{
    const QModelIndexList rows = m_view->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

ListEntry MaterialList::selectedEntry() const
{
    return m_model->entry(selectedRow());
}

void MaterialList::setViewStyle(int style)
{
    m_viewStyle = style;
    switch (style) {
    case SmallIcons:
        m_view->setViewMode(QListView::ListMode);
        m_view->setFlow(QListView::LeftToRight);
        m_view->setWrapping(true);
        m_view->setIconSize(QSize(16, 16));
        m_view->setGridSize(QSize());
        break;
    case List:
        m_view->setViewMode(QListView::ListMode);
        m_view->setFlow(QListView::TopToBottom);
        m_view->setWrapping(true);
        m_view->setIconSize(QSize(16, 16));
        m_view->setGridSize(QSize());
        break;
    default:
        m_viewStyle = LargeIcons;
        m_view->setViewMode(QListView::IconMode);
        m_view->setFlow(QListView::LeftToRight);
        m_view->setWrapping(true);
        m_view->setIconSize(QSize(24, 24));
        m_view->setGridSize(QSize(96, 56));
        break;
    }
    m_view->setMovement(QListView::Static);
}

void MaterialList::showLargeIcons()
{
    setViewStyle(LargeIcons);
}

void MaterialList::showSmallIcons()
{
    setViewStyle(SmallIcons);
}

void MaterialList::showAsList()
{
    setViewStyle(List);
}

void MaterialList::showTopLevel()
{
    m_model->setEntries({{NodeRules::TextRootText, ListEntry::TopLevel, 0},
                         {NodeRules::InstanceRootText, ListEntry::TopLevel, 0}});
}

void MaterialList::refresh()
{
    emit refreshStarted();
    emit progressChanged(0);
    m_view->viewport()->update();

    QTreeWidgetItem *node = CategoryTree::selectedNode(m_tree);
    if (!node)
        return;
    if (CategoryTree::isSearchResultNode(node)) {
        m_model->setEntries(m_searchResults->entries());
        return;
    }
    m_model->clear();
    const QString text = node->text(0);
    if (node->childCount() == 0 && (text == NodeRules::TextRootText || text == NodeRules::InstanceRootText))
        return;

    const QStringList path = CategoryTree::pathOf(node);
    if (node->childCount() > 0) {
        QVector<ListEntry> children;
        children.reserve(node->childCount());
        for (int i = 0; i < node->childCount(); ++i) {
            const QTreeWidgetItem *child = node->child(i);
            children.append({child->text(0),
                             child->childCount() > 0 ? ListEntry::CategoryWithChildren : ListEntry::Category,
                             0});
        }
        m_model->setEntries(children);
        if (path.size() == 2)
            readMaterials(path.at(1), QString(), path.at(0));
    } else if (path.size() >= 2) {
        readMaterials(path.at(1), path.value(2), path.at(0));
    }
    emit categoryShown(node);
}

void MaterialList::readMaterials(const QString &category, const QString &subcategory, const QString &rootText)
{
    const int image =
        rootText == NodeRules::TextRootText ? ListEntry::TextMaterial : ListEntry::InstanceMaterial;
    emit progressChanged(3);
    emit statusChanged(QStringLiteral("正在从数据库读取数据！"));
    QVector<ListEntry> entries;
    QString error;
    const bool ok =
        readListEntries(Statements::list(category, subcategory, rootText, m_order), image, &entries, &error);
    // Entries read before a failure stay listed.
    m_model->append(entries);
    if (ok) {
        emit progressChanged(100);
        emit statusChanged(QStringLiteral("数据库操作成功！"));
    } else {
        emit statusChanged(error + Material::FatalSuffix);
        emit progressChanged(0);
    }
}

void MaterialList::showOnceByTitle()
{
    showOnceInOrder(ByTitle);
}

void MaterialList::showOnceByTime()
{
    showOnceInOrder(ByTime);
}

void MaterialList::showOnceInOrder(int order)
{
    const int remembered = m_order;
    m_order = order;
    refresh();
    m_order = remembered;
}
