#include "browse/MaterialListView.h"

#include "browse/CaptionWidths.h"
#include "browse/MaterialListDelegate.h"

#include <QPainter>

MaterialListView::~MaterialListView() = default;

MaterialListView::MaterialListView(QWidget *parent)
    : QListView(parent), m_delegate(new MaterialListDelegate(this))
{
    setItemDelegate(m_delegate);
    applyViewStyle(LargeIcons);
}

void MaterialListView::applyViewStyle(int style)
{
    m_style = style == SmallIcons || style == List ? style : LargeIcons;
    const bool large = m_style == LargeIcons;
    // The large icons too: an icon view keeps an item of its own for every entry.
    setViewMode(QListView::ListMode);
    setFlow(m_style == List ? QListView::TopToBottom : QListView::LeftToRight);
    setWrapping(true);
    setIconSize(large ? QSize(LargeIconSize, LargeIconSize) : QSize(SmallIconSize, SmallIconSize));
    setMovement(QListView::Static);
    m_delegate->setIconAbove(large);
}

void MaterialListView::fitCaptions(const ListEntries &entries)
{
    const int lineHeight = fontMetrics().lineSpacing();
    QSize size;
    if (m_style == LargeIcons) {
        size = QSize(LargeCellWidth, MaterialListDelegate::captionTop(QRect(), LargeIconSize) +
                                         MaterialListDelegate::CaptionLines * lineHeight +
                                         MaterialListDelegate::Margin);
    } else {
        // Characters measured once stay measured: the next list mostly holds the same ones.
        if (!m_widths || m_widths->font() != font())
            m_widths = std::make_unique<CaptionWidths>(font());
        int widest = 0;
        for (int row = 0; row < entries.size(); ++row)
            widest = qMax(widest, m_widths->width(entries, row));
        // The style's margins around the icon and the text, as item views draw them.
        const int margins = 4 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
        size = QSize(SmallIconSize + widest + margins + 2 * MaterialListDelegate::Margin,
                     qMax(SmallIconSize, lineHeight) + 2 * MaterialListDelegate::Margin);
    }
    m_delegate->setItemSize(size);
    setGridSize(m_style == LargeIcons ? size : QSize());
    // Laid out once the model's reset is over, together with what the reset asks for.
    scheduleDelayedItemsLayout();
}

QStringList MaterialListView::wholeCaption(const QModelIndex &index) const
{
    if (m_style != LargeIcons || !index.isValid())
        return {};
    const QStringList lines =
        MaterialListDelegate::captionLines(index.data(Qt::DisplayRole).toString(), font(),
                                           visualRect(index).width() - 2 * MaterialListDelegate::Margin, 0);
    return lines.size() > MaterialListDelegate::CaptionLines ? lines : QStringList();
}

QRect MaterialListView::shownRect(const QModelIndex &index) const
{
    const QRect cell = visualRect(index);
    const int lines = static_cast<int>(wholeCaption(index).size());
    if (lines == 0)
        return cell;
    const int bottom =
        MaterialListDelegate::captionTop(cell, LargeIconSize) + lines * fontMetrics().lineSpacing();
    return cell.united(QRect(cell.x(), cell.y(), cell.width(), bottom - cell.y()));
}

void MaterialListView::updateSelectedRects()
{
    if (!selectionModel())
        return;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected)
        viewport()->update(shownRect(index));
}

void MaterialListView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QListView::selectionChanged(selected, deselected);
    for (const QItemSelection &change : {selected, deselected}) {
        for (const QModelIndex &index : change.indexes())
            viewport()->update(shownRect(index));
    }
}

void MaterialListView::focusInEvent(QFocusEvent *event)
{
    QListView::focusInEvent(event);
    updateSelectedRects();
}

void MaterialListView::focusOutEvent(QFocusEvent *event)
{
    QListView::focusOutEvent(event);
    updateSelectedRects();
}

void MaterialListView::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    const QModelIndexList selected =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    const QStringList lines = selected.isEmpty() ? QStringList() : wholeCaption(selected.first());
    if (lines.isEmpty())
        return;
    const QRect cell = visualRect(selected.first());
    const int width = cell.width() - 2 * MaterialListDelegate::Margin;
    const int lineHeight = fontMetrics().lineSpacing();
    int top = MaterialListDelegate::captionTop(cell, LargeIconSize);
    QPainter painter(viewport());
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    painter.fillRect(QRect(cell.x(), top, cell.width(), static_cast<int>(lines.size()) * lineHeight),
                     palette().brush(group, QPalette::Highlight));
    painter.setPen(palette().color(group, QPalette::HighlightedText));
    for (const QString &line : lines) {
        painter.drawText(QRect(cell.x() + MaterialListDelegate::Margin, top, width, lineHeight),
                         Qt::AlignHCenter | Qt::AlignTop, line);
        top += lineHeight;
    }
}
