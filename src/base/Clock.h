#pragma once

#include <QDateTime>

// The one source of the current time. Tests install their own clock to stamp known times.
class Clock
{
public:
    virtual ~Clock() = default;

    static QDateTime currentDateTime();
    // Not owned; nullptr returns to the system clock.
    static void setInstance(const Clock *clock);

protected:
    virtual QDateTime now() const;
};
