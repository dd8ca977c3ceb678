#pragma once

#include "CodeOpenBenchmark.h"
#include "FullTextBenchmark.h"
#include "HistoryBenchmark.h"
#include "Measure.h"
#include "RawSqlite.h"
#include "ServerBenchmark.h"
#include "StoreComparison.h"

#include <QString>
#include <QStringList>

#include <memory>

class BenchFolder;
class Database;
class MainWindow;

// Every figure of one benchmark run.
struct Figures
{
    StoreFigures sqlite;      // list, search and inserts on Data.QBD, against raw SQLite
    Measure::Pair listAsList; // the list in the list style
    double open = 0;          // a material selected in the list until the detail pane is filled
    CodeFigures code;         // code opened in the in-window viewer
    double start = 0;         // the main window created and shown until idle
    double startFirst = 0;    // the same, the first time in the process (the warm-up run)
    double startBigTree = 0;  // the same with the 5,000-category tree
    double treeLoad = 0;      // TreeFile loading the 5,000-category tree file
    double recovery = 0;      // the distinct category pairs of both tables read, as the start does
    int recoveryPairs = 0;
    double rssMiB = 0;        // peak resident size after the 20,000-entry list
    double exportSeconds = 0; // the whole base written out as Markdown files (one run)
    double importSeconds = 0; // those files read into an empty base (one run)
    int exported = 0;
    int imported = 0;
    FullTextFigures fullText;
    HistoryFigures history;
    // From starting the executable to its main window mapped on an X screen, in milliseconds.
    double execDefault = 0; // Zindrel on a freshly installed folder
    double execBig = 0;     // Zindrel on the 220,000-material base
    double execBare = 0;    // a Qt program that only shows a maximised main window
    double execRatio() const { return execBare > 0 ? execDefault / execBare : 0; }
    ServerFigures server;
};

// Measures the program's own code paths on a prepared program folder: a real main window with
// its database, the search dialog, the material records, the tree file.
class Benchmark
{
public:
    explicit Benchmark(const BenchFolder &folder);
    ~Benchmark();

    static const QStringList FigureNames;

    // Runs every figure in turn, or only the one named (for profiling); false, with the reason,
    // when a code path did not do its work.
    bool run(const QString &only, QString *error);
    const Figures &figures() const { return m_figures; }

private:
    bool measureStart(QString *error);
    bool measureList(QString *error);
    void measureMemory();
    bool measureOpen(QString *error);
    bool measureTree(QString *error);
    bool measureExchange(QString *error);
    bool measureExec(QString *error);
    // Skipped, saying why, when no server answers, unless it is the one figure asked for.
    bool measureServer(bool asked, QString *error);

    // Creates and shows a main window on the folder until idle; its time in milliseconds, or a
    // negative number when the window could not be created.
    static double startOnce(const QString &folder);

    const BenchFolder &m_folder;
    RawSqlite m_raw;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<Database> m_database;
    Figures m_figures;
};
