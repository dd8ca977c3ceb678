#include "browse/DetailPane.h"

#include "browse/ActionLink.h"
#include "browse/DetailRows.h"
#include "browse/MaterialListModel.h"
#include "browse/TNewFrmViewer.h"
#include "browse/ViewerLook.h"
#include "resources/IconLibrary.h"
#include "shell/MessageBoxes.h"
#include "shell/MessageNumbers.h"
#include "shell/TMainForm.h"
#include "store/TFile.h"
#include "store/TFileExe.h"
#include "store/TFileText.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QUrl>

QString RunPath;

namespace {
// A value cell shows one line; the row keeps its text as it is.
QString singleLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}
} // namespace

DetailPane::DetailPane(TMainForm &form) : QObject(&form), m_form(form)
{
    QTreeWidget *pane = m_form.MainDetail;
    pane->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Row captions may be edited in place; the edit goes nowhere.
    connect(pane, &QTreeWidget::itemDoubleClicked, pane, [pane](QTreeWidgetItem *item, int column) {
        if (column == 0)
            pane->editItem(item, 0);
    });
}

void DetailPane::removeLinks()
{
    qDeleteAll(m_links);
    m_links.clear();
}

void DetailPane::clear()
{
    removeLinks();
    m_form.MainDetail->clear();
}

void DetailPane::MainDetailShow(const QModelIndex &item, bool selected)
{
    removeLinks();
    if (!selected || !item.isValid())
        return;
    m_form.MainDetail->clear();
    const int image = item.data(MaterialListModel::ImageRole).toInt();
    const qint64 id = item.data(MaterialListModel::IdRole).toLongLong();
    if (image == ListEntry::TextMaterial) {
        TFileText record;
        record.LoadRecord(id);
        showRows(DetailRows::textRows(record, id, m_form.BrowseInNewWindow == 1));
    } else if (image == ListEntry::InstanceMaterial) {
        TFileExe record;
        record.LoadRecord(id);
        RunPath = record.fpath;
        showRows(DetailRows::instanceRows(record, id));
    } else {
        showCategory(item.data(Qt::DisplayRole).toString(), image);
    }
}

void DetailPane::showCategory(const QString &caption, int image)
{
    const bool topLevel = image == ListEntry::TopLevel;
    QTreeWidgetItem *node = nullptr;
    QString statement;
    if (topLevel) {
        node = CategoryTree::findByText(m_form.MainTreeView, caption);
        statement = DetailRows::countStatementOfKind(caption);
    } else if (QTreeWidgetItem *selectedNode = m_form.selectedNode()) {
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
    const bool counted = !statement.isEmpty() && TFile::CountRows(statement, count);
    showRows(
        DetailRows::categoryRows(topLevel, DetailRows::childrenValue(CategoryTree::childNames(node)),
                                 counted ? QStringLiteral("共%1个").arg(count) : QStringLiteral("无法统计")));
}

void DetailPane::showRows(const QList<DetailRow> &rows)
{
    QTreeWidget *pane = m_form.MainDetail;
    const QIcon rowIcon = IconLibrary::detailImage(0);
    for (const DetailRow &row : rows) {
        auto *item = new QTreeWidgetItem(pane, {row.caption, singleLine(row.value)});
        item->setIcon(0, rowIcon);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        if (row.link.isEmpty())
            continue;
        auto *link = new ActionLink(row.link, row.linkTag, pane->viewport());
        const QRect bounds = pane->visualItemRect(item);
        link->move(pane->header()->sectionSize(0) + bounds.left() + 300, bounds.top() + 1);
        link->show();
        if (row.link == DetailRows::ViewHere)
            connect(link, &ActionLink::clicked, this, &DetailPane::ViewInThisFrm);
        else if (row.link == DetailRows::Run)
            connect(link, &ActionLink::clicked, this, &DetailPane::RunDetail);
        else
            connect(link, &ActionLink::clicked, this, &DetailPane::ViewInNewFrm);
        m_links.append(link);
    }
}

void DetailPane::ViewInThisFrm(ActionLink *link)
{
    QPlainTextEdit *viewer = m_form.ThisFrmViewer;
    viewer->clear();
    TFileText record;
    record.LoadRecord(link->tag());
    ViewerLook::applyBackColor(viewer, m_form.ViewerBackColor);
    ThisFrmFontInit();
    viewer->setPlainText(DetailRows::composedText(record).join(QLatin1Char('\n')));
    viewer->show();
    viewer->raise();
}

void DetailPane::ThisFrmFontInit()
{
    ViewerLook::applyFont(m_form.ThisFrmViewer, &m_form);
}

void DetailPane::ViewInNewFrm(ActionLink *link)
{
    TNewFrmViewer *viewer =
        m_form.WindowPerMaterial == 1 ? nullptr : TNewFrmViewer::findByCaption(LastViewerCaption);
    if (!viewer) {
        viewer = new TNewFrmViewer(link->text(), link->tag(), m_form.ViewerBackColor);
        viewer->show();
        return;
    }
    viewer->setBackColor(m_form.ViewerBackColor);
    const int kind =
        link->text() == DetailRows::ViewAbout ? TNewFrmViewer::AboutKind : TNewFrmViewer::TextKind;
    ParamMessageEvent refill(MessageNumber::ReView, kind, link->tag());
    QCoreApplication::sendEvent(viewer, &refill);
}

void DetailPane::RunDetail()
{
    if (!QFileInfo::exists(RunPath)) {
        MessageBoxes::plain(&m_form, QStringLiteral("资料路径有错，不存在该路径，请修改。"));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(RunPath));
}
