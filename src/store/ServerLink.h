#pragma once

#include "store/BaseSettings.h"
#include "store/ServerJob.h"

#include <QObject>
#include <QThread>
#include <QTimer>

#include <memory>

class ServerWorker;

// The window's side of the shared base's connection, which lives in a thread of its own
// (ServerWorker). A step waits for the server at most Deadline: meanwhile the window paints and
// its timers run, but it takes no input, which waits for the step; after it the step is given up
// and fails as one that found the server unreachable. While nothing runs, the connection is
// looked at every few seconds: a lost one (a restarted server, a link that went down) is made
// again as soon as the server answers, and reconnected() says that anything may have changed.
class ServerLink : public QObject
{
    Q_OBJECT
public:
    // Milliseconds one step may wait for the server.
    static constexpr int Deadline = 10000;

    explicit ServerLink(const BaseSettings &settings, QObject *parent = nullptr);
    ~ServerLink() override;

    // Runs the job and waits for it. False, with the failure as a person reads it: the server's
    // own words, or that the server could not be reached and the step was not done (or, for a
    // commit given up while the server held it, that nobody can tell).
    bool run(const std::shared_ptr<ServerJob> &job, QString *error);
    bool isWaiting() const { return m_waits > 0; }
    // "host" for messages; the local socket for an empty one.
    QString host() const;

signals:
    // Another copy announced a change: "tree" or "materials".
    void notified(const QString &what);
    // The connection was made again after it had been lost.
    void reconnected();
    // A wait went on long enough to be shown (true), or ended after it was (false).
    void waitShown(bool shown);

private:
    void submit(const std::shared_ptr<ServerJob> &job);
    void probe();
    void takeProbeResult();
    void giveUpProbe();
    QString failure(const ServerJob &job) const;
    QString unreachable() const;

    const BaseSettings m_settings;
    QThread m_thread;
    std::unique_ptr<ServerWorker> m_worker;
    QTimer m_probeTimer;
    QTimer m_probeDeadline;
    std::shared_ptr<ServerJob> m_probe;
    // Steps waited for: one started by a timer while another waits waits behind it.
    int m_waits = 0;
    bool m_inTransaction = false;
};
