#include "store/Database.h"

#include "base/ProgramFolder.h"
#include "store/CachedResult.h"
#include "store/ServerLink.h"

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

Database::Database(QObject *parent) : QObject(parent), m_settings(BaseSettings::read())
{
    m_server = m_settings.usesServer();
    addConnection();
    currentDatabase = this;
}

Database::~Database()
{
    if (currentDatabase == this)
        currentDatabase = nullptr;
    m_link.reset();
    if (QSqlDatabase::contains(MainConnection))
        QSqlDatabase::removeDatabase(MainConnection);
}

Database *Database::current()
{
    return currentDatabase;
}

void Database::addConnection()
{
    if (!m_server) {
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), MainConnection);
        pointAtProgramFolder();
        return;
    }
    m_link = std::make_unique<ServerLink>(m_settings);
    connect(m_link.get(), &ServerLink::notified, this, &Database::changedElsewhere);
    connect(m_link.get(), &ServerLink::reconnected, this,
            [this] { emit changedElsewhere(QStringLiteral("reconnected")); });
    connect(m_link.get(), &ServerLink::waitShown, this, [this](bool shown) {
        emit waitingForServer(shown ? QStringLiteral("正在连接共享资料库（服务器%1）……").arg(m_link->host())
                                    : QString());
    });
}

void Database::useLocalBase()
{
    if (!m_server)
        return;
    m_link.reset();
    m_server = false;
    addConnection();
}

void Database::pointAtProgramFolder()
{
    if (m_server)
        return; // the server is named in Base.ini, not by the program folder
    m_databasePath = ProgramFolder::filePath(QStringLiteral("Data.QBD"));
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    // mode=rw: a missing file is an error, never a new empty database. A brief lock held by
    // another process is waited for before an operation fails.
    db.setDatabaseName(QUrl::fromLocalFile(m_databasePath).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000"));
}

bool Database::connectServer(QString *error)
{
    if (!m_server)
        return true;
    return runOnServer(std::make_shared<ServerJob>(ServerJob::Connect), error);
}

bool Database::isBusy() const
{
    return m_batchRunning || (m_link && m_link->isWaiting());
}

bool Database::refuseWhileBusy(QString *error) const
{
    // An operation that a timer starts while another waits for the server runs after it, but
    // never inside its transaction.
    if (m_batchRunning)
        *error = QStringLiteral("数据库正被一项长时间的操作占用，请等它结束后再试。");
    else if (m_transactionDepth > 0 && m_link && m_link->isWaiting())
        *error = QStringLiteral("正在等待共享资料库的回应，请稍后再试。");
    else
        return false;
    return true;
}

bool Database::acquire(QSqlDatabase &db, QString *error)
{
    if (m_transactionDepth > 0 || db.open())
        return true;
    *error = db.lastError().text();
    return false;
}

void Database::release(QSqlDatabase &db)
{
    if (m_transactionDepth == 0)
        db.close();
}

bool Database::runOnServer(const std::shared_ptr<ServerJob> &job, QString *error)
{
    job->inTransaction = m_transactionDepth > 0;
    return m_link->run(job, error);
}

bool Database::run(const QString &sql, const std::function<void(QSqlQuery &query)> &onSuccess, QString *error,
                   bool writes)
{
    if (refuseWhileBusy(error))
        return false;
    if (m_server) {
        auto job = std::make_shared<ServerJob>(ServerJob::Statement, sql);
        job->writes = writes;
        if (!runOnServer(job, error))
            return false;
        QSqlQuery query(new CachedResult(job->columns, std::move(job->values), job->rowsAffected));
        onSuccess(query);
        return true;
    }
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    if (!acquire(db, error))
        return false;
    bool ok = false;
    {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        const bool executed = query.exec(sql);
        if (executed)
            onSuccess(query);
        // A failure while stepping through rows counts as much as one at the start.
        ok = executed && !query.lastError().isValid();
        if (!ok)
            *error = query.lastError().text();
        query.finish();
    }
    release(db);
    return ok;
}

bool Database::execute(const QString &sql, QString *error, int *rowsAffected)
{
    return run(
        sql,
        [rowsAffected](QSqlQuery &query) {
            if (rowsAffected)
                *rowsAffected = query.numRowsAffected();
        },
        error, true);
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
        error, false);
}

bool Database::transact(const std::function<bool(QString *error)> &work, QString *error)
{
    if (refuseWhileBusy(error))
        return false;
    if (m_transactionDepth > 0)
        return work(error);
    if (m_server)
        return transactOnServer(work, error);
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    if (!acquire(db, error))
        return false;
    bool kept = false;
    if (!db.transaction()) {
        *error = db.lastError().text();
    } else {
        ++m_transactionDepth;
        kept = work(error);
        --m_transactionDepth;
        if (kept && !db.commit()) {
            *error = db.lastError().text();
            kept = false;
        }
        if (!kept)
            db.rollback();
    }
    release(db);
    return kept;
}

bool Database::transactOnServer(const std::function<bool(QString *error)> &work, QString *error)
{
    if (!runOnServer(std::make_shared<ServerJob>(ServerJob::Begin), error))
        return false;
    ++m_transactionDepth;
    bool kept = work(error);
    if (kept) {
        kept = runOnServer(std::make_shared<ServerJob>(ServerJob::Commit), error);
    } else {
        QString ignored; // the work said why
        runOnServer(std::make_shared<ServerJob>(ServerJob::Rollback), &ignored);
    }
    --m_transactionDepth;
    return kept;
}

bool Database::executeKeptIf(const QString &sql, const std::function<bool()> &keep, QString *error)
{
    QString statementError;
    const bool kept = transact(
        [&](QString *) {
            if (!execute(sql, &statementError))
                return false;
            return keep();
        },
        &statementError);
    // Not kept by keep() itself: whoever refused says why.
    if (!kept && !statementError.isEmpty())
        *error = statementError;
    return kept;
}

bool Database::runOnConnection(
    const std::function<bool(QSqlDatabase &db, sqlite3 *handle, QString *error)> &work, QString *error)
{
    if (m_server) {
        *error = QStringLiteral("共享资料库的连接不能这样使用");
        return false;
    }
    if (refuseWhileBusy(error))
        return false;
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    if (!acquire(db, error))
        return false;
    m_batchRunning = true;
    const QVariant handle = db.driver()->handle();
    sqlite3 *connection = qstrcmp(handle.typeName(), "sqlite3*") == 0
                              ? *static_cast<sqlite3 *const *>(handle.constData())
                              : nullptr;
    const bool ok = work(db, connection, error);
    m_batchRunning = false;
    release(db);
    return ok;
}

bool Database::finishBatch(const std::function<bool(QString *error)> &beforeCommit, QString *error)
{
    if (!beforeCommit)
        return true;
    m_batchRunning = false;
    ++m_transactionDepth;
    const bool finished = beforeCommit(error);
    --m_transactionDepth;
    m_batchRunning = true;
    return finished;
}

Database::BatchOutcome Database::executeBatch(const std::function<bool(QString *sql)> &next,
                                              const std::function<bool(int steps)> &proceed, QString *error,
                                              const std::function<bool(QString *error)> &beforeCommit)
{
    if (refuseWhileBusy(error))
        return BatchOutcome::Failed;
    if (m_server)
        return executeBatchOnServer(next, proceed, error, beforeCommit);
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    if (!acquire(db, error))
        return BatchOutcome::Failed;
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
        if (outcome == BatchOutcome::Committed && !finishBatch(beforeCommit, error))
            outcome = BatchOutcome::Failed;
        if (outcome == BatchOutcome::Committed && !db.commit()) {
            *error = db.lastError().text();
            outcome = BatchOutcome::Failed;
        }
        if (outcome != BatchOutcome::Committed)
            db.rollback();
    }
    m_batchRunning = false;
    release(db);
    return outcome;
}

Database::BatchOutcome Database::executeBatchOnServer(const std::function<bool(QString *sql)> &next,
                                                      const std::function<bool(int steps)> &proceed,
                                                      QString *error,
                                                      const std::function<bool(QString *error)> &beforeCommit)
{
    if (!runOnServer(std::make_shared<ServerJob>(ServerJob::Begin), error))
        return BatchOutcome::Failed;
    m_batchRunning = true;
    ++m_transactionDepth;
    BatchOutcome outcome = BatchOutcome::Committed;
    QString sql;
    for (int steps = 1; next(&sql); ++steps) {
        if (!sql.isEmpty() && !runOnServer(std::make_shared<ServerJob>(ServerJob::Statement, sql), error)) {
            outcome = BatchOutcome::Failed;
            break;
        }
        if (!proceed(steps)) {
            outcome = BatchOutcome::Cancelled;
            break;
        }
    }
    if (outcome == BatchOutcome::Committed && !finishBatch(beforeCommit, error))
        outcome = BatchOutcome::Failed;
    if (outcome == BatchOutcome::Committed &&
        !runOnServer(std::make_shared<ServerJob>(ServerJob::Commit), error))
        outcome = BatchOutcome::Failed;
    if (outcome != BatchOutcome::Committed) {
        QString ignored;
        runOnServer(std::make_shared<ServerJob>(ServerJob::Rollback), &ignored);
    }
    --m_transactionDepth;
    m_batchRunning = false;
    return outcome;
}
