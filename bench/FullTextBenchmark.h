#pragma once

#include "InsertSample.h"
#include "Measure.h"

#include <QString>
#include <QStringList>
#include <QVector>

class BenchFolder;
class Database;
class MainWindow;
class RawSqlite;

// The full-text figures: searches through the tool bar's box against a substring scan in one
// statement, the build of the index, the database's size, inserts before and after the index.
struct FullTextFigures
{
    struct Query
    {
        QString typed;
        Measure::Pair pair; // the search until "搜索结果" is listed, against the raw scan
        int hits = 0;
    };

    QVector<Query> queries;
    QVector<Query> commonQueries; // words in nearly every material: the best 2,000 hits listed
    double buildSeconds = 0;      // the whole index built at start, in one transaction (one run)
    int indexed = 0;
    double usedBeforeMiB = 0; // pages in use, without and with the index
    double usedAfterMiB = 0;
    double indexMiB = 0;      // the index's own pages
    double textMiB = 0;       // the stored text it covers
    double insertWith = 0;    // 2,000 inserts one by one through the record, the index's triggers on
    double insertWithout = 0; // the same without them, as before the index existed
    double firstSearch = 0;   // the next search after those inserts, which indexes them first

    // The query whose median is the slowest, of the ordinary or the common ones.
    const Query *slowest() const { return slowestOf(queries); }
    const Query *slowestCommon() const { return slowestOf(commonQueries); }
    static const Query *slowestOf(const QVector<Query> &queries);
};

class FullTextBenchmark
{
public:
    FullTextBenchmark(const BenchFolder &folder, MainWindow &window, Database &database,
                      const RawSqlite &raw);

    bool run(FullTextFigures *figures, QString *error);

private:
    bool runStatements(const QStringList &statements, QString *error);
    bool measureBuild(FullTextFigures *figures, QString *error);
    bool measureSizes(FullTextFigures *figures, bool withIndex);
    double insertRun(QString *error);
    bool measureQueries(FullTextFigures *figures, QString *error);
    double searchOnce(const QString &typed, int *hits);

    const BenchFolder &m_folder;
    MainWindow &m_window;
    Database &m_database;
    const RawSqlite &m_raw;
    InsertSample m_sample;
};
