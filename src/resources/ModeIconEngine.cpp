#include "resources/ModeIconEngine.h"

ModeIconEngine::ModeIconEngine(const QIcon &normal, const QIcon &selected, QIcon::Mode drawnAs)
    : m_normal(normal), m_selected(selected), m_drawnAs(drawnAs)
{
}

const QIcon &ModeIconEngine::picture(QIcon::Mode mode) const
{
    return mode == QIcon::Selected ? m_selected : m_normal;
}

QIcon::Mode ModeIconEngine::drawnMode(QIcon::Mode mode) const
{
    return m_drawnAs == QIcon::Disabled ? QIcon::Disabled : (mode == QIcon::Selected ? QIcon::Normal : mode);
}

void ModeIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    picture(mode).paint(painter, rect, Qt::AlignCenter, drawnMode(mode), state);
}

QPixmap ModeIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return picture(mode).pixmap(size, drawnMode(mode), state);
}

QSize ModeIconEngine::actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return picture(mode).actualSize(size, drawnMode(mode), state);
}

QIconEngine *ModeIconEngine::clone() const
{
    return new ModeIconEngine(m_normal, m_selected, m_drawnAs);
}

QString ModeIconEngine::key() const
{
    return QStringLiteral("ModeIconEngine");
}
