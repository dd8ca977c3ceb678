#include "store/FullTextIndex.h"

#include "store/Database.h"
#include "store/FullTextQuery.h"
#include "store/FullTextSchema.h"
#include "store/FullTextTokenizer.h"
#include "store/ServerFullText.h"
#include "store/SqlText.h"

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {
// Materials indexed between two reports of a build's progress.
constexpr int BatchSize = 5000;
// A queue of at least one material in this many is applied by building the index again.
constexpr qint64 BuildShare = 4;

QString describe(const QSqlError &error)
{
    // SQLITE_BUSY and SQLITE_LOCKED: another program holds the database past the busy time-out.
    if (error.nativeErrorCode() == QLatin1String("5") || error.nativeErrorCode() == QLatin1String("6"))
        return Database::BusyText;
    return error.text();
}

bool run(QSqlQuery &query, const QString &sql, QString *error)
{
    if (query.exec(sql))
        return true;
    *error = describe(query.lastError());
    return false;
}

bool runAll(QSqlQuery &query, const QStringList &statements, QString *error)
{
    return std::all_of(statements.cbegin(), statements.cend(),
                       [&query, error](const QString &sql) { return run(query, sql, error); });
}

bool readNumber(QSqlQuery &query, const QString &sql, qint64 *number, QString *error)
{
    if (!run(query, sql, error))
        return false;
    *number = query.next() ? query.value(0).toLongLong() : 0;
    query.finish();
    return true;
}

bool readIds(QSqlQuery &query, bool instances, QVector<qint64> *ids, QString *error)
{
    if (!run(query, FullTextSchema::idsStatement(instances), error))
        return false;
    while (query.next())
        ids->append(query.value(0).toLongLong());
    query.finish();
    return true;
}

// A write transaction that is rolled back unless committed.
class WriteTransaction
{
public:
    explicit WriteTransaction(QSqlDatabase &db) : m_query(db) {}
    ~WriteTransaction()
    {
        if (m_open)
            m_query.exec(QStringLiteral("ROLLBACK"));
    }
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    // Waits out another program's lock for the busy time-out, as every operation does.
    bool begin(QString *error)
    {
        m_open = run(m_query, QStringLiteral("BEGIN IMMEDIATE"), error);
        return m_open;
    }
    bool commit(QString *error)
    {
        m_open = !run(m_query, QStringLiteral("COMMIT"), error);
        return !m_open;
    }

private:
    QSqlQuery m_query;
    bool m_open = false;
};
} // namespace

FullTextIndex::FullTextIndex(Database *database) : m_database(database) {}

bool FullTextIndex::isComplete(QSqlDatabase &db, bool *complete, QString *error)
{
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("SELECT name,sql FROM sqlite_master"), error))
        return false;
    QSet<QString> present;
    while (query.next())
        present.insert(query.value(0).toString() + QLatin1Char('\n') + query.value(1).toString());
    const QList<FullTextSchema::SchemaObject> objects = FullTextSchema::objects();
    *complete =
        std::all_of(objects.cbegin(), objects.cend(), [&present](const FullTextSchema::SchemaObject &object) {
            return present.contains(object.name + QLatin1Char('\n') + object.sql);
        });
    return true;
}

bool FullTextIndex::build(QSqlDatabase &db, const Progress &progress, QString *error)
{
    WriteTransaction transaction(db);
    QSqlQuery query(db);
    if (!transaction.begin(error))
        return false;
    QStringList creates;
    for (const FullTextSchema::SchemaObject &object : FullTextSchema::objects())
        creates.append(object.sql);
    QVector<qint64> ids[2];
    if (!runAll(query, FullTextSchema::dropStatements() + creates, error) ||
        !run(query, FullTextSchema::buildMemoryStatement(), error) ||
        !readIds(query, false, &ids[0], error) || !readIds(query, true, &ids[1], error))
        return false;
    const int total = static_cast<int>(ids[0].size() + ids[1].size());
    int done = 0;
    auto report = [&progress, &done, total] {
        if (progress)
            progress(done, total);
    };
    report();
    for (const bool instances : {false, true}) {
        const QVector<qint64> &kindIds = ids[instances ? 1 : 0];
        for (int first = 0; first < kindIds.size(); first += BatchSize) {
            const int last = static_cast<int>(std::min<qsizetype>(first + BatchSize, kindIds.size())) - 1;
            if (!runAll(query, FullTextSchema::fillStatements(instances, kindIds.at(first), kindIds.at(last)),
                        error))
                return false;
            done += last - first + 1;
            report();
        }
    }
    return run(query, FullTextSchema::optimizeStatement(), error) &&
           run(query, FullTextSchema::defaultMemoryStatement(), error) && transaction.commit(error);
}

bool FullTextIndex::catchUp(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    WriteTransaction transaction(db);
    return transaction.begin(error) && runAll(query, FullTextSchema::catchUpStatements(), error) &&
           transaction.commit(error);
}

bool FullTextIndex::update(QSqlDatabase &db, const Progress &progress, bool checkCount, bool *built,
                           QString *error)
{
    *built = false;
    bool complete = false;
    if (!isComplete(db, &complete, error))
        return false;
    if (complete) {
        QSqlQuery query(db);
        qint64 queued = 0;
        qint64 materials = 0;
        qint64 indexed = 0;
        if (!readNumber(query, FullTextSchema::queueCountStatement(), &queued, error))
            return false;
        if (queued == 0 && !checkCount)
            return true;
        if ((queued >= BatchSize || checkCount) &&
            !readNumber(query, FullTextSchema::materialCountStatement(), &materials, error))
            return false;
        // After a change to a large share of the base (an import by another program, say), a
        // build is hardly slower and shows its progress; applying the queue shows none.
        const bool rebuild = queued >= BatchSize && queued * BuildShare >= materials;
        if (!rebuild) {
            if (queued > 0 && !catchUp(db, error))
                return false;
            if (!checkCount)
                return true;
            // A program that wrote past the triggers (or dropped them for a while) shows in the
            // count: the index starts again.
            if (!readNumber(query, FullTextSchema::indexedCountStatement(), &indexed, error))
                return false;
            if (indexed == materials)
                return true;
        }
    }
    *built = true;
    return build(db, progress, error);
}

bool FullTextIndex::bringUpToDate(const Progress &progress, bool *built, QString *error)
{
    *built = false;
    // The server keeps its own index up to date.
    if (m_database->isServer())
        return true;
    return m_database->runOnConnection(
        [this, &progress, built](QSqlDatabase &db, sqlite3 *handle, QString *error) {
            return FullTextTokenizer::registerOn(handle, error) && update(db, progress, true, built, error);
        },
        error);
}

bool FullTextIndex::search(const FullTextQuery &query, const Progress &progress, QVector<FullTextHit> *hits,
                           qint64 *found, QString *error)
{
    hits->clear();
    *found = 0;
    if (query.isEmpty())
        return true;
    if (m_database->isServer()) {
        if (!ServerFullText::search(m_database, query, hits, error))
            return false;
        *found = hits->size();
        sortHits(hits);
        if (hits->size() > MostHits)
            hits->resize(MostHits);
        return true;
    }
    FullTextTokenizer::RankedHits ranked(MostHits);
    const bool read = m_database->runOnConnection(
        [this, &query, &progress, hits, &ranked](QSqlDatabase &db, sqlite3 *handle, QString *error) {
            bool built = false;
            return FullTextTokenizer::registerOn(handle, error, &ranked) &&
                   update(db, progress, false, &built, error) && readHits(db, query, ranked, hits, error);
        },
        error);
    *found = ranked.counted();
    return read;
}

bool FullTextIndex::readHits(QSqlDatabase &db, const FullTextQuery &query,
                             FullTextTokenizer::RankedHits &ranked, QVector<FullTextHit> *hits,
                             QString *error)
{
    QSqlQuery select(db);
    select.setForwardOnly(true);
    if (!select.prepare(FullTextSchema::rankStatement())) {
        *error = describe(select.lastError());
        return false;
    }
    select.addBindValue(query.matchExpression());
    if (!select.exec()) {
        *error = describe(select.lastError());
        return false;
    }
    select.finish();
    const std::vector<FullTextTokenizer::RankedHits::Hit> best = ranked.best();
    if (best.empty())
        return true;
    QHash<qint64, int> places;
    QVector<qint64> documents;
    for (const FullTextTokenizer::RankedHits::Hit &ranked : best) {
        places.insert(ranked.document, static_cast<int>(hits->size()));
        documents.append(ranked.document);
        FullTextHit hit;
        hit.kind = (ranked.document & 1) ? FullTextHit::Instance : FullTextHit::Text;
        hit.id = ranked.document >> 1;
        hit.occurrences = ranked.rank % FullTextTokenizer::TitleBonus;
        hits->append(hit);
    }
    if (!run(select, FullTextSchema::titlesStatement(documents), error))
        return false;
    while (select.next()) {
        FullTextHit &hit = (*hits)[places.value(select.value(0).toLongLong())];
        hit.title = SqlText::fromTokens(select.value(1).toString(), false);
        hit.titleMatches = query.matchesAll(hit.title);
    }
    if (select.lastError().isValid()) {
        *error = describe(select.lastError());
        return false;
    }
    sortHits(hits);
    return true;
}

void FullTextIndex::sortHits(QVector<FullTextHit> *hits)
{
    std::sort(hits->begin(), hits->end(), [](const FullTextHit &a, const FullTextHit &b) {
        if (a.titleMatches != b.titleMatches)
            return a.titleMatches;
        if (a.occurrences != b.occurrences)
            return a.occurrences > b.occurrences;
        if (a.title != b.title)
            return a.title < b.title;
        return a.kind != b.kind ? a.kind < b.kind : a.id < b.id;
    });
}
