#pragma once

#include "browse/ListEntries.h"

#include <QListView>

#include <memory>

class CaptionWidths;
class MaterialListDelegate;

// The list view of the material list in its three styles: large icons (a grid of fixed cells,
// captions on up to two lines, the selected one whole), small icons and list (entries as wide as
// the widest caption). The entries' size is fitted once per change of entries or style, and all
// three styles are laid out as rows or columns of one size, which costs nothing per entry.
class MaterialListView : public QListView
{
    Q_OBJECT
public:
    enum ViewStyle { LargeIcons = 0, SmallIcons = 1, List = 2 };
    static constexpr int LargeIconSize = 24;
    static constexpr int SmallIconSize = 16;
    static constexpr int LargeCellWidth = 96;

    explicit MaterialListView(QWidget *parent);
    ~MaterialListView() override;

    // Any other number is the large-icon style.
    void applyViewStyle(int style);
    int viewStyle() const { return m_style; }
    // Sizes every entry for these captions and lays the list out again.
    void fitCaptions(const ListEntries &entries);

protected:
    // Over the grid, the selected entry's caption whole when two lines do not hold it.
    void paintEvent(QPaintEvent *event) override;
    // What the whole caption covered is painted again when the selection or the focus moves.
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // The selected entry's caption lines when two do not hold it; none otherwise.
    QStringList wholeCaption(const QModelIndex &index) const;
    // The entry's cell and, below it, what its whole caption covers.
    QRect shownRect(const QModelIndex &index) const;
    void updateSelectedRects();

    MaterialListDelegate *m_delegate;
    std::unique_ptr<CaptionWidths> m_widths;
    int m_style = LargeIcons;
};
