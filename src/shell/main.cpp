#include "base/ProgramFolder.h"
#include "base/QtTranslations.h"
#include "resources/IconLibrary.h"
#include "search/FullTextSearch.h"
#include "shell/MainWindow.h"
#include "shell/ServerStart.h"
#include "shell/SignalWatcher.h"
#include "shell/SingleInstance.h"
#include "shell/UserDataFolder.h"
#include "store/Database.h"
#include "tree/ServerTree.h"
#include "widgets/AccessibleRoles.h"
#include "widgets/MessageBoxes.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zindrel"));
    QApplication::setQuitOnLastWindowClosed(false);

    // An installed program's files live in the user's data folder, made at its first start.
    if (ProgramFolder::isInstalledLayout()) {
        QString error;
        if (!UserDataFolder::prepare(ProgramFolder::path(), ProgramFolder::installedDataPath(), &error)) {
            QtTranslations::installChinese(&app);
            MessageBoxes::show(nullptr, error, MessageBoxes::AppTitle, QMessageBox::Critical);
            return 1;
        }
    }
    SingleInstance instance;
    if (!instance.claim()) {
        SingleInstance::activateRunningCopy();
        return 0;
    }
    // Watch for SIGTERM before anything else: one that arrives during start-up is handled
    // once the event loop runs, through the ordinary quit.
    SignalWatcher signalWatcher;
    QApplication::setWindowIcon(IconLibrary::mainIcon());
    QtTranslations::installChinese(&app);
    AccessibleRoles::install();

    // Until the window stands a termination ends the start (an error box may be up), writing
    // nothing: there is no tree yet to write.
    const QMetaObject::Connection duringStart = QObject::connect(
        &signalWatcher, &SignalWatcher::terminationRequested, &app, [] { QCoreApplication::exit(1); });
    // A shared base that Base.ini names is reached first: the window reads its tree from there.
    Database database;
    ServerTree serverTree(&database);
    if (!ServerStart::connect(&database))
        return 1;
    MainWindow window(database.isServer() ? static_cast<TreeStore *>(&serverTree) : nullptr);
    QObject::disconnect(duringStart);
    if (!window.isCreated())
        return 1;
    window.attachDatabase(&database);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, &MainWindow::comeForward);
    QObject::connect(&signalWatcher, &SignalWatcher::terminationRequested, &window, &MainWindow::endProgram);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, &MainWindow::endProgram);

    // Once the window is on screen: a base without a full-text index gets one, with its progress
    // shown.
    QObject::connect(&window, &MainWindow::startFinished, window.fullTextSearch(),
                     &FullTextSearch::prepareIndex, Qt::QueuedConnection);
    window.showMaximized();
    return QApplication::exec();
}
