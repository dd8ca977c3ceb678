#include "browse/GridLineDelegate.h"

#include <QPainter>

void GridLineDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QRect cell = option.rect;
    painter->save();
    painter->setPen(QColor(0xd8, 0xd8, 0xd8));
    painter->drawLine(cell.topRight(), cell.bottomRight());
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    painter->restore();
}
