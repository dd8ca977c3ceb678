#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

// One running copy per user. The first copy holds a lock file (the mutex "Quillbarrow") and
// a local server that answers with its executable path; a second copy asks it to come forward
// when the paths are equal, then ends without a window of its own.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first copy: the lock is ours and the server listens.
    bool claim();
    // For a second copy: returns within about a second whatever the running copy does.
    static void activateRunningCopy();

signals:
    void activationRequested();

private:
    static QString serverName();
    static QString lockPath();
    void answer();

    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};
