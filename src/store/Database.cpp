#include "store/Database.h"

#include "base/ProgramFolder.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <sqlite3.h>

namespace {
const QString MainConnection = QStringLiteral("MainConnection");
Database *currentDatabase = nullptr;
} // namespace

Database::Database(QObject *parent) : QObject(parent)
{
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), MainConnection);
    pointAtProgramFolder();
    currentDatabase = this;
}

Database::~Database()
{
    if (currentDatabase == this)
        currentDatabase = nullptr;
    QSqlDatabase::removeDatabase(MainConnection);
}

Database *Database::current()
{
    return currentDatabase;
}

void Database::pointAtProgramFolder()
{
    m_databasePath = ProgramFolder::filePath(QStringLiteral("Data.QBD"));
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    // mode=rw: a missing file is an error, never a new empty database. A brief lock held by
    // another process is waited for before an operation fails.
    db.setDatabaseName(QUrl::fromLocalFile(m_databasePath).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000"));
}

bool Database::refuseWhileBatchRuns(QString *error) const
{
    if (m_batchRunning)
        *error = QStringLiteral("数据库正被一项长时间的操作占用，请等它结束后再试。");
    return m_batchRunning;
}

bool Database::run(const QString &sql, const std::function<void(QSqlQuery &query)> &onSuccess, QString *error)
{
    if (refuseWhileBatchRuns(error))
        return false;
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    bool ok = false;
    if (!db.open()) {
        *error = db.lastError().text();
    } else {
        {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (query.exec(sql))
                onSuccess(query);
            // A failure while stepping through rows counts as much as one at the start.
            ok = !query.lastError().isValid();
            if (!ok)
                *error = query.lastError().text();
            query.finish();
        }
        db.close();
    }
    return ok;
}

bool Database::execute(const QString &sql, QString *error)
{
    return run(
        sql, [](QSqlQuery &) {}, error);
}

bool Database::executeKeptIf(const QString &sql, const std::function<bool()> &keep, QString *error)
{
    if (refuseWhileBatchRuns(error))
        return false;
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    if (!db.open()) {
        *error = db.lastError().text();
        return false;
    }
    bool kept = false;
    if (!db.transaction()) {
        *error = db.lastError().text();
    } else {
        {
            QSqlQuery query(db);
            if (!query.exec(sql))
                *error = query.lastError().text();
            else if (keep())
                kept = true;
        }
        if (kept && !db.commit()) {
            *error = db.lastError().text();
            kept = false;
        }
        if (!kept)
            db.rollback();
    }
    db.close();
    return kept;
}

bool Database::runOnConnection(const std::function<bool(QSqlDatabase &db, sqlite3 *handle, QString *error)> &work,
                               QString *error)
{
    if (refuseWhileBatchRuns(error))
        return false;
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    if (!db.open()) {
        *error = db.lastError().text();
        return false;
    }
    m_batchRunning = true;
    const QVariant handle = db.driver()->handle();
    sqlite3 *connection = qstrcmp(handle.typeName(), "sqlite3*") == 0
                              ? *static_cast<sqlite3 *const *>(handle.constData())
                              : nullptr;
    const bool ok = work(db, connection, error);
    m_batchRunning = false;
    db.close();
    return ok;
}

bool Database::select(const QString &sql, const std::function<void(const QSqlQuery &row)> &reader,
                      QString *error)
{
    return run(
        sql,
        [&reader](QSqlQuery &query) {
            while (query.next())
                reader(query);
        },
        error);
}

Database::BatchOutcome Database::executeBatch(const std::function<bool(QString *sql)> &next,
                                              const std::function<bool(int steps)> &proceed, QString *error)
{
    if (refuseWhileBatchRuns(error))
        return BatchOutcome::Failed;
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    if (!db.open()) {
        *error = db.lastError().text();
        return BatchOutcome::Failed;
    }
    m_batchRunning = true;
    BatchOutcome outcome = BatchOutcome::Committed;
    if (!db.transaction()) {
        *error = db.lastError().text();
        outcome = BatchOutcome::Failed;
    } else {
        {
            QSqlQuery query(db);
            QString sql;
            for (int steps = 1; next(&sql); ++steps) {
                if (!sql.isEmpty() && !query.exec(sql)) {
                    *error = query.lastError().text();
                    outcome = BatchOutcome::Failed;
                    break;
                }
                if (!proceed(steps)) {
                    outcome = BatchOutcome::Cancelled;
                    break;
                }
            }
            query.finish();
        }
        if (outcome == BatchOutcome::Committed && !db.commit()) {
            *error = db.lastError().text();
            outcome = BatchOutcome::Failed;
        }
        if (outcome != BatchOutcome::Committed)
            db.rollback();
    }
    db.close();
    m_batchRunning = false;
    return outcome;
}
