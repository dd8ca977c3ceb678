#pragma once

#include <QStyledItemDelegate>

// How the material list draws its entries. In the large-icon style a caption is wrapped onto at
// most two lines under its icon and elided only past that; in the other styles an entry is as
// wide as its list's widest caption, so that none is cut. Every entry has the one size the list
// was fitted to, so that the view lays out tens of thousands of entries without measuring each.
class MaterialListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int CaptionLines = 2;
    static constexpr int Margin = 2;

    explicit MaterialListDelegate(QObject *parent);

    void setItemSize(const QSize &size) { m_itemSize = size; }
    QSize itemSize() const { return m_itemSize; }
    // Large icons draw the icon above a wrapped caption; the other styles draw a line.
    void setIconAbove(bool above) { m_iconAbove = above; }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

    // A caption's lines in a cell of that width: all of them when maxLines is 0, else at most
    // maxLines, the last one elided when more text would follow.
    static QStringList captionLines(const QString &caption, const QFont &font, int width, int maxLines);
    // Where an icon-above entry's caption begins, below its icon.
    static int captionTop(const QRect &cell, int iconSize);

private:
    QSize m_itemSize;
    bool m_iconAbove = true;
};
