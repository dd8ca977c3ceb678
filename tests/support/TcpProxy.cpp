#include "TcpProxy.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <vector>

namespace {
QString serverHost()
{
    // libpq's own default when PGHOST is not set: Debian's socket folder.
    const QString host = qEnvironmentVariable("PGHOST");
    return host.isEmpty() ? QStringLiteral("/var/run/postgresql") : host;
}

quint16 serverPort()
{
    const QString port = qEnvironmentVariable("PGPORT");
    return port.isEmpty() ? 5432 : port.toUShort();
}

bool isClosed(const QIODevice *device)
{
    if (const auto *tcp = qobject_cast<const QAbstractSocket *>(device))
        return tcp->state() == QAbstractSocket::UnconnectedState;
    if (const auto *local = qobject_cast<const QLocalSocket *>(device))
        return local->state() == QLocalSocket::UnconnectedState;
    return true;
}

// Ends one side: at once, or once what was written to it has gone out.
void end(QIODevice *device, bool flush)
{
    if (auto *tcp = qobject_cast<QAbstractSocket *>(device)) {
        if (flush && tcp->state() != QAbstractSocket::UnconnectedState) {
            QObject::connect(tcp, &QAbstractSocket::disconnected, tcp, &QObject::deleteLater);
            tcp->disconnectFromHost();
            return;
        }
        tcp->abort();
    } else if (auto *local = qobject_cast<QLocalSocket *>(device)) {
        if (flush && local->state() != QLocalSocket::UnconnectedState) {
            QObject::connect(local, &QLocalSocket::disconnected, local, &QObject::deleteLater);
            local->disconnectFromServer();
            return;
        }
        local->abort();
    }
    device->deleteLater();
}
} // namespace

TcpProxy::TcpProxy()
    : m_serverHost(serverHost()), m_serverPort(serverPort()), m_home(std::make_unique<QObject>())
{
    m_thread.setObjectName(QStringLiteral("TcpProxy"));
    m_home->moveToThread(&m_thread);
    m_thread.start();
    inRelayThread([this] {
        m_listener = new QTcpServer(m_home.get());
        QObject::connect(m_listener, &QTcpServer::newConnection, m_home.get(), [this] { takeConnections(); });
        listen();
        m_port = m_listener->serverPort();
    });
}

TcpProxy::~TcpProxy()
{
    inRelayThread([this] {
        while (!m_links.empty())
            drop(&m_links.front(), false);
        // Deleted in their own thread, whose event loop ends next.
        const QObjectList children = m_home->children();
        qDeleteAll(children);
    });
    m_thread.quit();
    m_thread.wait();
}

bool TcpProxy::redirect(const QString &baseIniPath) const
{
    QFile file(baseIniPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QStringList lines;
    for (const QString &line :
         QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (!line.startsWith(QLatin1String("host=")) && !line.startsWith(QLatin1String("port=")))
            lines.append(line);
    }
    lines << QStringLiteral("host=") + host() << QStringLiteral("port=%1").arg(m_port);
    file.close();
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) &&
           file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) > 0;
}

void TcpProxy::pause()
{
    inRelayThread([this] { m_paused = true; });
}

void TcpProxy::resume()
{
    inRelayThread([this] {
        m_paused = false;
        // What came meanwhile goes on now; a pump may drop its own link, never another.
        std::vector<Link *> links;
        for (Link &link : m_links)
            links.push_back(&link);
        for (Link *link : links)
            pump(link);
    });
}

void TcpProxy::restart(int ms)
{
    inRelayThread([this, ms] {
        m_accepting = false;
        m_listener->close();
        while (!m_links.empty())
            drop(&m_links.front(), false);
        QTimer::singleShot(ms, m_home.get(), [this] { listen(); });
    });
}

void TcpProxy::inRelayThread(const std::function<void()> &work)
{
    QMetaObject::invokeMethod(m_home.get(), work, Qt::BlockingQueuedConnection);
}

void TcpProxy::listen()
{
    // The same port again after a restart, as a server comes back where it was.
    if (!m_listener->listen(QHostAddress::LocalHost, m_port))
        qWarning("TcpProxy: cannot listen on port %d: %s", m_port, qPrintable(m_listener->errorString()));
    m_accepting = m_listener->isListening();
}

void TcpProxy::takeConnections()
{
    while (QTcpSocket *client = m_listener->nextPendingConnection()) {
        Link *link = &m_links.emplace_back();
        link->client = client;
        QObject::connect(client, &QTcpSocket::readyRead, m_home.get(), [this, link] { pump(link); });
        QObject::connect(client, &QTcpSocket::disconnected, m_home.get(), [this, link] { pump(link); });
        connectToServer(link);
        pump(link);
    }
}

void TcpProxy::connectToServer(Link *link)
{
    const auto up = [this, link] {
        link->serverUp = true;
        pump(link);
    };
    const auto changed = [this, link] { pump(link); };
    if (m_serverHost.startsWith(QLatin1Char('/'))) {
        auto *socket = new QLocalSocket(m_home.get());
        link->server = socket;
        QObject::connect(socket, &QLocalSocket::connected, m_home.get(), up);
        QObject::connect(socket, &QLocalSocket::readyRead, m_home.get(), changed);
        QObject::connect(socket, &QLocalSocket::disconnected, m_home.get(), changed);
        QObject::connect(socket, &QLocalSocket::errorOccurred, m_home.get(), changed);
        socket->connectToServer(QDir(m_serverHost).filePath(QStringLiteral(".s.PGSQL.%1").arg(m_serverPort)));
        return;
    }
    auto *socket = new QTcpSocket(m_home.get());
    link->server = socket;
    QObject::connect(socket, &QTcpSocket::connected, m_home.get(), up);
    QObject::connect(socket, &QTcpSocket::readyRead, m_home.get(), changed);
    QObject::connect(socket, &QTcpSocket::disconnected, m_home.get(), changed);
    QObject::connect(socket, &QTcpSocket::errorOccurred, m_home.get(), changed);
    socket->connectToHost(m_serverHost, m_serverPort);
}

void TcpProxy::pump(Link *link)
{
    if (m_paused)
        return;
    if (link->serverUp && link->client->bytesAvailable() > 0)
        link->server->write(link->client->readAll());
    if (link->server->bytesAvailable() > 0)
        link->client->write(link->server->readAll());
    if (isClosed(link->client) || isClosed(link->server))
        drop(link, true);
}

void TcpProxy::drop(Link *link, bool flush)
{
    for (QIODevice *side : {static_cast<QIODevice *>(link->client), link->server}) {
        // Nothing of this link may run once it is gone.
        QObject::disconnect(side, nullptr, m_home.get(), nullptr);
        end(side, flush);
    }
    m_links.remove_if([link](const Link &each) { return &each == link; });
}
