#include "browse/ListEntry.h"

#include "store/Database.h"
#include "store/SqlText.h"

#include <QSqlQuery>
#include <QVariant>

bool readListEntries(const QString &sql, int image, QVector<ListEntry> *entries, QString *error)
{
    Database *data = Database::current();
    if (!data) {
        *error = QStringLiteral("数据模块尚未建立");
        return false;
    }
    return data->select(
        sql,
        [entries, image](const QSqlQuery &row) {
            entries->append(
                {SqlText::fromTokens(row.value(1).toString(), false), image, row.value(0).toLongLong()});
        },
        error);
}
