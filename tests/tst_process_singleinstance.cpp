#include "TestFolder.h"

#include "base/AnsiText.h"
#include "shell/SingleInstance.h"

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
    return QDir(QDir::tempPath()).filePath(QStringLiteral("Quillbarrow-%1.lock").arg(::getuid()));
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
        socket.connectToServer(QStringLiteral("Quillbarrow-%1").arg(::getuid()));
        if (socket.waitForConnected(100))
            return true;
        QThread::msleep(50);
    }
    return false;
}

void startOffscreen(QProcess &process, const QString &exe)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(exe, {});
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
