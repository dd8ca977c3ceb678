#include "resources/IconLibrary.h"
#include "shell/SignalWatcher.h"
#include "shell/SingleInstance.h"
#include "shell/TMainForm.h"
#include "store/TMainData.h"

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

    TMainForm form;
    if (!form.isCreated())
        return 1;
    TMainData data;
    form.attachDataModule(&data);
    QObject::connect(&instance, &SingleInstance::activationRequested, &form,
                     &TMainForm::activateFromSecondCopy);
    QObject::connect(&signalWatcher, &SignalWatcher::terminationRequested, &form, &TMainForm::QuitProgram);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, &TMainForm::QuitProgram);

    form.showMaximized();
    return QApplication::exec();
}
