#pragma once

#include "base/Clock.h"

// A clock that always says the same time, so that stamped creation times are known.
class FixedClock : public Clock
{
public:
    QDateTime time{QDate(2026, 3, 9), QTime(14, 5, 7)};

protected:
    QDateTime now() const override { return time; }
};
