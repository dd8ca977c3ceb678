#include "store/ServerLink.h"

#include "store/ServerWorker.h"

#include <QEventLoop>

namespace {
// A wait shorter than this is not worth a word on the status line.
constexpr int ShowWaitAfter = 500;
// After a cut the step returns at once; one stuck before it had a socket (a name that does
// not resolve) is waited for this much longer, then left to end on its own.
constexpr int WaitAfterCut = 2000;
// How often the connection is looked at while nothing runs.
constexpr int ProbeInterval = 3000;
} // namespace

ServerLink::ServerLink(const BaseSettings &settings, QObject *parent)
    : QObject(parent), m_settings(settings), m_worker(std::make_unique<ServerWorker>(settings))
{
    m_thread.setObjectName(QStringLiteral("SharedBase"));
    m_worker->moveToThread(&m_thread);
    // The connection belongs to the thread: it is let go there, as the thread ends.
    connect(&m_thread, &QThread::finished, m_worker.get(), &ServerWorker::shutDown, Qt::DirectConnection);
    connect(m_worker.get(), &ServerWorker::notified, this, &ServerLink::notified);
    connect(m_worker.get(), &ServerWorker::jobFinished, this, &ServerLink::takeProbeResult);
    m_probeTimer.setInterval(ProbeInterval);
    connect(&m_probeTimer, &QTimer::timeout, this, &ServerLink::probe);
    m_probeDeadline.setSingleShot(true);
    m_probeDeadline.setInterval(Deadline);
    connect(&m_probeDeadline, &QTimer::timeout, this, &ServerLink::giveUpProbe);
    m_thread.start();
    m_probeTimer.start();
}

ServerLink::~ServerLink()
{
    m_probeTimer.stop();
    giveUpProbe();
    m_thread.quit();
    m_thread.wait();
}

QString ServerLink::host() const
{
    return m_settings.host().isEmpty() ? QStringLiteral("本机") : m_settings.host();
}

void ServerLink::submit(const std::shared_ptr<ServerJob> &job)
{
    ServerWorker *worker = m_worker.get();
    QMetaObject::invokeMethod(
        worker, [worker, job] { worker->run(job); }, Qt::QueuedConnection);
}

bool ServerLink::run(const std::shared_ptr<ServerJob> &job, QString *error)
{
    QEventLoop loop;
    QTimer notice;
    QTimer deadline;
    QTimer afterCut;
    bool shown = false;
    bool givenUp = false;
    for (QTimer *timer : {&notice, &deadline, &afterCut})
        timer->setSingleShot(true);
    connect(m_worker.get(), &ServerWorker::jobFinished, &loop, [&] {
        if (job->done)
            loop.quit();
    });
    connect(&notice, &QTimer::timeout, this, [&] {
        shown = true;
        emit waitShown(true);
    });
    connect(&deadline, &QTimer::timeout, &loop, [&] {
        const ServerWorker::GiveUp outcome = m_worker->giveUp(job);
        if (outcome == ServerWorker::Cut) {
            afterCut.start(WaitAfterCut);
            return;
        }
        givenUp = outcome == ServerWorker::NeverRun;
        loop.quit();
    });
    connect(&afterCut, &QTimer::timeout, &loop, [&] {
        givenUp = !job->done;
        loop.quit();
    });
    ++m_waits;
    notice.start(ShowWaitAfter);
    deadline.start(Deadline);
    submit(job);
    // Input waits: what the person does next must not meet a half-done step. Socket notifiers
    // wait too, among them the one that turns SIGTERM into the ordinary quit.
    if (!job->done)
        loop.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    --m_waits;
    if (shown)
        emit waitShown(false);
    if (givenUp) {
        // The job never sent anything, or is stuck before it could: nothing of it reads now.
        m_inTransaction = false;
        *error = unreachable();
        return false;
    }
    if (job->kind == ServerJob::Begin)
        m_inTransaction = job->ok;
    else if (job->kind == ServerJob::Commit || job->kind == ServerJob::Rollback || job->lost)
        m_inTransaction = false;
    if (job->reconnected)
        emit reconnected();
    if (!job->ok)
        *error = failure(*job);
    return job->ok;
}

QString ServerLink::failure(const ServerJob &job) const
{
    // The server answered: its own words.
    if (!job.lost)
        return job.error;
    if (job.kind == ServerJob::Connect)
        return job.cut ? QStringLiteral("服务器在%1秒内没有回应").arg(Deadline / 1000) : job.error;
    // Given up while the server held a change that commits by itself: it may yet be done.
    if (job.cut && (job.kind == ServerJob::Commit ||
                    (job.kind == ServerJob::Statement && job.writes && !job.inTransaction)))
        return QStringLiteral(
                   "共享资料库（服务器%1）没有回应，无法确定这次操作是否已经完成，请在连接恢复后查看")
            .arg(host());
    return unreachable();
}

QString ServerLink::unreachable() const
{
    return QStringLiteral("无法连接共享资料库（服务器%1），这次操作没有执行").arg(host());
}

void ServerLink::probe()
{
    if (isWaiting() || m_inTransaction || m_probe)
        return;
    m_probe = std::make_shared<ServerJob>(ServerJob::Probe);
    m_probeDeadline.start();
    submit(m_probe);
}

void ServerLink::takeProbeResult()
{
    if (!m_probe || !m_probe->done)
        return;
    m_probeDeadline.stop();
    const bool connectedAgain = m_probe->reconnected;
    m_probe.reset();
    if (connectedAgain)
        emit reconnected();
}

void ServerLink::giveUpProbe()
{
    if (m_probe && m_worker->giveUp(m_probe) == ServerWorker::NeverRun)
        m_probe.reset();
}
