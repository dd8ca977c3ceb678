#include "OtherCopy.h"

#include "TestFolder.h"

#include "base/ProgramFolder.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "tree/ServerTree.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <csignal>
#include <cstdio>

OtherCopy::OtherCopy(const TestFolder &shared)
{
    for (const char *name : {"Base.ini", "QB.ini"})
        QFile::copy(shared.filePath(QLatin1String(name)), m_folder.filePath(QLatin1String(name)));
}

OtherCopy::~OtherCopy()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
}

bool OtherCopy::start(const QString &program, const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TMPDIR"), m_runtime.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    m_process.setProcessEnvironment(env);
    m_process.start(program, arguments);
    return m_process.waitForStarted();
}

bool OtherCopy::startProgram()
{
    const QString exe = m_folder.filePath(QStringLiteral("Zindrel"));
    return QFile::copy(QStringLiteral(ZINDREL_EXECUTABLE), exe) &&
           QFile::setPermissions(exe, QFile::permissions(QStringLiteral(ZINDREL_EXECUTABLE))) &&
           start(exe, {});
}

bool OtherCopy::startChild()
{
    return start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), folder()});
}

bool OtherCopy::waitForLine(const QByteArray &line, int timeoutMs)
{
    while (!m_output.contains(line + '\n')) {
        if (!m_process.waitForReadyRead(timeoutMs)) {
            std::fprintf(stderr, "%s", m_process.readAllStandardError().constData());
            return false;
        }
        m_output += m_process.readAllStandardOutput();
    }
    return true;
}

int OtherCopy::terminate()
{
    ::kill(static_cast<pid_t>(m_process.processId()), SIGTERM);
    return m_process.waitForFinished(10000) ? m_process.exitCode() : -1;
}

bool OtherCopy::isChild(int argc, char *argv[])
{
    return argc == 3 && QByteArray(argv[1]) == "--child";
}

int OtherCopy::runChild(char *argv[], const std::function<void(MainWindow &window)> &actions)
{
    ProgramFolder::setPathForTesting(QString::fromLocal8Bit(argv[2]));
    Database database;
    ServerTree serverTree(&database);
    QString error;
    if (!database.connectServer(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    MainWindow window(&serverTree);
    window.attachDatabase(&database);
    window.show();
    QTimer::singleShot(0, &window, [&window, &actions] { actions(window); });
    return QApplication::exec();
}
