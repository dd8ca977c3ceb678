#pragma once

#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <list>
#include <memory>

class QIODevice;
class QTcpServer;
class QTcpSocket;

// A relay on 127.0.0.1 to the test server (TestServer: PGHOST and PGPORT, a TCP host or a socket
// folder), which a test makes fail as a network or a server does. It relays in a thread of its
// own, so it goes on while the test's thread waits in an event loop of the program's or is
// blocked.
class TcpProxy
{
public:
    // Listens on a free port at once.
    TcpProxy();
    ~TcpProxy();

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    // Points the Base.ini at the relay instead of at the server.
    bool redirect(const QString &baseIniPath) const;

    // No byte moves either way while connections stay open: a server that hangs, or a link that
    // went down with nobody told (a relay stopped with SIGSTOP).
    void pause();
    void resume();
    // Every connection is dropped and new ones are refused for ms milliseconds, then taken again:
    // a server's restart as its clients see it.
    void restart(int ms);
    // New connections are taken (false while a restart refuses them).
    bool isAccepting() const { return m_accepting; }

private:
    struct Link
    {
        QTcpSocket *client = nullptr;
        QIODevice *server = nullptr;
        bool serverUp = false;
    };

    // Runs work in the relay's thread and waits for it.
    void inRelayThread(const std::function<void()> &work);
    // The rest runs in the relay's thread.
    void listen();
    void takeConnections();
    void connectToServer(Link *link);
    // Moves what either side sent; once one side is gone, ends the other after its last bytes.
    void pump(Link *link);
    void drop(Link *link, bool flush);

    const QString m_serverHost;
    const quint16 m_serverPort;
    QThread m_thread;
    // Lives in the relay's thread and owns everything there.
    std::unique_ptr<QObject> m_home;
    QTcpServer *m_listener = nullptr;
    std::list<Link> m_links;
    bool m_paused = false;
    quint16 m_port = 0;
    std::atomic<bool> m_accepting{false};
};
