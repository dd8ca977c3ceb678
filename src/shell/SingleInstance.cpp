#include "shell/SingleInstance.h"

#include "base/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

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

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent), m_userLock(userLockPath()), m_folderLock(folderLockPath())
{
    // Only a lock whose process is gone is stale; its age alone never is.
    m_userLock.setStaleLockTime(0);
    m_folderLock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::perUserPath(const QString &suffix)
{
    // The runtime folder is the user's own whatever TMPDIR says.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("Quillbarrow-%1.%2").arg(userTag(), suffix));
}

QString SingleInstance::serverName()
{
    return perUserPath(QStringLiteral("socket"));
}

QString SingleInstance::userLockPath()
{
    return perUserPath(QStringLiteral("lock"));
}

QString SingleInstance::folderLockPath()
{
    return ProgramFolder::filePath(QStringLiteral("Zindrel.lock"));
}

bool SingleInstance::claim()
{
    // Another copy on this folder would overwrite this one's category changes at its close.
    if (!m_folderLock.tryLock(0) && m_folderLock.error() == QLockFile::LockFailedError)
        return false;
    if (!m_userLock.tryLock(0) && m_userLock.error() == QLockFile::LockFailedError && runningCopyAnswers())
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left behind by a crashed copy would keep the server from listening.
    QLocalServer::removeServer(serverName());
    m_server->listen(serverName());
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    return true;
}

// Connects to the running copy and reads the executable path it answers with; empty when no
// copy answers.
QByteArray SingleInstance::readRunningPath(QLocalSocket &socket)
{
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(AnswerTimeoutMs))
        return QByteArray();
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(AnswerTimeoutMs))
            return QByteArray();
    }
    return socket.readLine().chopped(1);
}

bool SingleInstance::runningCopyAnswers()
{
    QLocalSocket socket;
    return !readRunningPath(socket).isEmpty();
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
    const QByteArray runningPath = readRunningPath(socket);
    // A copy started from another folder is another installation: it is not asked to show.
    if (QString::fromUtf8(runningPath) != QCoreApplication::applicationFilePath())
        return;
    socket.write(ShowRequest);
    socket.waitForBytesWritten(AnswerTimeoutMs);
    socket.disconnectFromServer();
}
