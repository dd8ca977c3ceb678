#include "tree/Location.h"

Location::Location(const QStringList &names) : m_names(names.mid(0, 3)) {}

QString Location::text() const
{
    if (m_names.isEmpty())
        return QString();
    QStringList parts = m_names;
    while (parts.size() < 3)
        parts.append(QStringLiteral("null"));
    return parts.join(QLatin1Char('-'));
}
