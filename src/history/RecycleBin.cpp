#include "history/RecycleBin.h"

#include "history/HistorySchema.h"
#include "history/KeptTime.h"
#include "history/RestoreOutcome.h"
#include "history/RestorePlace.h"
#include "store/Database.h"
#include "store/SqlText.h"

#include <QMap>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {
// Rows named in one statement: statements of a few kilobytes, however many are chosen.
constexpr int SeqsPerStatement = 1000;

QVector<QVector<qint64>> inChunks(const QVector<qint64> &seqs)
{
    QVector<QVector<qint64>> chunks;
    for (qsizetype first = 0; first < seqs.size(); first += SeqsPerStatement)
        chunks.append(seqs.mid(first, SeqsPerStatement));
    return chunks;
}

QString seqIn(const QVector<qint64> &seqs)
{
    QStringList numbers;
    numbers.reserve(seqs.size());
    for (qint64 seq : seqs)
        numbers.append(QString::number(seq));
    return QStringLiteral("seq in (") + numbers.join(QLatin1Char(',')) + QLatin1Char(')');
}

QVector<qint64> seqsOf(const QVector<BinEntry> &entries, bool instance)
{
    QVector<qint64> seqs;
    for (const BinEntry &entry : entries) {
        if (entry.instance == instance)
            seqs.append(entry.seq);
    }
    return seqs;
}

QString categoryPath(const QString &root, const QString &category, const QString &subcategory)
{
    return root + QStringLiteral("->") + category +
           (subcategory.isEmpty() ? QString() : QStringLiteral("->") + subcategory);
}

// A row about to go back, as the plan of the restore sees it.
struct Planned
{
    qint64 seq = 0;
    qint64 id = 0;
    QString title;
    QString category;
    QString subcategory;
    bool idTaken = false;
};

// The rows of one insert: one place, with their ids or with new ones.
struct Group
{
    QString category;
    QString subcategory;
    bool keepIds = false;

    bool operator<(const Group &other) const
    {
        return std::tie(category, subcategory, keepIds) <
               std::tie(other.category, other.subcategory, other.keepIds);
    }
};

QString insertStatement(const HistorySchema::Kind &kind, const Group &group, const QVector<qint64> &seqs)
{
    QStringList values;
    for (const QString &column : kind.columns) {
        if (column == QLatin1String("classname"))
            values.append(SqlText::literal(group.subcategory));
        else if (column == QLatin1String("bigclassname"))
            values.append(SqlText::literal(group.category));
        else
            values.append(QStringLiteral("coalesce(") + column + QStringLiteral(",'')"));
    }
    const QString id = group.keepIds ? QStringLiteral("id,") : QString();
    return QStringLiteral("insert into ") + kind.materials + QLatin1Char('(') + id +
           kind.columns.join(QLatin1Char(',')) + QStringLiteral(") select ") + id +
           values.join(QLatin1Char(',')) + QStringLiteral(" from ") + kind.bin + QStringLiteral(" where ") +
           seqIn(seqs) + QStringLiteral(" order by seq");
}
} // namespace

RecycleBin::RecycleBin(Database &database) : m_database(database) {}

bool RecycleBin::list(QVector<BinEntry> *entries, QString *error) const
{
    entries->clear();
    for (const HistorySchema::Kind *kind : HistorySchema::kinds()) {
        const bool instance = kind->instances;
        if (!m_database.select(
                QStringLiteral("select seq,id,coalesce(title,''),coalesce(bigclassname,''),"
                               "coalesce(classname,''),kepttime from ") +
                    kind->bin,
                [entries, instance](const QSqlQuery &row) {
                    entries->append({instance, row.value(0).toLongLong(), row.value(1).toLongLong(),
                                     SqlText::fromTokens(row.value(2).toString(), false),
                                     row.value(3).toString(), row.value(4).toString(),
                                     row.value(5).toString()});
                },
                error))
            return false;
    }
    std::sort(entries->begin(), entries->end(), [](const BinEntry &a, const BinEntry &b) {
        if (a.keptTime != b.keptTime)
            return a.keptTime > b.keptTime;
        return a.instance != b.instance ? a.instance < b.instance : a.seq > b.seq;
    });
    return true;
}

bool RecycleBin::restore(const QVector<BinEntry> &chosen, RestoreOutcome *outcome, QString *error) const
{
    return m_database.transact(
        [&](QString *why) {
            for (const HistorySchema::Kind *kind : HistorySchema::kinds()) {
                const QVector<qint64> seqs = seqsOf(chosen, kind->instances);
                if (!seqs.isEmpty() && !restoreKind(*kind, seqs, outcome, why))
                    return false;
            }
            return true;
        },
        error);
}

bool RecycleBin::restoreKind(const HistorySchema::Kind &kind, const QVector<qint64> &seqs,
                             RestoreOutcome *outcome, QString *error) const
{
    const QVector<QVector<qint64>> chunks = inChunks(seqs);
    QVector<Planned> rows;
    for (const QVector<qint64> &chunk : chunks) {
        if (!m_database.select(
                QStringLiteral(
                    "select seq,id,coalesce(title,''),coalesce(bigclassname,''),coalesce(classname,''),"
                    "exists(select 1 from ") +
                    kind.materials + QStringLiteral(" where ") + kind.materials + QStringLiteral(".id=") +
                    kind.bin + QStringLiteral(".id) from ") + kind.bin + QStringLiteral(" where ") +
                    seqIn(chunk),
                [&rows](const QSqlQuery &row) {
                    rows.append({row.value(0).toLongLong(), row.value(1).toLongLong(),
                                 SqlText::fromTokens(row.value(2).toString(), false), row.value(3).toString(),
                                 row.value(4).toString(), row.value(5).toBool()});
                },
                error))
            return false;
    }
    outcome->gone += static_cast<int>(seqs.size() - rows.size());
    // The row deleted last keeps an id that two chosen rows share.
    std::sort(rows.begin(), rows.end(), [](const Planned &a, const Planned &b) { return a.seq > b.seq; });
    QSet<qint64> claimed;
    QMap<Group, QVector<qint64>> groups;
    QVector<qint64> found;
    for (const Planned &row : rows) {
        const RestorePlace::Place place = RestorePlace::of(row.category, row.subcategory);
        const bool keepId = !row.idTaken && !claimed.contains(row.id);
        if (keepId)
            claimed.insert(row.id);
        else
            outcome->renumbered.append(QStringLiteral("“%1”（原编号%2）").arg(row.title).arg(row.id));
        if (!place.refusal.isEmpty())
            outcome->rescued.append(QStringLiteral("“%1”：原来的分类“%2”，%3")
                                        .arg(row.title,
                                             categoryPath(kind.rootText, row.category, row.subcategory),
                                             place.refusal));
        groups[{place.category, place.subcategory, keepId}].append(row.seq);
        found.append(row.seq);
    }
    QSet<QPair<QString, QString>> places;
    for (auto group = groups.cbegin(); group != groups.cend(); ++group) {
        for (const QVector<qint64> &chunk : inChunks(group.value())) {
            if (!m_database.execute(insertStatement(kind, group.key(), chunk), error))
                return false;
        }
        if (!places.contains({group.key().category, group.key().subcategory})) {
            places.insert({group.key().category, group.key().subcategory});
            outcome->needed[kind.instances ? 1 : 0].append({group.key().category, group.key().subcategory});
        }
    }
    for (const QVector<qint64> &chunk : inChunks(found)) {
        if (!m_database.execute(
                QStringLiteral("delete from ") + kind.bin + QStringLiteral(" where ") + seqIn(chunk), error))
            return false;
    }
    outcome->restored += static_cast<int>(found.size());
    return true;
}

bool RecycleBin::removeWhere(const HistorySchema::Kind &kind, const QString &condition, int *removed,
                             QString *error) const
{
    // Versions go with the last trace of their material: no row of it in its table or the bin.
    const QString versions =
        QStringLiteral("delete from ") + kind.versions + QStringLiteral(" where id in (select id from ") +
        kind.bin + QStringLiteral(" where ") + condition +
        QStringLiteral(") and not exists (select 1 from ") + kind.materials + QStringLiteral(" where ") +
        kind.materials + QStringLiteral(".id=") + kind.versions +
        QStringLiteral(".id) and not exists (select 1 from ") + kind.bin + QStringLiteral(" where ") +
        kind.bin + QStringLiteral(".id=") + kind.versions + QStringLiteral(".id and not (") + condition +
        QStringLiteral("))");
    int rows = 0;
    if (!m_database.execute(versions, error) ||
        !m_database.execute(QStringLiteral("delete from ") + kind.bin + QStringLiteral(" where ") + condition,
                            error, &rows))
        return false;
    *removed += rows;
    return true;
}

bool RecycleBin::remove(const QVector<BinEntry> &chosen, int *removed, QString *error) const
{
    *removed = 0;
    return m_database.transact(
        [&](QString *why) {
            for (const HistorySchema::Kind *kind : HistorySchema::kinds()) {
                for (const QVector<qint64> &chunk : inChunks(seqsOf(chosen, kind->instances))) {
                    if (!removeWhere(*kind, seqIn(chunk), removed, why))
                        return false;
                }
            }
            return true;
        },
        error);
}

bool RecycleBin::empty(int *removed, QString *error) const
{
    *removed = 0;
    return m_database.transact(
        [&](QString *why) {
            for (const HistorySchema::Kind *kind : HistorySchema::kinds()) {
                if (!removeWhere(*kind, QStringLiteral("1=1"), removed, why))
                    return false;
            }
            return true;
        },
        error);
}

bool RecycleBin::purge(const QDateTime &now, int *removed, QString *error) const
{
    *removed = 0;
    const QString expired = QStringLiteral("kepttime<") + SqlText::literal(KeptTime::binKeepsFrom(now));
    QStringList counts;
    for (const HistorySchema::Kind *kind : HistorySchema::kinds())
        counts.append(QStringLiteral("(select count(*) from ") + kind->bin + QStringLiteral(" where ") +
                      expired + QLatin1Char(')'));
    qint64 count = 0;
    if (!m_database.select(
            QStringLiteral("select ") + counts.join(QLatin1Char('+')),
            [&count](const QSqlQuery &row) { count = row.value(0).toLongLong(); }, error))
        return false;
    // Most starts find nothing to let go, and then write nothing.
    if (count == 0)
        return true;
    return m_database.transact(
        [&](QString *why) {
            for (const HistorySchema::Kind *kind : HistorySchema::kinds()) {
                if (!removeWhere(*kind, expired, removed, why))
                    return false;
            }
            return true;
        },
        error);
}
