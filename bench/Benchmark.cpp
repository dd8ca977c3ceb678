#include "Benchmark.h"

#include "BenchFolder.h"
#include "BenchServer.h"
#include "IdleWait.h"
#include "ProcessStart.h"

#include "base/ProgramFolder.h"
#include "browse/DetailPane.h"
#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "browse/MaterialListView.h"
#include "exchange/ExportWriter.h"
#include "exchange/ImportPlan.h"
#include "exchange/MaterialImporter.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "tree/CategoryRecovery.h"
#include "tree/NodeRules.h"
#include "tree/TreeFile.h"
#include "tree/TreeFileError.h"

#include <QDir>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <sys/resource.h>

Benchmark::Benchmark(const BenchFolder &folder) : m_folder(folder), m_raw(folder.databasePath()) {}

Benchmark::~Benchmark()
{
    m_window.reset();
    m_database.reset();
}

const QStringList Benchmark::FigureNames{
    QStringLiteral("start"),    QStringLiteral("list"),    QStringLiteral("open"), QStringLiteral("code"),
    QStringLiteral("search"),   QStringLiteral("insert"),  QStringLiteral("tree"), QStringLiteral("exchange"),
    QStringLiteral("fulltext"), QStringLiteral("history"), QStringLiteral("exec"), QStringLiteral("server")};

bool Benchmark::run(const QString &only, QString *error)
{
    auto wanted = [&only](const char *figure) { return only.isEmpty() || only == QLatin1String(figure); };
    if (wanted("start") && !measureStart(error))
        return false;
    ProgramFolder::setPathForTesting(m_folder.path());
    m_window = std::make_unique<MainWindow>();
    m_database = std::make_unique<Database>();
    m_window->attachDatabase(m_database.get());
    m_window->showMaximized();
    IdleWait::settle();
    if (wanted("list")) {
        if (!measureList(error))
            return false;
    } else {
        StoreComparison::showCategory(*m_window, BenchFolder::BigCategory);
    }
    measureMemory();
    StoreComparison sqlite(*m_window, m_raw);
    return (!wanted("open") || measureOpen(error)) &&
           (!wanted("code") || CodeOpenBenchmark(*m_window).run(&m_figures.code, error)) &&
           (!wanted("search") || sqlite.search(&m_figures.sqlite, error)) &&
           (!wanted("insert") || sqlite.insert(&m_figures.sqlite, error)) &&
           (!wanted("tree") || measureTree(error)) && (!wanted("exchange") || measureExchange(error)) &&
           (!wanted("fulltext") ||
            FullTextBenchmark(m_folder, *m_window, *m_database, m_raw).run(&m_figures.fullText, error)) &&
           (!wanted("history") || HistoryBenchmark(*m_window, *m_database).run(&m_figures.history, error)) &&
           (!wanted("exec") || measureExec(error)) &&
           (!wanted("server") || measureServer(!only.isEmpty(), error));
}

double Benchmark::startOnce(const QString &folder)
{
    ProgramFolder::setPathForTesting(folder);
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<Database> database;
    const double ms = Measure::timed([&window, &database] {
        // In the order of the program's entry.
        window = std::make_unique<MainWindow>();
        database = std::make_unique<Database>();
        window->attachDatabase(database.get());
        window->showMaximized();
        IdleWait::settle();
    });
    const bool created = window->isCreated() && window->categoryTree()->topLevelItemCount() == 3;
    window.reset();
    database.reset();
    IdleWait::settle();
    return created ? ms : -1;
}

bool Benchmark::measureStart(QString *error)
{
    m_figures.start = Measure::median([this] { return startOnce(m_folder.path()); }, &m_figures.startFirst);
    m_figures.startBigTree = Measure::median([this] { return startOnce(m_folder.bigTreeFolder()); });
    if (m_figures.start < 0 || m_figures.startFirst < 0 || m_figures.startBigTree < 0) {
        *error = QStringLiteral("the main window was not created");
        return false;
    }
    return true;
}

bool Benchmark::measureList(QString *error)
{
    StoreComparison sqlite(*m_window, m_raw);
    if (!sqlite.list(&m_figures.sqlite.list, &m_figures.sqlite.listRows, error))
        return false;
    const int style = m_window->materialList()->viewStyle();
    m_window->materialList()->setViewStyle(MaterialListView::List);
    int rows = 0;
    const bool listed = sqlite.list(&m_figures.listAsList, &rows, error);
    m_window->materialList()->setViewStyle(style);
    return listed;
}

bool Benchmark::measureExec(QString *error)
{
    ProcessStart start;
    if (!start.available()) {
        *error = QStringLiteral("the start figure needs Xvfb, openbox and xdotool");
        return false;
    }
    // Each program folder holds its own copy of the executable, as an installation does.
    QTemporaryDir fresh;
    const QString program = QStringLiteral("Zindrel");
    const QString freshProgram = QDir(fresh.path()).filePath(program);
    const QString bigProgram = QDir(m_folder.path()).filePath(program);
    QFile::remove(bigProgram);
    if (!BenchFolder::createEmpty(fresh.path(), error) ||
        !QFile::copy(QStringLiteral(ZINDREL_EXECUTABLE), freshProgram) ||
        !QFile::copy(QStringLiteral(ZINDREL_EXECUTABLE), bigProgram)) {
        if (error->isEmpty())
            *error = QStringLiteral("the executable could not be copied");
        return false;
    }
    for (const QString &copy : {freshProgram, bigProgram})
        QFile::setPermissions(copy, QFile::permissions(QStringLiteral(ZINDREL_EXECUTABLE)));
    const QString title = QStringLiteral("Zindrel");
    m_figures.execDefault = Measure::median([&] { return start.once(freshProgram, title); });
    m_figures.execBig = Measure::median([&] { return start.once(bigProgram, title); });
    m_figures.execBare = Measure::median(
        [&] { return start.once(QStringLiteral(ZINDREL_BARE_START), QStringLiteral("BareQt")); });
    QFile::remove(bigProgram);
    if (m_figures.execDefault < 0 || m_figures.execBig < 0 || m_figures.execBare < 0) {
        *error = QStringLiteral("a program's main window was not mapped within ten seconds");
        return false;
    }
    return true;
}

void Benchmark::measureMemory()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    m_figures.rssMiB = static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

bool Benchmark::measureOpen(QString *error)
{
    // A user clicks an entry that is in view.
    QVector<QModelIndex> shown;
    for (int row = 0; row < m_window->materialList()->model()->rowCount() && shown.size() < 64; ++row) {
        const QModelIndex index = m_window->materialList()->model()->index(row, 0);
        if (m_window->materialList()->view()->viewport()->rect().intersects(
                m_window->materialList()->view()->visualRect(index)))
            shown.append(index);
    }
    if (shown.size() < 2) {
        *error = QStringLiteral("the list shows fewer than two entries");
        return false;
    }
    int turn = 0;
    bool filled = true;
    m_figures.open = Measure::median([this, &shown, &turn, &filled] {
        const QModelIndex row = shown.at(turn++ % shown.size());
        const double ms = Measure::timed([this, &row] {
            m_window->materialList()->view()->setCurrentIndex(row);
            IdleWait::settle();
        });
        filled = filled && m_window->detailPane()->rows()->topLevelItemCount() > 0;
        return ms;
    });
    if (!filled)
        *error = QStringLiteral("the detail pane stayed empty");
    return filled;
}

bool Benchmark::measureTree(QString *error)
{
    int categories = 0;
    m_figures.treeLoad = Measure::median([this, &categories] {
        TreeFile file(m_folder.bigTreePath());
        QVector<TreeNode> roots;
        double ms = 0;
        try {
            ms = Measure::timed([&file, &roots] { roots = file.load(); });
        } catch (const TreeFileError &) {
            return -1.0;
        }
        categories = 0;
        for (const TreeNode &root : roots) {
            for (const TreeNode &first : root.children)
                categories += 1 + static_cast<int>(first.children.size());
        }
        return ms;
    });
    if (categories != BenchFolder::BigTreeCategories) {
        *error = QStringLiteral("the tree file gave %1 categories").arg(categories);
        return false;
    }
    // What the start reads to grow back the categories that materials name but the tree lacks.
    m_figures.recovery = Measure::median([this] {
        QVector<CategoryRecovery::Pair> text;
        QVector<CategoryRecovery::Pair> instances;
        QString why;
        const double ms = Measure::timed([&text, &instances, &why] {
            CategoryRecovery::readPairs(NodeRules::tableOfRoot(NodeRules::TextRootText), &text, &why);
            CategoryRecovery::readPairs(NodeRules::tableOfRoot(NodeRules::InstanceRootText), &instances,
                                        &why);
        });
        m_figures.recoveryPairs = static_cast<int>(text.size() + instances.size());
        return why.isEmpty() ? ms : -1.0;
    });
    if (m_figures.recovery < 0 || m_figures.recoveryPairs == 0) {
        *error = QStringLiteral("the category pairs of the materials could not be read");
        return false;
    }
    return true;
}

bool Benchmark::measureExchange(QString *error)
{
    // One run each: a run writes 220,000 files, and the second would only find them cached.
    QTemporaryDir target;
    QTemporaryDir empty;
    QVector<ExportWriter::Part> parts;
    try {
        for (const TreeNode &root :
             TreeFile(QDir(m_folder.path()).filePath(QStringLiteral("MTS.qb"))).load()) {
            if (root.name != NodeRules::SearchResultText)
                parts.append({{root.name}, root.children, {}, false});
        }
    } catch (const TreeFileError &) {
        *error = QStringLiteral("the tree file could not be read");
        return false;
    }
    ExportWriter writer(parts);
    ExchangeReport exported;
    m_figures.exportSeconds =
        Measure::timed([&] { exported = writer.run(target.path(), [](int, int) { return true; }); }) / 1000;
    m_figures.exported = exported.materials;
    if (exported.outcome != ExchangeReport::Done ||
        exported.materials != BenchFolder::TextMaterials + BenchFolder::InstanceMaterials) {
        *error =
            QStringLiteral("the export wrote %1 materials: %2").arg(exported.materials).arg(exported.error);
        return false;
    }
    if (!BenchFolder::createEmpty(empty.path(), error))
        return false;
    ProgramFolder::setPathForTesting(empty.path());
    ExchangeReport imported;
    m_figures.importSeconds = Measure::timed([&] {
                                  ImportPlan plan(writer.folder(), {}, TreeFile().load());
                                  if (plan.scan([](int) { return true; }))
                                      imported = MaterialImporter(plan).run([](int, int) { return true; });
                              }) /
                              1000;
    ProgramFolder::setPathForTesting(m_folder.path());
    m_database->pointAtProgramFolder(); // the import pointed it at the empty folder, removed soon
    m_figures.imported = imported.materials;
    if (imported.outcome != ExchangeReport::Done || imported.materials != exported.materials) {
        *error =
            QStringLiteral("the import filed %1 materials: %2").arg(imported.materials).arg(imported.error);
        return false;
    }
    return true;
}

bool Benchmark::measureServer(bool asked, QString *error)
{
    const QString unavailable = BenchServer::unavailable();
    if (!unavailable.isEmpty()) {
        if (asked)
            *error = unavailable;
        else
            m_figures.server.skipped = unavailable;
        return !asked;
    }
    // The program has one database at a time: the window on Data.QBD gives way to one on the server.
    m_window.reset();
    m_database.reset();
    IdleWait::settle();
    return ServerBenchmark(m_folder).run(&m_figures.server, error);
}
