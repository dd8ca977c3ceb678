#include "resources/IconLibrary.h"
#include "shell/MainWindow.h"
#include "shell/SignalWatcher.h"
#include "shell/SingleInstance.h"
#include "store/Database.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zindrel"));
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    if (!instance.claim()) {
        SingleInstance::activateRunningCopy();
        return 0;
    }
    // Watch for SIGTERM before anything else: one that arrives during start-up is handled
    // once the event loop runs, through the ordinary quit.
    SignalWatcher signalWatcher;
    QApplication::setWindowIcon(IconLibrary::mainIcon());

    MainWindow window;
    if (!window.isCreated())
        return 1;
    Database database;
    window.attachDatabase(&database);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, &MainWindow::comeForward);
    QObject::connect(&signalWatcher, &SignalWatcher::terminationRequested, &window, &MainWindow::quitProgram);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, &MainWindow::quitProgram);

    window.showMaximized();
    return QApplication::exec();
}
