#include "browse/ListReader.h"

#include "store/Database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

namespace {
bool readThroughSqlite(sqlite3 *handle, const QString &sql, int image, ListEntries *entries, QString *error)
{
    sqlite3_stmt *statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(handle, text.constData(), static_cast<int>(text.size()), &statement, nullptr) !=
        SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(statement);
        return false;
    }
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto *title = reinterpret_cast<const char *>(sqlite3_column_text(statement, 1));
        entries->appendStored(QByteArrayView(title, sqlite3_column_bytes(statement, 1)), image,
                              sqlite3_column_int64(statement, 0));
    }
    const bool ok = step == SQLITE_DONE;
    if (!ok)
        *error = QString::fromUtf8(sqlite3_errmsg(handle));
    sqlite3_finalize(statement);
    return ok;
}

} // namespace

bool ListReader::read(const QString &sql, int image, ListEntries *entries, QString *error)
{
    Database *database = Database::current();
    if (!database) {
        *error = QStringLiteral("数据模块尚未建立");
        return false;
    }
    if (database->isServer())
        return database->select(
            sql,
            [image, entries](const QSqlQuery &row) {
                entries->appendStored(row.value(1).toString().toUtf8(), image, row.value(0).toLongLong());
            },
            error);
    return database->runOnConnection(
        [&sql, image, entries](QSqlDatabase &, sqlite3 *handle, QString *error) {
            return readThroughSqlite(handle, sql, image, entries, error);
        },
        error);
}
