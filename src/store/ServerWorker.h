#pragma once

#include "store/BaseSettings.h"
#include "store/ServerJob.h"

#include <QMutex>
#include <QObject>
#include <QSqlDriver>

#include <memory>

class QSqlDatabase;

// The connection to the shared base, kept in a thread of its own so that a server that does not
// answer holds up only this thread, never the window. Jobs run one after the other in the order
// they came. The window's thread may give up a job at any time (giveUp): one that has not run yet
// never runs, and a running one has its connection cut, after which it sends nothing more.
class ServerWorker : public QObject
{
    Q_OBJECT
public:
    enum GiveUp { AlreadyDone, NeverRun, Cut };

    explicit ServerWorker(const BaseSettings &settings);
    ~ServerWorker() override;

    // In the connection's thread.
    void run(const std::shared_ptr<ServerJob> &job);
    // Closes the connection and lets it go; the last thing the thread does.
    void shutDown();

    // From any thread.
    GiveUp giveUp(const std::shared_ptr<ServerJob> &job);

signals:
    void jobFinished();
    // Another copy announced a change: "tree" or "materials".
    void notified(const QString &what);

private:
    // Opens the connection when it is closed; false, with the job's failure set, when it cannot be.
    bool connectIfClosed(ServerJob &job);
    void statement(QSqlDatabase &db, ServerJob &job);
    void probe(ServerJob &job);
    void fail(ServerJob &job, const QString &error, bool lost);
    // The running job was given up: nothing more may be sent for it.
    bool isCut();
    void closeConnection();
    void receiveNotification(const QString &name, QSqlDriver::NotificationSource source,
                             const QVariant &payload);

    const BaseSettings m_settings;
    const QString m_connectionName;
    bool m_connectedBefore = false;
    // A transaction is open on the connection.
    bool m_inTransaction = false;

    QMutex m_mutex; // guards what follows, shared with the window's thread
    ServerJob *m_running = nullptr;
    bool m_runningCut = false;
    // A copy of the connection's socket, which the window's thread shuts down to cut a job that
    // waits for the server: the copy stays valid until the connection is closed here, so a
    // number the system gave to another file is never shut down.
    int m_socketCopy = -1;
};
