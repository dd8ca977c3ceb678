#include "browse/Navigator.h"

#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"
#include "widgets/ToolButtonImage.h"

#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>

namespace {
// Pictures of the main image list: available, and the unavailable look.
constexpr int BackAvailable = 14;
constexpr int ForwardAvailable = 15;
constexpr int UpAvailable = 16;
constexpr int BackUnavailable = 17;
constexpr int ForwardUnavailable = 18;
constexpr int UpUnavailable = 19;
} // namespace

Navigator::Navigator(QTreeWidget *tree, MaterialList *list, QWidget *window)
    : QObject(window), m_tree(tree), m_list(list), m_backMenu(new QMenu(window)),
      m_forwardMenu(new QMenu(window))
{
    m_backMenu->setObjectName(QStringLiteral("backMenu"));
    m_forwardMenu->setObjectName(QStringLiteral("forwardMenu"));
    connect(m_backMenu, &QMenu::aboutToShow, this,
            [this] { fillHistoryMenu(m_backMenu, m_back, &Navigator::backMenuEntryChosen); });
    connect(m_forwardMenu, &QMenu::aboutToShow, this,
            [this] { fillHistoryMenu(m_forwardMenu, m_forward, &Navigator::forwardMenuEntryChosen); });
    connect(m_list, &MaterialList::refreshStarted, this, &Navigator::markUpAvailable);
    connect(m_list, &MaterialList::categoryShown, this, &Navigator::recordVisit);
    connect(m_list, &MaterialList::searchResultsShown, this, &Navigator::leaveHistory);
    connect(m_list, &MaterialList::entryActivated, this, &Navigator::openSelectedEntry);
}

void Navigator::attachButtons(QToolButton *back, QToolButton *forward, QToolButton *up)
{
    m_backButton = back;
    m_forwardButton = forward;
    m_upButton = up;
    m_backButton->setMenu(m_backMenu);
    m_backButton->setPopupMode(QToolButton::MenuButtonPopup);
    m_forwardButton->setMenu(m_forwardMenu);
    m_forwardButton->setPopupMode(QToolButton::MenuButtonPopup);
    ToolButtonImage::set(m_backButton, BackUnavailable);
    ToolButtonImage::set(m_forwardButton, ForwardUnavailable);
    ToolButtonImage::set(m_upButton, UpUnavailable);
    connect(m_backButton, &QToolButton::clicked, this, &Navigator::goBack);
    connect(m_forwardButton, &QToolButton::clicked, this, &Navigator::goForward);
    connect(m_upButton, &QToolButton::clicked, this, &Navigator::goUp);
}

QTreeWidgetItem *Navigator::selectedNode() const
{
    return CategoryTree::selectedNode(m_tree);
}

void Navigator::clearHistory()
{
    m_back.clear();
    m_forward.clear();
}

void Navigator::markUpAvailable()
{
    ToolButtonImage::set(m_upButton, UpAvailable);
}

void Navigator::visitSelectedCategory()
{
    m_userNavigated = true;
    m_list->refresh();
}

void Navigator::leaveHistory()
{
    m_offHistory = !m_current.isEmpty();
    m_userNavigated = false;
    if (m_offHistory)
        ToolButtonImage::set(m_backButton, BackAvailable);
}

void Navigator::recordVisit(const QTreeWidgetItem *node)
{
    m_offHistory = false;
    const Location location = CategoryTree::locationOf(node);
    if (!location.isEmpty())
        m_current = location;
    if (m_userNavigated) {
        if (!m_previous.isEmpty() && m_previous != m_current) {
            m_back.push(m_previous);
            if (ToolButtonImage::of(m_backButton) == BackUnavailable)
                ToolButtonImage::set(m_backButton, BackAvailable);
            m_forward.clear();
            ToolButtonImage::set(m_forwardButton, ForwardUnavailable);
        }
        m_userNavigated = false;
    }
    m_previous = m_current;
}

void Navigator::openSelectedEntry()
{
    m_userNavigated = true;
    const int row = m_list->selectedRow();
    if (row < 0)
        return;
    const ListEntry entry = m_list->model()->entry(row);
    if (entry.isMaterial())
        return;
    if (entry.image == ListEntry::TopLevel) {
        QTreeWidgetItem *root = entry.caption == NodeRules::TextRootText
                                    ? m_tree->topLevelItem(0)
                                    : CategoryTree::findRoot(m_tree, entry.caption);
        if (!root)
            return;
        CategoryTree::selectNode(m_tree, root);
        visitSelectedCategory();
        markUpAvailable();
        return;
    }
    const int from = qMax(0, CategoryTree::indexOf(m_tree, selectedNode()));
    QTreeWidgetItem *node = CategoryTree::findByText(m_tree, entry.caption, from);
    if (!node)
        return;
    if (node->childCount() > 0) {
        CategoryTree::selectNode(m_tree, node);
        if (!node->isExpanded())
            node->setExpanded(true);
        visitSelectedCategory();
        markUpAvailable();
    } else if (entry.image == ListEntry::Category) {
        CategoryTree::selectNode(m_tree, node);
        m_list->refresh();
        markUpAvailable();
    }
}

bool Navigator::goTo(const Location &location)
{
    // The kept names are looked up level by level, so a name with "-" or equal to "null" is no
    // obstacle; a renamed or deleted category is simply not there.
    const QStringList &names = location.names();
    QTreeWidgetItem *node = names.isEmpty() ? nullptr : CategoryTree::findRoot(m_tree, names.first());
    for (int level = 1; node && level < names.size(); ++level) {
        QTreeWidgetItem *parent = node;
        node = nullptr;
        for (int i = 0; i < parent->childCount() && !node; ++i) {
            if (parent->child(i)->text(0) == names.at(level))
                node = parent->child(i);
        }
    }
    if (!node) {
        emit statusChanged(QStringLiteral("分类“%1”已不存在，已从历史记录中去掉").arg(location.text()));
        return false;
    }
    CategoryTree::selectNode(m_tree, node);
    // A step through the history is no new visit, whatever an earlier click left behind.
    m_userNavigated = false;
    m_list->refresh();
    return true;
}

void Navigator::walkHistory(HistoryList &from, HistoryList &to, int position)
{
    const QVector<Location> entries = from.menuEntries();
    if (position < 0 || position >= entries.size())
        return;
    const Location current = m_current;
    if (goTo(entries.at(position)))
        HistoryList::jump(from, to, position, current);
    else
        from.takeAt(position);
    showHistoryButtons();
}

void Navigator::showHistoryButtons()
{
    ToolButtonImage::set(m_backButton, m_back.isEmpty() ? BackUnavailable : BackAvailable);
    ToolButtonImage::set(m_forwardButton, m_forward.isEmpty() ? ForwardUnavailable : ForwardAvailable);
}

void Navigator::goBack()
{
    if (ToolButtonImage::of(m_backButton) != BackAvailable)
        return;
    // From a search's hits, back first to where the person was before them.
    if (m_offHistory) {
        if (!goTo(m_current))
            m_current = Location();
        m_offHistory = false;
        showHistoryButtons();
        return;
    }
    walkHistory(m_back, m_forward, 0);
}

void Navigator::goForward()
{
    if (ToolButtonImage::of(m_forwardButton) == ForwardAvailable)
        walkHistory(m_forward, m_back, 0);
}

void Navigator::goUp()
{
    if (ToolButtonImage::of(m_upButton) != UpAvailable)
        return;
    QTreeWidgetItem *node = selectedNode();
    if (node && node->parent()) {
        CategoryTree::selectNode(m_tree, node->parent());
        visitSelectedCategory();
        return;
    }
    // Above a root there is only the view of the two kinds, which is no location.
    m_list->showTopLevel();
    ToolButtonImage::set(m_upButton, UpUnavailable);
}

void Navigator::fillHistoryMenu(QMenu *menu, const HistoryList &list, void (Navigator::*chosen)(int))
{
    menu->clear();
    const QVector<Location> entries = list.menuEntries();
    for (int i = 0; i < entries.size(); ++i) {
        // "&&" shows a "&" as it stands instead of making the next letter an access key.
        QString caption = entries.at(i).text();
        QAction *action = menu->addAction(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(action, &QAction::triggered, this, [this, chosen, i] { (this->*chosen)(i); });
    }
}

void Navigator::backMenuEntryChosen(int position)
{
    if (position == 0)
        goBack();
    else
        walkHistory(m_back, m_forward, position);
}

void Navigator::forwardMenuEntryChosen(int position)
{
    if (position == 0)
        goForward();
    else
        walkHistory(m_forward, m_back, position);
}
