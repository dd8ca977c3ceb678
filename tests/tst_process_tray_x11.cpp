// Hiding to the tray on a real X server with a window manager and a tray: minimising unmaps the
// window and takes it off the window manager's list; the tray icon's double click brings it back
// maximised. Skipped where Xvfb, openbox, trayer or the X tools are not installed.
#include "TestFolder.h"

#include "settings/SettingsFile.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>

namespace {
struct WindowInfo
{
    QString id;
    QRect geometry;
    bool mapped = false;
};

// Runs an X tool on the display and gives its output.
QString runTool(const QString &display, const QString &program, const QStringList &arguments)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    tool.setProcessEnvironment(env);
    tool.start(program, arguments);
    tool.waitForFinished(5000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

WindowInfo windowInfo(const QString &display, const QString &id)
{
    const QString text = runTool(display, QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    auto number = [&text](const char *label) {
        const QRegularExpression pattern(QString::fromLatin1(label) + QStringLiteral(":\\s+(-?\\d+)"));
        return pattern.match(text).captured(1).toInt();
    };
    return {id,
            QRect(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
                  number("Height")),
            text.contains(QStringLiteral("IsViewable"))};
}

// The program's windows, by the process id the window system knows them by.
QList<WindowInfo> windowsOf(const QString &display, qint64 pid)
{
    QList<WindowInfo> windows;
    const QStringList ids = runTool(display, QStringLiteral("xdotool"),
                                    {QStringLiteral("search"), QStringLiteral("--pid"), QString::number(pid)})
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &id : ids)
        windows.append(windowInfo(display, id));
    return windows;
}

bool installed(const QStringList &programs)
{
    for (const QString &program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            return false;
    }
    return true;
}
} // namespace

class TestTrayX11 : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!installed({QStringLiteral("Xvfb"), QStringLiteral("openbox"), QStringLiteral("trayer"),
                        QStringLiteral("xdotool"), QStringLiteral("xwininfo"), QStringLiteral("xprop")}))
            QSKIP("Xvfb, openbox, trayer, xdotool or the X tools are not installed");
        // The server writes the number of a free display once it listens.
        m_server.start(
            QStringLiteral("sh"),
            {QStringLiteral("-c"), QStringLiteral("exec Xvfb -displayfd 1 -screen 0 1280x800x24")});
        QVERIFY(m_server.waitForReadyRead(10000));
        m_display = QStringLiteral(":") + QString::fromLatin1(m_server.readAllStandardOutput()).trimmed();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        m_windowManager.setProcessEnvironment(env);
        m_windowManager.start(QStringLiteral("openbox"), {});
        m_tray.setProcessEnvironment(env);
        m_tray.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top"),
                                                QStringLiteral("--align"), QStringLiteral("right")});
        QVERIFY(m_windowManager.waitForStarted() && m_tray.waitForStarted());
        QThread::msleep(1000);
    }
    void cleanupTestCase()
    {
        for (QProcess *process : {&m_tray, &m_windowManager, &m_server}) {
            process->terminate();
            process->waitForFinished(5000);
        }
    }

    void minimisingHidesToTheTrayAndTheIconBringsItBackMaximised()
    {
        TestFolder folder;
        QFile::copy(QStringLiteral(ZINDREL_EXECUTABLE), folder.filePath(QStringLiteral("Zindrel")));
        QFile::setPermissions(folder.filePath(QStringLiteral("Zindrel")),
                              QFile::permissions(QStringLiteral(ZINDREL_EXECUTABLE)));
        SettingsValues settings;
        settings.trayWay = QStringLiteral("0"); // minimise to the tray
        QVERIFY(SettingsFile::write(folder.filePath(QStringLiteral("QB.ini")), settings, nullptr));
        QTemporaryDir runtime; // a lock and socket of its own, apart from other tests
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(folder.filePath(QStringLiteral("Zindrel")), {});
        QVERIFY(program.waitForStarted());

        // The main window is the program's largest; the tray icon its smallest.
        auto mainWindow = [&] {
            WindowInfo largest;
            for (const WindowInfo &window : windowsOf(m_display, program.processId())) {
                if (window.geometry.width() * window.geometry.height() >
                    largest.geometry.width() * largest.geometry.height())
                    largest = window;
            }
            return largest;
        };
        QTRY_VERIFY_WITH_TIMEOUT(mainWindow().mapped && mainWindow().geometry.width() > 1000, 15000);
        const QString id = mainWindow().id;

        runTool(m_display, QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), id});
        QTRY_VERIFY_WITH_TIMEOUT(!windowInfo(m_display, id).mapped, 5000);
        // Off the window manager's list too: no task-bar entry is left behind.
        QThread::msleep(300);
        QVERIFY(!windowInfo(m_display, id).mapped);
        const QString clients = runTool(m_display, QStringLiteral("xprop"),
                                        {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST")});
        QVERIFY2(!clients.contains(QStringLiteral("0x") + QString::number(id.toULongLong(), 16)),
                 qPrintable(clients));

        WindowInfo icon;
        for (const WindowInfo &window : windowsOf(m_display, program.processId())) {
            // The floating window is 40 pixels square; a tray icon is smaller.
            if (window.mapped && window.geometry.width() < 40 && window.geometry.height() < 40)
                icon = window;
        }
        QVERIFY2(!icon.id.isEmpty(), "no tray icon");
        const QPoint centre = icon.geometry.center();
        runTool(m_display, QStringLiteral("xdotool"),
                {QStringLiteral("mousemove"), QString::number(centre.x()), QString::number(centre.y()),
                 QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                 QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
        QTRY_VERIFY_WITH_TIMEOUT(windowInfo(m_display, id).mapped, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(runTool(m_display, QStringLiteral("xprop"),
                                         {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_STATE")})
                                     .contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_VERT")),
                                 5000);

        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(10000));
        const QString log = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(!log.contains(QStringLiteral("called on mapped window")), qPrintable(log));
    }

private:
    QProcess m_server;
    QProcess m_windowManager;
    QProcess m_tray;
    QString m_display;
};

QTEST_GUILESS_MAIN(TestTrayX11)
#include "tst_process_tray_x11.moc"
