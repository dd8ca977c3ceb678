#pragma once

#include <QEventLoop>
#include <QObject>

// Runs the event loop until it is idle: until two turns of the loop in a row delivered no event
// to any object (no posted event, no timer, no paint) besides this watcher's own zero timer.
// A view that lays out in batches, a posted message, a repaint: all of it is done by then.
class IdleWait : public QObject
{
    Q_OBJECT
public:
    static void settle();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    IdleWait();
    ~IdleWait() override;

    QEventLoop m_loop;
    int m_events = 0;
    int m_quietTurns = 0;
};
