#include "FullTextBenchmark.h"

#include "BenchFolder.h"
#include "IdleWait.h"
#include "InsertSample.h"
#include "RawSqlite.h"

#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "browse/Navigator.h"
#include "search/FullTextSearch.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "store/FullTextSchema.h"
#include "store/FullTextTokenizer.h"
#include "tree/CategoryTree.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {
constexpr double MiB = 1024.0 * 1024.0;

// A term of three characters, two Chinese characters, one character, and two terms, one of them
// in almost every material: bodies are drawn from a small vocabulary, so these are the terms
// with thousands rather than hundreds of thousands of hits.
const QStringList Queries{QStringLiteral("库编程"), QStringLiteral("串正"), QStringLiteral("触"),
                          QStringLiteral("库编 qt")};
// Words in nearly every material (or in none), whose hits are counted and the best listed.
const QStringList CommonQueries{QStringLiteral("qt"), QStringLiteral("数据库"), QStringLiteral("的")};

// The reference: one statement that looks for every term in every searched column.
QByteArray scanStatement(const QString &typed)
{
    const QStringList terms = typed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    auto condition = [&terms](const QStringList &columns) {
        QStringList all;
        for (const QString &term : terms) {
            QStringList any;
            for (const QString &column : columns)
                any.append(column + QStringLiteral(" like '%") + term + QStringLiteral("%'"));
            all.append(QLatin1Char('(') + any.join(QStringLiteral(" or ")) + QLatin1Char(')'));
        }
        return all.join(QStringLiteral(" and "));
    };
    return (QStringLiteral("select id,title from textfile where ") + condition({"title", "main"}) +
            QStringLiteral(" union all select id,title from exefile where ") +
            condition({"title", "about", "fpath"}))
        .toUtf8();
}
} // namespace

const FullTextFigures::Query *FullTextFigures::slowestOf(const QVector<Query> &queries)
{
    const Query *slowest = nullptr;
    for (const Query &query : queries) {
        if (!slowest || query.pair.program > slowest->pair.program)
            slowest = &query;
    }
    return slowest;
}

FullTextBenchmark::FullTextBenchmark(const BenchFolder &folder, MainWindow &window, Database &database,
                                     const RawSqlite &raw)
    : m_folder(folder), m_window(window), m_database(database), m_raw(raw)
{
}

bool FullTextBenchmark::run(FullTextFigures *figures, QString *error)
{
    // A kept folder holds the index of an earlier run: each run starts from a base without it.
    if (!runStatements(FullTextSchema::dropStatements(), error) || !measureSizes(figures, false) ||
        !measureBuild(figures, error) || !measureSizes(figures, true))
        return false;
    // What an insert costs the index is its triggers: runs with and without them take turns, so
    // that the disk's writing back the build falls on both alike. Rows added without them are
    // never indexed; their removal, recorded, takes nothing out of the index.
    QStringList triggers;
    QStringList dropTriggers;
    for (const FullTextSchema::SchemaObject &object : FullTextSchema::objects()) {
        if (object.sql.startsWith(QLatin1String("CREATE TRIGGER"))) {
            triggers.append(object.sql);
            dropTriggers.append(QStringLiteral("DROP TRIGGER ") + object.name);
        }
    }
    QString failure;
    const Measure::Pair inserts = Measure::alternating([this, &failure] { return insertRun(&failure); },
                                                       [this, &failure, &triggers, &dropTriggers] {
                                                           if (!runStatements(dropTriggers, &failure))
                                                               return 0.0;
                                                           const double ms = insertRun(&failure);
                                                           runStatements(triggers, &failure);
                                                           return ms;
                                                       });
    figures->insertWith = inserts.program;
    figures->insertWithout = inserts.raw;
    int hits = 0;
    // All of it indexed and removed again, then one run more: the next search indexes those 2,000.
    searchOnce(Queries.first(), &hits);
    m_raw.executeEach({InsertSample::removal().toUtf8()});
    searchOnce(Queries.first(), &hits);
    insertRun(&failure);
    figures->firstSearch = searchOnce(Queries.first(), &hits);
    m_raw.executeEach({InsertSample::removal().toUtf8()});
    searchOnce(Queries.first(), &hits);
    if (!failure.isEmpty()) {
        *error = QStringLiteral("inserts: ") + failure;
        return false;
    }
    return measureQueries(figures, error);
}

bool FullTextBenchmark::runStatements(const QStringList &statements, QString *error)
{
    return m_database.runOnConnection(
        [&statements](QSqlDatabase &db, sqlite3 *handle, QString *error) {
            // Statements on the index's table need its tokenizer.
            if (!FullTextTokenizer::registerOn(handle, error))
                return false;
            QSqlQuery query(db);
            for (const QString &sql : statements) {
                if (!query.exec(sql)) {
                    *error = query.lastError().text();
                    return false;
                }
            }
            return true;
        },
        error);
}

bool FullTextBenchmark::measureBuild(FullTextFigures *figures, QString *error)
{
    figures->buildSeconds = Measure::timed([this] {
                                m_window.fullTextSearch()->prepareIndex();
                                IdleWait::settle();
                            }) /
                            1000;
    figures->indexed = static_cast<int>(m_raw.number("select count(*) from fulltext_title"));
    const int materials = BenchFolder::TextMaterials + BenchFolder::InstanceMaterials;
    if (figures->indexed != materials) {
        *error = QStringLiteral("the index covers %1 of %2 materials").arg(figures->indexed).arg(materials);
        return false;
    }
    return true;
}

bool FullTextBenchmark::measureSizes(FullTextFigures *figures, bool withIndex)
{
    const double used =
        static_cast<double>(m_raw.number("select ((select page_count from pragma_page_count())-"
                                         "(select freelist_count from pragma_freelist_count()))*"
                                         "(select page_size from pragma_page_size())")) /
        MiB;
    if (!withIndex) {
        figures->usedBeforeMiB = used;
        figures->textMiB =
            static_cast<double>(m_raw.number(
                "select (select sum(length(cast(title as blob))+length(cast(main as blob))) from textfile)+"
                "(select sum(length(cast(title as blob))+length(cast(about as blob))+"
                "length(cast(fpath as blob))) from exefile)")) /
            MiB;
        return used > 0 && figures->textMiB > 0;
    }
    figures->usedAfterMiB = used;
    figures->indexMiB =
        static_cast<double>(m_raw.number("select sum(pgsize) from dbstat where name like 'fulltext%'")) / MiB;
    return used > 0 && figures->indexMiB > 0;
}

double FullTextBenchmark::insertRun(QString *error)
{
    bool ok = true;
    const double ms = Measure::timed([this, &ok] { ok = m_sample.insertAll(); });
    if (!ok)
        *error = QStringLiteral("an insert failed");
    return ms;
}

double FullTextBenchmark::searchOnce(const QString &typed, int *hits)
{
    // From a small category, as a person comes to the search.
    QTreeWidget *tree = m_window.categoryTree();
    CategoryTree::selectNode(tree, CategoryTree::findByText(tree, BenchFolder::SmallCategory));
    m_window.navigator()->visitSelectedCategory();
    IdleWait::settle();
    const double ms = Measure::timed([this, &typed] {
        m_window.fullTextSearch()->search(typed);
        IdleWait::settle();
    });
    *hits = static_cast<int>(m_window.fullTextSearch()->lastFound());
    return ms;
}

bool FullTextBenchmark::measureQueries(FullTextFigures *figures, QString *error)
{
    for (const QString &typed : Queries) {
        FullTextFigures::Query query{typed, {}, 0};
        const QByteArray scan = scanStatement(typed);
        int rawHits = 0;
        query.pair = Measure::alternating([this, &typed, &query] { return searchOnce(typed, &query.hits); },
                                          [this, &scan, &rawHits] {
                                              return Measure::timed(
                                                  [this, &scan, &rawHits] { rawHits = m_raw.select(scan); });
                                          });
        figures->queries.append(query);
        if (query.hits == 0 || query.hits != rawHits) {
            *error = QStringLiteral("\"%1\": the search found %2, the scan %3")
                         .arg(typed)
                         .arg(query.hits)
                         .arg(rawHits);
            return false;
        }
    }
    for (const QString &typed : CommonQueries) {
        FullTextFigures::Query query{typed, {}, 0};
        query.pair.program =
            Measure::median([this, &typed, &query] { return searchOnce(typed, &query.hits); });
        figures->commonQueries.append(query);
    }
    return true;
}
