#include "RawSqlite.h"

#include <QUrl>

#include <sqlite3.h>

namespace {
// The program's driver opens read-write, without a mutex, by URI, and waits out brief locks.
constexpr int OpenFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
constexpr int BusyTimeoutMs = 3000;

quint64 touched = 0;

sqlite3 *open(const QByteArray &uri)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(uri.constData(), &db, OpenFlags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    return db;
}
} // namespace

RawSqlite::RawSqlite(const QString &databasePath)
    : m_uri(QUrl::fromLocalFile(databasePath).toString(QUrl::FullyEncoded).toUtf8() + "?mode=rw")
{
}

int RawSqlite::select(const QByteArray &sql) const
{
    sqlite3 *db = open(m_uri);
    if (!db)
        return -1;
    int rows = -1;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &statement, nullptr) ==
        SQLITE_OK) {
        rows = 0;
        int step;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
            touched += static_cast<quint64>(sqlite3_column_int64(statement, 0));
            const unsigned char *title = sqlite3_column_text(statement, 1);
            touched += static_cast<quint64>(sqlite3_column_bytes(statement, 1)) + (title ? title[0] : 0);
            ++rows;
        }
        if (step != SQLITE_DONE)
            rows = -1;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

qint64 RawSqlite::number(const QByteArray &sql) const
{
    sqlite3 *db = open(m_uri);
    if (!db)
        return -1;
    qint64 value = -1;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &statement, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

bool RawSqlite::executeEach(const QList<QByteArray> &statements) const
{
    for (const QByteArray &sql : statements) {
        sqlite3 *db = open(m_uri);
        if (!db)
            return false;
        const bool ok = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        if (!ok)
            return false;
    }
    return true;
}

quint64 RawSqlite::checksum()
{
    return touched;
}
