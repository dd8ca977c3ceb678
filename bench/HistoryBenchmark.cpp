#include "HistoryBenchmark.h"

#include "BenchFolder.h"
#include "InsertSample.h"

#include "history/HistorySchema.h"
#include "history/RecycleBin.h"
#include "history/RestoreOutcome.h"
#include "history/RestoreTransaction.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "store/FullTextIndex.h"
#include "store/SqlText.h"
#include "store/TextMaterial.h"
#include "tree/NodeRules.h"
#include "tree/TreeFile.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {
double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

const QString BigCategory = BenchFolder::BigCategory;
} // namespace

bool HistoryBenchmark::run(HistoryFigures *figures, QString *error)
{
    if (!HistorySchema::prepare(m_database, error))
        return false;
    const bool measured = measureModify(figures, error) && measureDelete(figures, error);
    // What this figure and the others put into the bin and the versions goes again, and the
    // full-text index takes in what the deletes and restores queued, as the next start would.
    int removed = 0;
    bool built = false;
    QString failure;
    const bool emptied = m_database.execute(InsertSample::removal(), &failure) &&
                         RecycleBin(m_database).empty(&removed, &failure) &&
                         FullTextIndex(&m_database).bringUpToDate({}, &built, &failure);
    if (measured && !emptied)
        *error = failure;
    return measured && emptied;
}

bool HistoryBenchmark::setTriggers(const QString &suffix, bool on, QString *error)
{
    for (const HistorySchema::SchemaObject &object : HistorySchema::sqliteObjects()) {
        if (!object.name.startsWith(QLatin1String("textfile_keep_")) || !object.name.endsWith(suffix))
            continue;
        if (!m_database.execute(on ? object.sql : QStringLiteral("drop trigger ") + object.name, error))
            return false;
    }
    return true;
}

bool HistoryBenchmark::measureModify(HistoryFigures *figures, QString *error)
{
    InsertSample sample;
    if (!sample.insertAll()) {
        *error = QStringLiteral("an insert failed");
        return false;
    }
    // What the modify dialog saves: the loaded material with its body changed a little.
    struct Modified
    {
        qint64 id;
        QString title;
        QString author;
        QStringList body;
    };
    QVector<Modified> materials;
    if (!m_database.select(
            QStringLiteral("select id,title,writer,main from textfile where bigclassname=") +
                SqlText::literal(BenchFolder::InsertCategory) + QStringLiteral(" order by id"),
            [&materials](const QSqlQuery &row) {
                materials.append({row.value(0).toLongLong(), row.value(1).toString(), row.value(2).toString(),
                                  row.value(3).toString().split(QStringLiteral("\r\n"))});
            },
            error))
        return false;
    int round = 0;
    bool ok = true;
    auto modifyAll = [&materials, &round, &ok] {
        ++round;
        return Measure::timed([&materials, &round, &ok] {
            for (const Modified &material : materials) {
                TextMaterial record;
                record.title = material.title;
                record.author = material.author;
                record.category = BenchFolder::InsertCategory;
                record.body = material.body;
                record.body.last() = QStringLiteral("第%1次修改").arg(round);
                ok = record.update(material.id) && ok;
            }
        });
    };
    QString failure;
    figures->modify = Measure::alternating(modifyAll, [this, &modifyAll, &failure] {
        if (!setTriggers(QString(), false, &failure))
            return 0.0;
        const double ms = modifyAll();
        setTriggers(QString(), true, &failure);
        return ms;
    });
    if (!ok || !failure.isEmpty()) {
        *error = failure.isEmpty() ? QStringLiteral("an update failed") : failure;
        return false;
    }
    return true;
}

double HistoryBenchmark::deleteIntoBin(QVector<double> *restoreTimes, int *restored, QString *error)
{
    const double ms = Measure::timed([] {
        Material::deleteCategory(BigCategory, QString(), NodeRules::TextRootText, [] { return true; });
    });
    RecycleBin bin(m_database);
    QVector<BinEntry> entries;
    if (!bin.list(&entries, error))
        return 0;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const BinEntry &entry) { return entry.category != BigCategory; }),
                  entries.end());
    // As the dialog restores them: with the tree the window shows, which holds their category.
    TreeFile treeFile;
    RestoreTransaction restorer(m_window.categoryTree(), &treeFile, nullptr);
    RestoreOutcome outcome;
    bool done = false;
    restoreTimes->append(
        Measure::timed([&] {
            done = restorer.run(
                [&](RestoreOutcome *outcome, QString *why) { return bin.restore(entries, outcome, why); },
                &outcome, error);
        }) /
        1000.0);
    *restored = outcome.restored;
    return done && outcome.restored == BenchFolder::BigCategoryMaterials ? ms : 0;
}

double HistoryBenchmark::deleteWithoutBin(QString *error)
{
    // The rows come back afterwards from a copy, as the bin would give them back.
    if (!m_database.execute(QStringLiteral("create table bench_deleted as select * from textfile where "
                                           "bigclassname=") +
                                SqlText::literal(BigCategory),
                            error) ||
        !setTriggers(QStringLiteral("deleted"), false, error))
        return 0;
    const double ms = Measure::timed([] {
        Material::deleteCategory(BigCategory, QString(), NodeRules::TextRootText, [] { return true; });
    });
    const bool back =
        m_database.execute(QStringLiteral("insert into textfile select * from bench_deleted"), error) &&
        m_database.execute(QStringLiteral("drop table bench_deleted"), error) &&
        setTriggers(QStringLiteral("deleted"), true, error);
    return back ? ms : 0;
}

bool HistoryBenchmark::measureDelete(HistoryFigures *figures, QString *error)
{
    QVector<double> restoreTimes;
    QString failure;
    figures->deleteCategory = Measure::alternating(
        [this, &restoreTimes, figures, &failure] {
            return deleteIntoBin(&restoreTimes, &figures->restored, &failure);
        },
        [this, &failure] { return deleteWithoutBin(&failure); });
    figures->restoreSeconds = median(restoreTimes);
    if (!failure.isEmpty() || figures->deleteCategory.program <= 0 || figures->deleteCategory.raw <= 0) {
        *error = failure.isEmpty() ? QStringLiteral("the category was not deleted and restored") : failure;
        return false;
    }
    return true;
}
