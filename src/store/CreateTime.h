#pragma once

#include <QDateTime>
#include <QString>

// The creation stamp of a material: "yyyy-MM-dd HH:mm:ss", the date alone at exactly
// midnight. Text order is time order, so listing by time and the date window work on it.
namespace CreateTime {
QString format(const QDateTime &time);
QString now();
} // namespace CreateTime
