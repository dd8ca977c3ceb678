#include "TestFolder.h"

#include "base/AnsiText.h"
#include "shell/SingleInstance.h"

#include <QTemporaryDir>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace {
QString lockPath()
{
    return SingleInstance::userLockPath();
}

// A program folder with the built executable in it, as an installation is.
class InstalledFolder
{
public:
    InstalledFolder()
    {
        QFile::copy(QStringLiteral(ZINDREL_EXECUTABLE), exe());
        QFile::setPermissions(exe(), QFile::permissions(QStringLiteral(ZINDREL_EXECUTABLE)));
    }
    QString exe() const { return folder.filePath(QStringLiteral("Zindrel")); }
    TestFolder folder;
};

bool waitForServer(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QLocalSocket socket;
        socket.connectToServer(SingleInstance::serverName());
        if (socket.waitForConnected(100))
            return true;
        QThread::msleep(50);
    }
    return false;
}

// Temporary and runtime folders other than this process's, when given.
void startOffscreen(QProcess &process, const QString &exe, const QString &temporaryFolder = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!temporaryFolder.isEmpty()) {
        env.insert(QStringLiteral("TMPDIR"), temporaryFolder);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), temporaryFolder);
    }
    process.setProcessEnvironment(env);
    process.start(exe, {});
}

// Line ends the program itself never writes: a saved tree shows that its close ran.
void writeUnsavedTree(const TestFolder &folder)
{
    folder.writeBytes(QStringLiteral("MTS.qb"),
                      AnsiText::encode(QStringLiteral("文字资料0\n+A1\n搜索结果0\n")));
}

QByteArray savedTree()
{
    return AnsiText::encode(QStringLiteral("文字资料0\r\n+A1\r\n搜索结果0\r\n"));
}
} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLockFile probe(lockPath());
        probe.setStaleLockTime(0);
        if (!probe.tryLock(0))
            QSKIP("A Zindrel of this user is running; the single-instance tests need the lock.");
        probe.unlock();
    }

    void secondCopyEndsAtOnceAndTheFirstQuitsOnSigterm()
    {
        InstalledFolder installed;
        // Line ends the program itself never writes: the saved tree shows the close ran.
        installed.folder.writeBytes(QStringLiteral("MTS.qb"),
                                    AnsiText::encode(QStringLiteral("文字资料0\n+A1\n搜索结果0\n")));
        QProcess first;
        startOffscreen(first, installed.exe());
        QVERIFY(first.waitForStarted());
        QVERIFY(waitForServer(10000));

        QProcess second;
        QElapsedTimer timer;
        timer.start();
        startOffscreen(second, installed.exe());
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY2(timer.elapsed() < 4000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(first.state(), QProcess::Running);

        ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(installed.folder.readBytes(QStringLiteral("MTS.qb")),
                 AnsiText::encode(QStringLiteral("文字资料0\r\n+A1\r\n搜索结果0\r\n")));
    }

    void startsWhenNoLockCanBeMade()
    {
        InstalledFolder installed;
        writeUnsavedTree(installed.folder);
        // Below a file: no folder can be made there, not even by root.
        QProcess program;
        startOffscreen(program, installed.exe(), installed.folder.filePath(QStringLiteral("MTS.qb/runtime")));
        QVERIFY(program.waitForStarted());
        QVERIFY(!program.waitForFinished(2000));
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(installed.folder.readBytes(QStringLiteral("MTS.qb")), savedTree());
    }

    void secondCopyOnTheSameFolderEndsWhateverItsTemporaryFolder()
    {
        InstalledFolder installed;
        writeUnsavedTree(installed.folder);
        QProcess first;
        startOffscreen(first, installed.exe());
        QVERIFY(first.waitForStarted());
        QVERIFY(waitForServer(10000));
        QTemporaryDir elsewhere;
        QProcess second;
        startOffscreen(second, installed.exe(), elsewhere.path());
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(installed.folder.readBytes(QStringLiteral("MTS.qb")), savedTree());
    }

    void terminationEndsTheStartUpErrorBox()
    {
        InstalledFolder installed;
        installed.folder.remove(QStringLiteral("MTS.qb"));
        QProcess program;
        startOffscreen(program, installed.exe());
        QVERIFY(program.waitForStarted());
        QVERIFY(!program.waitForFinished(1500)); // the box waits for its OK
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY(!QFile::exists(installed.folder.filePath(QStringLiteral("MTS.qb"))));
    }

    // A termination ends the program even when the tree cannot be saved (the original that must
    // be kept first cannot be): no box waits for an answer, standard error says what was lost.
    void terminationWithATreeThatCannotBeSavedSaysSoOnStandardError()
    {
        InstalledFolder installed;
        const QByteArray stray = AnsiText::encode(QStringLiteral("++孤立2\n文字资料0\n+A1\n搜索结果0\n"));
        installed.folder.writeBytes(QStringLiteral("MTS.qb"), stray);
        QVERIFY(QDir(installed.folder.path()).mkdir(QStringLiteral("MTS.qb.bak")));
        QProcess program;
        startOffscreen(program, installed.exe());
        QVERIFY(program.waitForStarted());
        QVERIFY(waitForServer(10000));
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        const QString error = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(error.contains(QStringLiteral("无法保留原文件MTS.qb.bak")), qPrintable(error));
        QCOMPARE(installed.folder.readBytes(QStringLiteral("MTS.qb")), stray);
    }

    void staleLockDoesNotStopTheStart()
    {
        InstalledFolder installed;
        {
            // The lock of a copy that crashed: its process no longer exists.
            QFile lock(lockPath());
            QVERIFY(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
            lock.write("999999\nZindrel\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        }
        QProcess program;
        startOffscreen(program, installed.exe());
        QVERIFY(program.waitForStarted());
        QVERIFY(waitForServer(10000));
        QCOMPARE(program.state(), QProcess::Running);
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY(!QFile::exists(lockPath()));
    }

    void runningCopyIsAskedToComeForward()
    {
        SingleInstance running;
        QVERIFY(running.claim());
        QSignalSpy asked(&running, &SingleInstance::activationRequested);
        SingleInstance second;
        QVERIFY(!second.claim());
        // The second copy's blocking calls need the running copy's loop to go on meanwhile.
        QThread *thread = QThread::create([] { SingleInstance::activateRunningCopy(); });
        thread->start();
        QTRY_COMPARE(asked.count(), 1);
        QVERIFY(thread->wait(5000));
        delete thread;
    }

    void secondCopyEndsWhenNobodyAnswers()
    {
        // Nobody listens: the second copy gives up quickly.
        QElapsedTimer timer;
        timer.start();
        SingleInstance::activateRunningCopy();
        QVERIFY(timer.elapsed() < 2000);
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_process_singleinstance.moc"
