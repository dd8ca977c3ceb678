#include "ServerBenchmark.h"

#include "BenchFolder.h"
#include "BenchServer.h"
#include "ChangeLatency.h"
#include "IdleWait.h"
#include "RawPostgres.h"

#include "base/ProgramFolder.h"
#include "exchange/BaseUpload.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "tree/ServerTree.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

ServerBenchmark::ServerBenchmark(const BenchFolder &folder) : m_folder(folder) {}

bool ServerBenchmark::run(ServerFigures *figures, QString *error)
{
    BenchServer server;
    QTemporaryDir folder;
    if (!server.createDatabase(error) || !upload(server, figures, error) ||
        !writeFolder(folder.path(), server, error))
        return false;
    ProgramFolder::setPathForTesting(folder.path());
    const bool measured = measureWindow(server, figures, error);
    ProgramFolder::setPathForTesting(m_folder.path());
    return measured;
}

bool ServerBenchmark::upload(const BenchServer &server, ServerFigures *figures, QString *error)
{
    BaseUpload upload(server.settings(), m_folder.databasePath(),
                      QDir(m_folder.path()).filePath(QStringLiteral("MTS.qb")));
    BaseUpload::Outcome outcome = BaseUpload::Failed;
    figures->uploadSeconds =
        Measure::timed([&upload, &outcome] { outcome = upload.run([](int, int) { return true; }); }) / 1000;
    figures->uploaded = upload.materials();
    if (outcome != BaseUpload::Done ||
        figures->uploaded != BenchFolder::TextMaterials + BenchFolder::InstanceMaterials) {
        *error =
            QStringLiteral("the upload moved %1 materials: %2").arg(figures->uploaded).arg(upload.error());
        return false;
    }
    return true;
}

bool ServerBenchmark::writeFolder(const QString &path, const BenchServer &server, QString *error)
{
    const QDir folder(path);
    QSaveFile baseIni(folder.filePath(QStringLiteral("Base.ini")));
    if (!baseIni.open(QIODevice::WriteOnly) || baseIni.write(server.baseIni()) < 0 || !baseIni.commit() ||
        !QFile::copy(QDir(m_folder.path()).filePath(QStringLiteral("QB.ini")),
                     folder.filePath(QStringLiteral("QB.ini")))) {
        *error = QStringLiteral("the program folder for the server could not be written in ") + path;
        return false;
    }
    return true;
}

bool ServerBenchmark::measureWindow(const BenchServer &server, ServerFigures *figures, QString *error)
{
    // In the order of the program's entry on a shared base.
    Database database;
    ServerTree tree(&database);
    if (!database.isServer()) {
        *error = QStringLiteral("the program did not take the server from Base.ini");
        return false;
    }
    if (!database.connectServer(error))
        return false;
    MainWindow window(&tree);
    if (!window.isCreated()) {
        *error = QStringLiteral("the main window on the server was not created");
        return false;
    }
    window.attachDatabase(&database);
    window.showMaximized();
    IdleWait::settle();
    const RawPostgres raw(server.connectionInfo());
    *error = raw.error();
    if (!error->isEmpty())
        return false;
    StoreComparison comparison(window, raw);
    StoreFigures &store = figures->store;
    if (!comparison.list(&store.list, &store.listRows, error) || !comparison.search(&store, error) ||
        !comparison.insert(&store, error))
        return false;
    figures->notify = ChangeLatency(window, server.settings()).measure(error);
    return figures->notify >= 0;
}
