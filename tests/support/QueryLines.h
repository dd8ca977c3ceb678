#pragma once

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

// The rows a query has left, each as one line of its values separated by "|": what tests compare
// between two databases.
inline QStringList queryLines(QSqlQuery &query)
{
    QStringList lines;
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i)
            values.append(query.value(i).toString());
        lines.append(values.join(QLatin1Char('|')));
    }
    return lines;
}
