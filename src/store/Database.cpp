#include "store/Database.h"

#include "base/ProgramFolder.h"
#include "store/ServerConnection.h"

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
    // Pointed at the server as it is opened.
    QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), MainConnection);
}

void Database::useLocalBase()
{
    if (!m_server)
        return;
    QSqlDatabase::removeDatabase(MainConnection);
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
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    return acquire(db, error);
}

bool Database::refuseWhileBatchRuns(QString *error) const
{
    if (m_batchRunning)
        *error = QStringLiteral("数据库正被一项长时间的操作占用，请等它结束后再试。");
    return m_batchRunning;
}

bool Database::acquire(QSqlDatabase &db, QString *error)
{
    if (m_transactionDepth > 0)
        return true;
    if (!m_server) {
        if (db.open())
            return true;
        *error = db.lastError().text();
        return false;
    }
    if (db.isOpen())
        return true;
    if (!ServerConnection::open(db, m_settings, error))
        return false;
    QSqlDriver *driver = db.driver();
    if (!driver->subscribeToNotification(ServerConnection::ChangesChannel)) {
        *error = ServerConnection::describe(driver->lastError());
        db.close();
        return false;
    }
    connect(driver, &QSqlDriver::notification, this, &Database::receiveNotification, Qt::UniqueConnection);
    // What other copies did while the connection was gone was never heard of.
    if (m_connectedBefore)
        emit changedElsewhere(QStringLiteral("reconnected"));
    m_connectedBefore = true;
    return true;
}

void Database::release(QSqlDatabase &db, bool failed)
{
    if (m_transactionDepth > 0)
        return;
    if (!m_server)
        db.close();
    else if (failed && !ServerConnection::isAlive(db))
        db.close(); // the next operation connects again
}

void Database::receiveNotification(const QString &name, QSqlDriver::NotificationSource source,
                                   const QVariant &payload)
{
    // This copy's own changes are shown already.
    if (name == ServerConnection::ChangesChannel && source == QSqlDriver::OtherSource)
        emit changedElsewhere(payload.toString());
}

bool Database::run(const QString &sql, const std::function<void(QSqlQuery &query)> &onSuccess, QString *error)
{
    if (refuseWhileBatchRuns(error))
        return false;
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    if (!acquire(db, error))
        return false;
    bool ok = false;
    {
        QSqlQuery query(db);
        // The server sends a result whole; read row by row it would come as one message a row.
        query.setForwardOnly(!m_server);
        const bool executed = query.exec(sql);
        if (executed)
            onSuccess(query);
        // A failure while stepping through rows counts as much as one at the start. A statement
        // that never reached a lost server fails without an error from the driver.
        ok = executed && !query.lastError().isValid();
        if (!ok)
            *error = m_server ? ServerConnection::describe(query.lastError()) : query.lastError().text();
        query.finish();
    }
    release(db, !ok);
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
        error);
}

bool Database::transact(const std::function<bool(QString *error)> &work, QString *error)
{
    if (m_transactionDepth > 0)
        return work(error);
    if (refuseWhileBatchRuns(error))
        return false;
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
    release(db, !kept);
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
    if (refuseWhileBatchRuns(error))
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
    release(db, !ok);
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
                    *error =
                        m_server ? ServerConnection::describe(query.lastError()) : query.lastError().text();
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
    m_batchRunning = false;
    release(db, outcome == BatchOutcome::Failed);
    return outcome;
}
