#pragma once

#include "browse/ListEntries.h"

#include <QObject>

class MaterialListModel;
class MaterialListView;
class QListView;
class QModelIndex;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The material list beside the category tree: what the selected node holds (its sub-categories,
// then its materials read from the database, or the last search's hits), in the chosen order
// and view style. It also keeps the hidden store of search hits.
class MaterialList : public QObject
{
    Q_OBJECT
public:
    // Orders, as the listing statement knows them.
    enum Order { Unsorted = 0, ByTitle = 1, ByTime = 2 };

    // The list follows the tree's selection; its view is a child of the parent widget.
    MaterialList(QTreeWidget *tree, QWidget *parent);

    QListView *view() const;
    MaterialListModel *model() const { return m_model; }
    // Never shown: the hits of the last search, which the "搜索结果" node lists.
    MaterialListModel *searchResults() const { return m_searchResults; }

    // The selected row, or -1; its entry (an empty one when nothing is selected).
    int selectedRow() const;
    ListEntry selectedEntry() const;

    int order() const { return m_order; }
    void setOrder(int order) { m_order = order; }
    // View styles, by the settings file's icon digit (MaterialListView::ViewStyle).
    int viewStyle() const;
    void setViewStyle(int style);

public slots:
    // Fills the list for the tree's selected node.
    void refresh();
    // The same, with the material that was selected selected again when it is still listed (its
    // detail pane shown anew).
    void refreshKeepingSelection();
    // The two kinds, as the view above the roots shows them.
    void showTopLevel();
    // The chosen order holds until the next refresh; the setting stays as it was.
    void showOnceByTitle();
    void showOnceByTime();
    void showLargeIcons();
    void showSmallIcons();
    void showAsList();

signals:
    void refreshStarted();
    // A category node was listed: a visit for the history.
    void categoryShown(const QTreeWidgetItem *node);
    // The hits of a search were listed: no place of the history.
    void searchResultsShown();
    void statusChanged(const QString &text);
    void progressChanged(int value);
    // A mouse button was released over the list.
    void clicked();
    // An entry was double-clicked, or Enter pressed on it.
    void entryActivated(const QModelIndex &entry);
    // The selected entry changed: the entry that was selected, or the one that no longer is.
    void entrySelectionChanged(const QModelIndex &entry, bool selected);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // False when the read failed; entries read before the failure stay in *entries.
    bool readMaterials(const QString &category, const QString &subcategory, const QString &rootText,
                       ListEntries *entries);
    void fitCaptions();
    void showOnceInOrder(int order);

    QTreeWidget *m_tree;
    MaterialListView *m_view;
    MaterialListModel *m_model;
    MaterialListModel *m_searchResults;
    ListEntries m_spareEntries;
    int m_order = ByTitle;
    bool m_releaseEndsDoubleClick = false;
};
