#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// One running copy per user, and one per program folder. The first copy holds a lock file in
// the user's runtime folder (the mutex "Quillbarrow") and a local server there that answers with
// its executable path, and a lock in the program folder; a second copy asks it to come forward
// when the paths are equal, then ends without a window of its own.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // False for a second copy: a live first copy answers, or another copy holds this program
    // folder. A lock that cannot be made at all never keeps the program from starting.
    bool claim();
    // For a second copy: returns within about a second whatever the running copy does.
    static void activateRunningCopy();

    // The per-user places, in the runtime folder (the temporary folder when there is none).
    static QString serverName();
    static QString userLockPath();
    static QString folderLockPath();

signals:
    void activationRequested();

private:
    static QString perUserPath(const QString &suffix);
    static QByteArray readRunningPath(QLocalSocket &socket);
    static bool runningCopyAnswers();
    void answer();

    QLockFile m_userLock;
    QLockFile m_folderLock;
    QLocalServer *m_server = nullptr;
};
