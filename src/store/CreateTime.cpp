#include "store/CreateTime.h"

#include "base/Clock.h"

namespace CreateTime {

QString format(const QDateTime &time)
{
    if (time.time() == QTime(0, 0, 0))
        return time.toString(QStringLiteral("yyyy-MM-dd"));
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString now()
{
    return format(Clock::currentDateTime());
}

} // namespace CreateTime
