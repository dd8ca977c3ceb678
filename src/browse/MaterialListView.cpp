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

void MaterialListView::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    if (m_style != LargeIcons)
        return;
    const QModelIndexList selected =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    if (selected.isEmpty())
        return;
    const QRect cell = visualRect(selected.first());
    const int width = cell.width() - 2 * MaterialListDelegate::Margin;
    const QStringList lines = MaterialListDelegate::captionLines(
        selected.first().data(Qt::DisplayRole).toString(), font(), width, 0);
    if (lines.size() <= MaterialListDelegate::CaptionLines)
        return;
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
