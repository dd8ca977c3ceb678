#include "IdleWait.h"

#include <QCoreApplication>

IdleWait::IdleWait()
{
    QCoreApplication::instance()->installEventFilter(this);
}

IdleWait::~IdleWait()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

void IdleWait::settle()
{
    IdleWait watcher;
    const int timer = watcher.startTimer(0);
    watcher.m_loop.exec();
    watcher.killTimer(timer);
}

bool IdleWait::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != this && watched != &m_loop)
        ++m_events;
    return QObject::eventFilter(watched, event);
}

void IdleWait::timerEvent(QTimerEvent *)
{
    // A zero timer fires once per turn of the loop.
    m_quietTurns = m_events == 0 ? m_quietTurns + 1 : 0;
    m_events = 0;
    if (m_quietTurns >= 2)
        m_loop.quit();
}
