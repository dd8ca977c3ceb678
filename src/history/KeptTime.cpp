#include "history/KeptTime.h"

namespace KeptTime {

namespace {
const QString Format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
} // namespace

QString stored(const QDateTime &time)
{
    return time.toUTC().toString(Format);
}

QString shown(const QString &stored)
{
    QDateTime time = QDateTime::fromString(stored, Format);
    if (!time.isValid())
        return stored;
    time.setTimeSpec(Qt::UTC);
    return time.toLocalTime().toString(Format);
}

QString binKeepsFrom(const QDateTime &now)
{
    return stored(now.addDays(-BinDays));
}

} // namespace KeptTime
