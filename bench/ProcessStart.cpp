#include "ProcessStart.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

namespace {
QProcessEnvironment environmentFor(const QString &display)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}
} // namespace

ProcessStart::ProcessStart()
{
    for (const char *program : {"Xvfb", "openbox", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            return;
    }
    // The server writes the number of a free display once it listens.
    m_server.start(QStringLiteral("sh"),
                   {QStringLiteral("-c"), QStringLiteral("exec Xvfb -displayfd 1 -screen 0 1400x900x24")});
    if (!m_server.waitForReadyRead(10000))
        return;
    m_display = QStringLiteral(":") + QString::fromLatin1(m_server.readAllStandardOutput()).trimmed();
    m_windowManager.setProcessEnvironment(environmentFor(m_display));
    m_windowManager.start(QStringLiteral("openbox"), {});
    m_available = m_windowManager.waitForStarted();
    QThread::msleep(500);
}

ProcessStart::~ProcessStart()
{
    for (QProcess *process : {&m_windowManager, &m_server}) {
        process->terminate();
        process->waitForFinished(5000);
    }
}

double ProcessStart::once(const QString &executable, const QString &title) const
{
    QTemporaryDir runtime; // a single-instance lock of its own
    QProcessEnvironment env = environmentFor(m_display);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QProcess program;
    program.setProcessEnvironment(env);
    QProcess search;
    search.setProcessEnvironment(env);
    const QStringList arguments{QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')};
    QElapsedTimer timer;
    timer.start();
    program.start(executable, {});
    double shown = -1;
    while (timer.elapsed() < 10000) {
        search.start(QStringLiteral("xdotool"), arguments);
        search.waitForFinished(2000);
        if (!search.readAllStandardOutput().trimmed().isEmpty()) {
            shown = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            break;
        }
        QThread::msleep(2);
    }
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    if (!program.waitForFinished(10000))
        program.kill();
    return shown;
}
