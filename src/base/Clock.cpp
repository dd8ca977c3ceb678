#include "base/Clock.h"

namespace {
const Clock *&installed()
{
    static const Clock *clock = nullptr;
    return clock;
}
} // namespace

QDateTime Clock::currentDateTime()
{
    static const Clock systemClock;
    return (installed() ? installed() : &systemClock)->now();
}

void Clock::setInstance(const Clock *clock)
{
    installed() = clock;
}

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}
