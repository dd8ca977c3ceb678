#include "browse/DetailPane.h"

#include "base/AnsiText.h"
#include "base/ShownText.h"
#include "browse/DetailRows.h"
#include "browse/GridLineDelegate.h"
#include "browse/InstanceLauncher.h"
#include "browse/MaterialListModel.h"
#include "browse/MaterialReader.h"
#include "browse/MaterialViewer.h"
#include "code/HighlightDefinitions.h"
#include "resources/IconLibrary.h"
#include "store/InstanceMaterial.h"
#include "store/Material.h"
#include "store/TextMaterial.h"
#include "tree/CategoryTree.h"
#include "widgets/ActionLink.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ProgramEvents.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTreeWidget>

namespace {
// A value cell shows one line of a bounded length; the row keeps its text as it is.
QString singleLine(const QString &value)
{
    QString text = ShownText::shortened(value, ShownText::ValueCharacters);
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}
} // namespace

DetailPane::DetailPane(QTreeWidget *categoryTree, QWidget *panel)
    : QObject(panel), m_definitions(std::make_shared<HighlightDefinitions>()), m_categoryTree(categoryTree),
      m_rows(new QTreeWidget(panel)),
      m_viewer(new MaterialReader(m_definitions.get(), QStringLiteral("inWindowViewer"), panel)),
      m_launcher(new InstanceLauncher(panel))
{
    m_rows->setObjectName(QStringLiteral("detailPane"));
    m_rows->setAccessibleName(QStringLiteral("资料详情"));
    m_rows->setColumnCount(2);
    m_rows->setHeaderLabels({QStringLiteral("名称"), QStringLiteral("值")});
    m_rows->header()->resizeSection(0, 100);
    m_rows->header()->resizeSection(1, 400);
    m_rows->header()->setStretchLastSection(false);
    m_rows->setRootIsDecorated(false);
    // Grid lines drawn by a delegate, not a style sheet: selected rows keep the style's
    // selection colours, and no style-sheet style has to be built at start.
    m_rows->setItemDelegate(new GridLineDelegate(m_rows));
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Row captions may be edited in place; the edit goes nowhere.
    connect(m_rows, &QTreeWidget::itemDoubleClicked, m_rows, [this](QTreeWidgetItem *item, int column) {
        if (column == 0)
            m_rows->editItem(item, 0);
    });

    m_viewer->hide();
    connect(m_viewer, &MaterialReader::statusChanged, this, &DetailPane::statusChanged);
}

DetailPane::~DetailPane() = default;

QWidget *DetailPane::window() const
{
    return m_rows->window();
}

void DetailPane::removeLinks()
{
    qDeleteAll(m_links);
    m_links.clear();
}

void DetailPane::clear()
{
    removeLinks();
    m_rows->clear();
}

void DetailPane::hideViewer()
{
    m_viewer->hide();
}

void DetailPane::showEntry(const QModelIndex &entry, bool selected)
{
    removeLinks();
    if (!selected || !entry.isValid())
        return;
    m_rows->clear();
    const int image = entry.data(MaterialListModel::ImageRole).toInt();
    const qint64 id = entry.data(MaterialListModel::IdRole).toLongLong();
    if (image == ListEntry::TextMaterial) {
        TextMaterial record;
        record.load(id);
        QList<DetailRow> rows = DetailRows::textRows(record, id, m_settings.browseInNewWindow);
        showMatchContext(rows, record.body);
        showRows(rows);
    } else if (image == ListEntry::InstanceMaterial) {
        InstanceMaterial record;
        record.load(id);
        m_runPath = record.path;
        QList<DetailRow> rows = DetailRows::instanceRows(record, id);
        showMatchContext(rows, record.description);
        showRows(rows);
    } else {
        showCategory(entry.data(Qt::DisplayRole).toString(), image);
    }
}

void DetailPane::showCategory(const QString &caption, int image)
{
    const bool topLevel = image == ListEntry::TopLevel;
    QTreeWidgetItem *node = nullptr;
    QString statement;
    if (topLevel) {
        node = CategoryTree::findRoot(m_categoryTree, caption);
        statement = DetailRows::countStatementOfKind(caption);
    } else if (QTreeWidgetItem *selectedNode = CategoryTree::selectedNode(m_categoryTree)) {
        // The first child of that name, else the last child.
        for (int i = 0; i < selectedNode->childCount() && !node; ++i) {
            if (selectedNode->child(i)->text(0) == caption)
                node = selectedNode->child(i);
        }
        if (!node && selectedNode->childCount() > 0)
            node = selectedNode->child(selectedNode->childCount() - 1);
        if (node) {
            const QStringList path = CategoryTree::pathOf(node);
            const bool secondLevel = image == ListEntry::Category && path.size() > 2;
            statement = DetailRows::countStatementOfCategory(path.first(), node->text(0),
                                                             secondLevel ? path.at(1) : QString());
        }
    }
    int count = 0;
    const bool counted = !statement.isEmpty() && Material::countRows(statement, count);
    showRows(
        DetailRows::categoryRows(topLevel, DetailRows::childrenValue(CategoryTree::childNames(node)),
                                 counted ? QStringLiteral("共%1个").arg(count) : QStringLiteral("无法统计")));
}

void DetailPane::showRows(const QList<DetailRow> &rows)
{
    const QIcon rowIcon = IconLibrary::detailImage(0);
    for (const DetailRow &row : rows) {
        auto *item = new QTreeWidgetItem(m_rows, {row.caption, singleLine(row.value)});
        item->setIcon(0, rowIcon);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        if (row.link.isEmpty())
            continue;
        auto *link = new ActionLink(row.link, row.linkTag, m_rows->viewport());
        // A long value runs on under the link: the link covers it instead of overprinting it.
        link->setAutoFillBackground(true);
        link->setBackgroundRole(QPalette::Base);
        const QRect bounds = m_rows->visualItemRect(item);
        link->move(m_rows->header()->sectionSize(0) + bounds.left() + 300, bounds.top() + 1);
        link->show();
        if (row.link == DetailRows::ViewHere)
            connect(link, &ActionLink::clicked, this, &DetailPane::viewHere);
        else if (row.link == DetailRows::Run)
            connect(link, &ActionLink::clicked, this, &DetailPane::runMaterial);
        else
            connect(link, &ActionLink::clicked, this, &DetailPane::viewInNewWindow);
        m_links.append(link);
    }
}

void DetailPane::viewHere(ActionLink *link)
{
    showHere(link->tag());
}

void DetailPane::viewInNewWindow(ActionLink *link)
{
    showInNewWindow(link->text(), link->tag());
}

void DetailPane::openEntry(const QModelIndex &entry)
{
    const int image = entry.data(MaterialListModel::ImageRole).toInt();
    const qint64 id = entry.data(MaterialListModel::IdRole).toLongLong();
    if (image == ListEntry::TextMaterial) {
        if (m_settings.browseInNewWindow)
            showInNewWindow(DetailRows::ViewInNewWindow, id);
        else
            showHere(id);
    } else if (image == ListEntry::InstanceMaterial) {
        InstanceMaterial record;
        record.load(id);
        m_launcher->launch(record.path);
    }
}

void DetailPane::showHere(qint64 id)
{
    m_viewer->clear();
    TextMaterial record;
    record.load(id);
    m_viewer->setBackColor(m_settings.backColor);
    m_viewer->readFont(window());
    m_viewer->showTextMaterial(record, id);
    m_viewer->show();
    m_viewer->raise();
    m_viewer->markTerms(listedQuery());
}

void DetailPane::showInNewWindow(const QString &linkCaption, qint64 id)
{
    MaterialViewer *viewer =
        m_settings.windowPerMaterial ? nullptr : MaterialViewer::findVisible(m_lastViewerCaption);
    if (!viewer) {
        viewer = new MaterialViewer(m_definitions, linkCaption, id, m_settings.backColor);
        // Closing any viewer forgets which one was filled last.
        connect(viewer, &MaterialViewer::closed, this, [this] { m_lastViewerCaption.clear(); });
        viewer->show();
    } else {
        viewer->setBackColor(m_settings.backColor);
        const int kind =
            linkCaption == DetailRows::ViewAbout ? MaterialViewer::DescriptionKind : MaterialViewer::TextKind;
        RefillViewerEvent refill(kind, id);
        QCoreApplication::sendEvent(viewer, &refill);
    }
    viewer->markTerms(listedQuery());
    m_lastViewerCaption = viewer->windowTitle();
}

FullTextQuery DetailPane::listedQuery() const
{
    return CategoryTree::isSearchResultNode(CategoryTree::selectedNode(m_categoryTree)) ? m_fullTextQuery
                                                                                        : FullTextQuery();
}

void DetailPane::showMatchContext(QList<DetailRow> &rows, const QStringList &lines) const
{
    const QString context = listedQuery().context(AnsiText::joinLines(lines));
    if (context.isEmpty())
        return;
    for (DetailRow &row : rows) {
        if (row.link == DetailRows::ViewHere || row.link == DetailRows::ViewInNewWindow ||
            row.link == DetailRows::ViewAbout)
            row.value = context + QStringLiteral("     ");
    }
}

void DetailPane::runMaterial()
{
    m_launcher->launch(m_runPath);
}
