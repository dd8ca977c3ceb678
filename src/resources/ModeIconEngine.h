#pragma once

#include <QIcon>
#include <QIconEngine>

// An icon drawn from other icons when it is drawn, never before: a tree node shows one picture
// and another while selected; a greyed picture is its available picture's disabled look. Making
// such icons costs nothing at start; each size is rendered once it is first shown.
class ModeIconEngine : public QIconEngine
{
public:
    // The selected picture for the selected mode, the normal one for every other mode, each drawn
    // in the given mode (QIcon::Disabled makes every picture the greyed look).
    ModeIconEngine(const QIcon &normal, const QIcon &selected, QIcon::Mode drawnAs);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;

private:
    const QIcon &picture(QIcon::Mode mode) const;
    QIcon::Mode drawnMode(QIcon::Mode mode) const;

    QIcon m_normal;
    QIcon m_selected;
    QIcon::Mode m_drawnAs;
};
