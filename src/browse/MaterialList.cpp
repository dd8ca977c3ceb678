#include "browse/MaterialList.h"

#include "browse/ListReader.h"
#include "browse/MaterialListModel.h"
#include "browse/MaterialListView.h"
#include "store/Database.h"
#include "store/Material.h"
#include "store/Statements.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QListView>
#include <QTreeWidget>

#include <utility>

MaterialList::MaterialList(QTreeWidget *tree, QWidget *parent)
    : QObject(parent), m_tree(tree), m_view(new MaterialListView(parent)),
      m_model(new MaterialListModel(this)), m_searchResults(new MaterialListModel(this))
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
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->setAccessibleName(QStringLiteral("资料列表"));
    // Sized once per change of entries, never per entry or per paint.
    connect(m_model, &QAbstractItemModel::modelReset, this, &MaterialList::fitCaptions);
    m_view->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);
    connect(m_view, &QListView::doubleClicked, this, &MaterialList::entryActivated);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                if (!selected.indexes().isEmpty())
                    emit entrySelectionChanged(selected.indexes().first(), true);
                else if (!deselected.indexes().isEmpty())
                    emit entrySelectionChanged(deselected.indexes().first(), false);
            });
    setViewStyle(MaterialListView::LargeIcons);
}

bool MaterialList::eventFilter(QObject *watched, QEvent *event)
{
    // Enter opens the selected entry, as a double click does.
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && selectedRow() >= 0) {
            emit entryActivated(m_model->index(selectedRow(), 0));
            return true;
        }
    }
    if (watched != m_view->viewport())
        return QObject::eventFilter(watched, event);
    // The release that ends a double click belongs to it, not to a click of its own: it would
    // undo what the double click's walk just set up.
    if (event->type() == QEvent::MouseButtonDblClick)
        m_releaseEndsDoubleClick = true;
    else if (event->type() == QEvent::MouseButtonRelease && std::exchange(m_releaseEndsDoubleClick, false))
        return false;
    else if (event->type() == QEvent::MouseButtonRelease)
        emit clicked();
    return QObject::eventFilter(watched, event);
}

QListView *MaterialList::view() const
{
    return m_view;
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
    m_view->applyViewStyle(style);
    // The entries held are laid out anew; the database is not read again.
    fitCaptions();
}

void MaterialList::fitCaptions()
{
    m_view->fitCaptions(m_model->list());
}

int MaterialList::viewStyle() const
{
    return m_view->viewStyle();
}

void MaterialList::showLargeIcons()
{
    setViewStyle(MaterialListView::LargeIcons);
}

void MaterialList::showSmallIcons()
{
    setViewStyle(MaterialListView::SmallIcons);
}

void MaterialList::showAsList()
{
    setViewStyle(MaterialListView::List);
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
        m_model->setEntries(m_searchResults->list());
        emit searchResultsShown();
        return;
    }
    // Sub-categories first, then the materials: one reset of the model, one layout. They are
    // read into the storage of the list before last: growing a fresh one page by page costs as
    // much as the reading.
    ListEntries &entries = m_spareEntries;
    entries.clear();
    const QStringList path = CategoryTree::pathOf(node);
    bool read = true;
    if (node->childCount() > 0) {
        for (int i = 0; i < node->childCount(); ++i) {
            const QTreeWidgetItem *child = node->child(i);
            entries.append({child->text(0),
                            child->childCount() > 0 ? ListEntry::CategoryWithChildren : ListEntry::Category,
                            0});
        }
        if (path.size() == 2)
            read = readMaterials(path.at(1), QString(), path.at(0), &entries);
    } else if (path.size() >= 2) {
        read = readMaterials(path.at(1), path.value(2), path.at(0), &entries);
    }
    // A shared base that cannot be reached leaves the list as it was: what it showed is still
    // worth reading, and an empty list would look like a category emptied by someone.
    const Database *database = Database::current();
    if (!read && database && database->isServer())
        return;
    m_model->swapEntries(entries);
    if (!CategoryTree::isRoot(node) || node->childCount() > 0)
        emit categoryShown(node);
}

void MaterialList::refreshKeepingSelection()
{
    const ListEntry selected = selectedEntry();
    refresh();
    if (!selected.isMaterial())
        return;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const ListEntry entry = m_model->entry(row);
        if (entry.id == selected.id && entry.image == selected.image) {
            m_view->setCurrentIndex(m_model->index(row, 0));
            return;
        }
    }
}

bool MaterialList::readMaterials(const QString &category, const QString &subcategory, const QString &rootText,
                                 ListEntries *entries)
{
    const int image =
        rootText == NodeRules::TextRootText ? ListEntry::TextMaterial : ListEntry::InstanceMaterial;
    emit progressChanged(3);
    emit statusChanged(QStringLiteral("正在从数据库读取数据！"));
    QString error;
    // Entries read before a failure stay listed.
    if (ListReader::read(Statements::list(category, subcategory, rootText, m_order), image, entries,
                         &error)) {
        emit progressChanged(100);
        emit statusChanged(QStringLiteral("数据库操作成功！"));
        return true;
    }
    emit statusChanged(Material::failureStatus(error));
    emit progressChanged(0);
    return false;
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
