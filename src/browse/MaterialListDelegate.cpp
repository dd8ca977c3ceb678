#include "browse/MaterialListDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

MaterialListDelegate::MaterialListDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QSize MaterialListDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return m_itemSize;
}

int MaterialListDelegate::captionTop(const QRect &cell, int iconSize)
{
    return cell.top() + Margin + iconSize + Margin;
}

QStringList MaterialListDelegate::captionLines(const QString &caption, const QFont &font, int width,
                                               int maxLines)
{
    QTextLayout layout(caption, font);
    QTextOption option(Qt::AlignHCenter);
    // Chinese has no blanks to break at: a line ends wherever it is full.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (maxLines > 0 && lines.size() == maxLines - 1) {
            // The last line allowed takes the rest of the caption, elided when it does not fit.
            const QString rest = caption.mid(line.textStart());
            lines.append(QFontMetrics(font).elidedText(rest, Qt::ElideRight, width));
            break;
        }
        lines.append(caption.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return lines;
}

void MaterialListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    if (!m_iconAbove) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const int iconSize = item.decorationSize.width();
    const QRect iconRect(option.rect.x() + (option.rect.width() - iconSize) / 2, option.rect.y() + Margin,
                         iconSize, iconSize);
    item.icon.paint(painter, iconRect);

    // As a desktop icon view does: the caption's own box is what shows the selection.
    const int width = option.rect.width() - 2 * Margin;
    const QStringList lines = captionLines(item.text, option.font, width, CaptionLines);
    const int lineHeight = option.fontMetrics.lineSpacing();
    int widest = 0;
    for (const QString &line : lines)
        widest = qMax(widest, option.fontMetrics.horizontalAdvance(line));
    const QRect box(option.rect.x() + (option.rect.width() - widest) / 2 - Margin,
                    captionTop(option.rect, iconSize), qMin(widest + 2 * Margin, option.rect.width()),
                    static_cast<int>(lines.size()) * lineHeight);
    // The style draws the selection, as it does for any item view: a list without the focus
    // shows it in its inactive colours, never white on white.
    QStyleOptionViewItem panel = item;
    panel.rect = box;
    const QWidget *widget = option.widget;
    (widget ? widget->style() : QApplication::style())
        ->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, widget);
    QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(option.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    int top = box.top();
    for (const QString &line : lines) {
        painter->drawText(QRect(option.rect.x() + Margin, top, width, lineHeight),
                          Qt::AlignHCenter | Qt::AlignTop, line);
        top += lineHeight;
    }
    painter->restore();
}
