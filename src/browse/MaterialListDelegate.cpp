#include "browse/MaterialListDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QTextLayout>
#include <QtMath>

namespace {
// One caption laid out once, drawn from its layout: shaping text is most of what drawing a
// list costs, so it is never done twice for one entry.
struct CaptionLayout
{
    QTextLayout layout;
    QList<QTextLine> lines;
    QString elidedLast; // the last line's text, when more of the caption would follow
    int widest = 0;

    CaptionLayout(const QString &caption, const QFont &font, int width, int maxLines) : layout(caption, font)
    {
        QTextOption option;
        // Chinese has no blanks to break at: a line ends wherever it is full.
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            if (maxLines > 0 && lines.size() == maxLines) {
                elidedLast = QFontMetrics(font).elidedText(caption.mid(lines.last().textStart()),
                                                           Qt::ElideRight, width);
                break;
            }
            lines.append(line);
        }
        layout.endLayout();
        for (const QTextLine &line : lines)
            widest = qMax(widest, qCeil(line.naturalTextWidth()));
        if (!elidedLast.isEmpty())
            widest = qMax(widest, QFontMetrics(font).horizontalAdvance(elidedLast));
    }

    // Each line centred in the width, the first one at top.
    void draw(QPainter *painter, int left, int top, int width, int lineHeight) const
    {
        for (int i = 0; i < lines.size(); ++i) {
            const int y = top + i * lineHeight;
            if (i == lines.size() - 1 && !elidedLast.isEmpty()) {
                painter->drawText(QRect(left, y, width, lineHeight), Qt::AlignHCenter | Qt::AlignTop,
                                  elidedLast);
                continue;
            }
            const QTextLine &line = lines.at(i);
            const qreal indent = (width - line.naturalTextWidth()) / 2;
            line.draw(painter, QPointF(left + indent - line.x(), y - line.y()));
        }
    }
};

QPalette::ColorGroup colorGroup(const QStyleOptionViewItem &option)
{
    if (!(option.state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return option.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

// A caption drawn once into a pixmap kept in Qt's pixmap cache: a list shown again (a category
// visited before, a repaint, a scrolled row) draws its captions without shaping them again.
QPixmap captionPixmap(const QString &text, const QFont &font, const QColor &color, int width, int maxLines,
                      int lineHeight, qreal pixelRatio)
{
    const QString key = QStringLiteral("zindrel-caption/%1/%2/%3/%4/%5/")
                            .arg(font.key(), color.name(QColor::HexArgb))
                            .arg(width)
                            .arg(maxLines)
                            .arg(pixelRatio) +
                        text;
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    const CaptionLayout caption(text, font, width, maxLines);
    const int shownWidth = qMax(1, qMin(caption.widest, width));
    pixmap =
        QPixmap(QSize(shownWidth, qMax(1, static_cast<int>(caption.lines.size()) * lineHeight)) * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setFont(font);
    painter.setPen(color);
    caption.draw(&painter, 0, 0, shownWidth, lineHeight);
    painter.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}
} // namespace

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
    const CaptionLayout laidOut(caption, font, width, maxLines);
    QStringList lines;
    for (const QTextLine &line : laidOut.lines)
        lines.append(caption.mid(line.textStart(), line.textLength()));
    if (!laidOut.elidedLast.isEmpty())
        lines.last() = laidOut.elidedLast;
    return lines;
}

void MaterialListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const int iconSize = item.decorationSize.width();
    const int lineHeight = option.fontMetrics.lineSpacing();
    QRect iconRect;
    QRect textArea;
    int maxLines = 1;
    if (m_iconAbove) {
        iconRect = QRect(option.rect.x() + (option.rect.width() - iconSize) / 2, option.rect.y() + Margin,
                         iconSize, iconSize);
        textArea = QRect(option.rect.x() + Margin, captionTop(option.rect, iconSize),
                         option.rect.width() - 2 * Margin, CaptionLines * lineHeight);
        maxLines = CaptionLines;
    } else {
        iconRect = QRect(option.rect.x() + Margin, option.rect.y() + (option.rect.height() - iconSize) / 2,
                         iconSize, iconSize);
        textArea = QRect(iconRect.right() + 1 + 2 * Margin,
                         option.rect.y() + (option.rect.height() - lineHeight) / 2,
                         option.rect.right() - iconRect.right() - 2 * Margin, lineHeight);
    }
    item.icon.paint(painter, iconRect);

    const bool selected = option.state & QStyle::State_Selected;
    const QColor color =
        option.palette.color(colorGroup(option), selected ? QPalette::HighlightedText : QPalette::Text);
    const qreal pixelRatio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QPixmap caption =
        captionPixmap(item.text, option.font, color, textArea.width(), maxLines, lineHeight, pixelRatio);
    const QSize shown = caption.deviceIndependentSize().toSize();
    const int left = m_iconAbove ? textArea.x() + (textArea.width() - shown.width()) / 2 : textArea.x();
    // As a desktop icon view does: the caption's own box shows the selection, drawn by the style
    // so that a list without the focus shows it in its inactive colours.
    QStyleOptionViewItem panel = item;
    panel.rect = QRect(left - Margin, textArea.y(), shown.width() + 2 * Margin, shown.height());
    const QWidget *widget = option.widget;
    (widget ? widget->style() : QApplication::style())
        ->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, widget);
    painter->drawPixmap(left, textArea.y(), caption);
}
