#pragma once

#include <QDateTime>
#include <QString>

// When a version or a deleted material was kept: stored in UTC as "yyyy-MM-dd HH:mm:ss" by the
// store's triggers, shown in the person's local time.
namespace KeptTime {

// The recycle bin keeps what it holds this many days.
constexpr int BinDays = 90;

QString stored(const QDateTime &time);
// The local time of a stored one, "yyyy-MM-dd HH:mm:ss"; a text that is no time stays as it is.
QString shown(const QString &stored);
// What the bin still holds at the given moment was kept at this stored time or later.
QString binKeepsFrom(const QDateTime &now);

} // namespace KeptTime
