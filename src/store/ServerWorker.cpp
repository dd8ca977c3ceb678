#include "store/ServerWorker.h"

#include "store/ServerConnection.h"

#include <QSocketNotifier>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
const QString LostText = QStringLiteral("与服务器的连接已经断开");

// The connection's socket, or -1. Newer drivers keep their notifier, which watches it, as a child;
// older ones (Qt 6.4) keep it apart, and then libpq, which the driver loaded, names the socket.
int socketOf(const QSqlDriver *driver)
{
    if (const auto *notifier = driver->findChild<QSocketNotifier *>())
        return static_cast<int>(notifier->socket());
    using PQsocket = int (*)(const void *connection);
    static const PQsocket libpqSocket = [] {
        void *libpq = ::dlopen("libpq.so.5", RTLD_LAZY | RTLD_NOLOAD);
        return libpq ? reinterpret_cast<PQsocket>(::dlsym(libpq, "PQsocket")) : nullptr;
    }();
    const QVariant handle = driver->handle();
    const QByteArrayView type(handle.typeName());
    if (!libpqSocket || (type != "PGconn*" && type != "pg_conn*"))
        return -1;
    return libpqSocket(*static_cast<void *const *>(handle.constData()));
}
} // namespace

ServerWorker::ServerWorker(const BaseSettings &settings)
    : m_settings(settings),
      m_connectionName(QStringLiteral("SharedBase-%1").arg(reinterpret_cast<quintptr>(this), 0, 16))
{
}

ServerWorker::~ServerWorker() = default;

void ServerWorker::run(const std::shared_ptr<ServerJob> &job)
{
    {
        QMutexLocker lock(&m_mutex);
        if (job->abandoned)
            return;
        m_running = job.get();
        m_runningCut = false;
    }
    if (!QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    switch (job->kind) {
    case ServerJob::Connect:
        job->ok = connectIfClosed(*job);
        break;
    case ServerJob::Statement:
        if (connectIfClosed(*job) && !isCut())
            statement(db, *job);
        break;
    case ServerJob::Begin:
        if (connectIfClosed(*job) && !isCut() && !(m_inTransaction = job->ok = db.transaction()))
            fail(*job, ServerConnection::describe(db.lastError()),
                 ServerConnection::isConnectionError(db.lastError()));
        break;
    case ServerJob::Commit:
        if (!m_inTransaction)
            fail(*job, LostText, true);
        else if (!(job->ok = db.commit()))
            fail(*job, ServerConnection::describe(db.lastError()),
                 ServerConnection::isConnectionError(db.lastError()));
        m_inTransaction = false;
        break;
    case ServerJob::Rollback:
        // A transaction whose connection is gone was rolled back by the server.
        job->ok = !m_inTransaction || db.rollback() || !ServerConnection::isConnectionError(db.lastError());
        job->lost = !job->ok;
        m_inTransaction = false;
        break;
    case ServerJob::Probe:
        probe(*job);
        break;
    }
    bool lost = false;
    {
        QMutexLocker lock(&m_mutex);
        if (m_runningCut && !job->ok)
            fail(*job, LostText, true);
        job->cut = m_runningCut;
        lost = job->lost;
    }
    if (lost)
        closeConnection(); // the next job connects again
    bool cutAfterwards = false;
    {
        QMutexLocker lock(&m_mutex);
        // Cut once the work was over: its result stands, but the socket is shut down.
        cutAfterwards = m_runningCut && !lost;
        m_running = nullptr;
        job->done = true;
    }
    if (cutAfterwards)
        closeConnection();
    emit jobFinished();
}

ServerWorker::GiveUp ServerWorker::giveUp(const std::shared_ptr<ServerJob> &job)
{
    QMutexLocker lock(&m_mutex);
    if (job->done)
        return AlreadyDone;
    if (m_running != job.get()) {
        job->abandoned = true;
        return NeverRun;
    }
    m_runningCut = true;
    // Whatever waits on the socket returns at once; the connection is closed in its own thread.
    if (m_socketCopy >= 0)
        ::shutdown(m_socketCopy, SHUT_RDWR);
    return Cut;
}

bool ServerWorker::isCut()
{
    QMutexLocker lock(&m_mutex);
    return m_runningCut;
}

void ServerWorker::fail(ServerJob &job, const QString &error, bool lost)
{
    job.ok = false;
    job.error = error;
    job.lost = lost;
}

bool ServerWorker::connectIfClosed(ServerJob &job)
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    // The driver's connection counts as open only while libpq finds it so: one the server ended
    // is made again here. Not inside a transaction, which lives and dies with its connection: a
    // new one would run the rest without it.
    if (job.inTransaction) {
        if (!m_inTransaction || !db.isOpen()) {
            fail(job, LostText, true);
            return false;
        }
        return true;
    }
    if (db.isOpen())
        return true;
    QString error;
    bool unreachable = false;
    if (!ServerConnection::open(db, m_settings, &error, &unreachable)) {
        fail(job, error, unreachable);
        return false;
    }
    QSqlQuery session(db);
    QSqlDriver *driver = db.driver();
    if (!session.exec(QStringLiteral("SET statement_timeout = %1").arg(ServerConnection::StatementTimeout)) ||
        !driver->subscribeToNotification(ServerConnection::ChangesChannel)) {
        const QSqlError failure = session.lastError().isValid() ? session.lastError() : driver->lastError();
        fail(job, ServerConnection::describe(failure), ServerConnection::isConnectionError(failure));
        db.close();
        return false;
    }
    connect(driver, &QSqlDriver::notification, this, &ServerWorker::receiveNotification,
            Qt::UniqueConnection);
    // Without the socket a job cannot be cut, only given up: a statement given up would still
    // run once the server answers.
    if (const int socket = socketOf(driver); socket >= 0) {
        QMutexLocker lock(&m_mutex);
        m_socketCopy = ::fcntl(socket, F_DUPFD_CLOEXEC, 0);
    }
    job.reconnected = m_connectedBefore;
    m_connectedBefore = true;
    return true;
}

void ServerWorker::statement(QSqlDatabase &db, ServerJob &job)
{
    QSqlQuery query(db);
    if (!query.exec(job.sql)) {
        fail(job, ServerConnection::describe(query.lastError()),
             ServerConnection::isConnectionError(query.lastError()));
        return;
    }
    if (query.isSelect()) {
        job.columns = query.record().count();
        if (query.size() > 0)
            job.values.reserve(query.size() * job.columns);
        while (query.next()) {
            for (int column = 0; column < job.columns; ++column)
                job.values.append(query.value(column));
        }
    }
    job.rowsAffected = query.numRowsAffected();
    job.ok = true;
}

void ServerWorker::probe(ServerJob &job)
{
    job.ok = true;
    // Before the start has connected, whether to use the server at all is not decided yet.
    if (!m_connectedBefore)
        return;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (db.isOpen()) {
        QSqlQuery query(db);
        // An error of the server's own still shows the connection alive.
        if (query.exec(QStringLiteral("SELECT 1")) || !ServerConnection::isConnectionError(query.lastError()))
            return;
        closeConnection();
    }
    job.ok = connectIfClosed(job);
}

void ServerWorker::closeConnection()
{
    m_inTransaction = false;
    {
        QMutexLocker lock(&m_mutex);
        if (m_socketCopy >= 0)
            ::close(m_socketCopy);
        m_socketCopy = -1;
    }
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::database(m_connectionName, false).close();
}

void ServerWorker::shutDown()
{
    closeConnection();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void ServerWorker::receiveNotification(const QString &name, QSqlDriver::NotificationSource source,
                                       const QVariant &payload)
{
    // This copy's own changes are shown already.
    if (name == ServerConnection::ChangesChannel && source == QSqlDriver::OtherSource)
        emit notified(payload.toString());
}
