#pragma once

#include <QStyledItemDelegate>

// Draws each cell as the style does and then its right and bottom edges in a light grey, so that
// the detail pane reads as a grid of captions and values.
class GridLineDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
