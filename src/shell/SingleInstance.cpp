#include "shell/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
const QByteArray ShowRequest = QByteArrayLiteral("SHOW\n");
constexpr int AnswerTimeoutMs = 500;

QString userTag()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return QString(); // the temporary folder is the user's own
#endif
}
} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent), m_lock(lockPath())
{
    // Only a lock whose process is gone is stale; its age alone never is.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName()
{
    return QStringLiteral("Quillbarrow-") + userTag();
}

QString SingleInstance::lockPath()
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("Quillbarrow-%1.lock").arg(userTag()));
}

bool SingleInstance::claim()
{
    if (!m_lock.tryLock(0))
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left behind by a crashed copy would keep the server from listening.
    QLocalServer::removeServer(serverName());
    m_server->listen(serverName());
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    return true;
}

void SingleInstance::answer()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() == ShowRequest)
                emit activationRequested();
            socket->disconnectFromServer();
        });
        socket->write(QCoreApplication::applicationFilePath().toUtf8() + '\n');
        socket->flush();
    }
}

void SingleInstance::activateRunningCopy()
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(AnswerTimeoutMs))
        return;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(AnswerTimeoutMs))
            return;
    }
    const QByteArray runningPath = socket.readLine().chopped(1);
    // A copy started from another folder is another installation: it is not asked to show.
    if (QString::fromUtf8(runningPath) != QCoreApplication::applicationFilePath())
        return;
    socket.write(ShowRequest);
    socket.waitForBytesWritten(AnswerTimeoutMs);
    socket.disconnectFromServer();
}
