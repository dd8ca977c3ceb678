#include "ResultTable.h"

#include "BenchFolder.h"
#include "InsertSample.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QThread>

namespace ResultTable {

namespace {
QString number(double value, int decimals = 2)
{
    return QString::number(value, 'f', decimals);
}

QString milliseconds(double value)
{
    return number(value) + QStringLiteral(" ms");
}

QString count(int value)
{
    return QLocale(QLocale::English).toString(value);
}

QString row(const QString &figure, const QString &program, const QString &raw, const QString &ratio,
            const QString &target)
{
    return QStringLiteral("| %1 | %2 | %3 | %4 | %5 |").arg(figure, program, raw, ratio, target);
}

QString readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

QString machine()
{
    const QRegularExpression model(QStringLiteral("^model name\\s*:\\s*(.+)$"),
                                   QRegularExpression::MultilineOption);
    const QString name = model.match(readFile(QStringLiteral("/proc/cpuinfo"))).captured(1).trimmed();
    return QStringLiteral("%1, %2 cores")
        .arg(name.isEmpty() ? QStringLiteral("unknown CPU") : name)
        .arg(QThread::idealThreadCount());
}

QString loadAverage()
{
    return readFile(QStringLiteral("/proc/loadavg")).section(QLatin1Char(' '), 0, 0);
}

QStringList lines(const Figures &f)
{
    QStringList table{row(QStringLiteral("figure"), QStringLiteral("Zindrel"), QStringLiteral("raw SQLite"),
                          QStringLiteral("ratio"), QStringLiteral("target")),
                      QStringLiteral("|---|---:|---:|---:|---|")};
    const QString none = QStringLiteral("-");
    // A figure left out (--only) has no time and no row.
    auto compared = [&table](const QString &figure, const Measure::Pair &pair, const QString &target) {
        if (pair.program > 0)
            table.append(row(figure, milliseconds(pair.program), milliseconds(pair.raw), number(pair.ratio()),
                             target));
    };
    auto alone = [&table, &none](const QString &figure, double ms, const QString &target) {
        if (ms > 0)
            table.append(row(figure, milliseconds(ms), none, none, target));
    };
    // The same rows for either store; the reference column holds raw SQLite or libpq.
    auto store = [&compared](const QString &prefix, const QString &reference, const StoreFigures &figures) {
        compared(prefix + QStringLiteral("list: %1 materials by title").arg(count(figures.listRows)) +
                     reference,
                 figures.list, QStringLiteral("within 2.0"));
        compared(
            prefix +
                QStringLiteral("search: \"%1\" in all text titles, %2 hits")
                    .arg(figures.searchStatement.section(QLatin1Char('%'), 1, 1), count(figures.searchHits)) +
                reference,
            figures.search, QStringLiteral("within 1.3"));
        compared(prefix + QStringLiteral("insert: %1 materials one by one").arg(count(figures.inserts)) +
                     reference,
                 figures.insert, QStringLiteral("within 1.3"));
    };
    store(QString(), QString(), f.sqlite);
    compared(QStringLiteral("list: the same in the list style"), f.listAsList, QStringLiteral("within 2.0"));
    alone(QStringLiteral("open: a material into the detail pane"), f.open, QStringLiteral("under 5 ms"));
    if (f.code.coloured > 0)
        table.append(
            row(QStringLiteral("open code: 4 KB of C++ into the in-window viewer, coloured (as plain text)"),
                milliseconds(f.code.coloured), milliseconds(f.code.plain),
                number(f.code.extra()) + QStringLiteral(" ms more"), QStringLiteral("under 5 ms more")));
    alone(QStringLiteral("open code: 1 MB of C++ until the viewer's first paint"), f.code.bigFirstPaint,
          QStringLiteral("under 100 ms"));
    alone(QStringLiteral("start: main window shown, idle"), f.start, QStringLiteral("under 150 ms"));
    alone(QStringLiteral("start, the first one in the process"), f.startFirst, none);
    alone(QStringLiteral("start with the 5,000-category tree"), f.startBigTree,
          QStringLiteral("under 150 ms"));
    alone(QStringLiteral("tree file: 5,000 categories loaded"), f.treeLoad, none);
    alone(QStringLiteral("categories that materials name, %1 pairs read").arg(count(f.recoveryPairs)),
          f.recovery, QStringLiteral("under 50 ms"));
    auto seconds = [&table, &none](const QString &figure, double s, int materials, const QString &target) {
        if (s > 0)
            table.append(
                row(figure.arg(count(materials)), number(s, 1) + QStringLiteral(" s"), none, none, target));
    };
    seconds(QStringLiteral("export: %1 materials to Markdown files"), f.exportSeconds, f.exported,
            QStringLiteral("under 60 s"));
    seconds(QStringLiteral("import: %1 files into an empty base"), f.importSeconds, f.imported,
            QStringLiteral("under 60 s"));
    const FullTextFigures &t = f.fullText;
    for (const FullTextFigures::Query &query : t.queries)
        table.append(row(QStringLiteral("full text: \"%1\", %2 hits").arg(query.typed, count(query.hits)),
                         milliseconds(query.pair.program), milliseconds(query.pair.raw),
                         number(query.pair.ratio(), 3), QStringLiteral("under 50 ms, within 0.1")));
    for (const FullTextFigures::Query &query : t.commonQueries)
        alone(QStringLiteral("full text: \"%1\", %2 hits, the best 2,000 listed")
                  .arg(query.typed, count(query.hits)),
              query.pair.program, QStringLiteral("under 50 ms"));
    if (t.buildSeconds > 0) {
        table.append(row(QStringLiteral("full-text index built: %1 materials").arg(count(t.indexed)),
                         number(t.buildSeconds, 1) + QStringLiteral(" s"), none, none,
                         QStringLiteral("under 90 s")));
        table.append(row(QStringLiteral("database in use: without the index, with it"),
                         number(t.usedBeforeMiB, 0) + QStringLiteral(" MiB, ") + number(t.usedAfterMiB, 0) +
                             QStringLiteral(" MiB"),
                         none, none, none));
        table.append(row(
            QStringLiteral("full-text index against the text it covers (%1 MiB)").arg(number(t.textMiB, 0)),
            number(t.indexMiB, 0) + QStringLiteral(" MiB"), none, number(t.indexMiB / t.textMiB),
            QStringLiteral("within 2.5")));
        table.append(row(QStringLiteral("insert: %1 materials one by one, with the index (without)")
                             .arg(count(InsertSample::Count)),
                         milliseconds(t.insertWith), milliseconds(t.insertWithout),
                         number(t.insertWith / t.insertWithout), QStringLiteral("within 1.3")));
        alone(QStringLiteral("the next search, which indexes those %1 first").arg(count(InsertSample::Count)),
              t.firstSearch, none);
    }
    const HistoryFigures &h = f.history;
    compared(QStringLiteral("modify: %1 materials one by one, versions kept (without)")
                 .arg(count(InsertSample::Count)),
             h.modify, QStringLiteral("within 1.3"));
    compared(QStringLiteral("delete: the %1-material category, into the recycle bin (without)")
                 .arg(count(BenchFolder::BigCategoryMaterials)),
             h.deleteCategory, QStringLiteral("within 2.0"));
    seconds(QStringLiteral("restore: those %1 materials from the recycle bin"), h.restoreSeconds, h.restored,
            QStringLiteral("under 10 s"));
    if (f.execBare > 0) {
        table.append(
            row(QStringLiteral("whole program started until its window is mapped (a bare Qt program)"),
                milliseconds(f.execDefault), milliseconds(f.execBare), number(f.execRatio()),
                QStringLiteral("within 1.3")));
        alone(QStringLiteral("the same on the 220,000-material base"), f.execBig, none);
    }
    const ServerFigures &server = f.server;
    store(QStringLiteral("PostgreSQL "), QStringLiteral(" (raw: libpq)"), server.store);
    seconds(QStringLiteral("PostgreSQL upload: %1 materials from Data.QBD into an empty base"),
            server.uploadSeconds, server.uploaded, none);
    alone(QStringLiteral("PostgreSQL change by another copy until this copy's list shows it"), server.notify,
          QStringLiteral("under 1,000 ms"));
    table.append(row(QStringLiteral("memory: peak resident after the list"),
                     number(f.rssMiB, 1) + QStringLiteral(" MiB"), none, none,
                     QStringLiteral("under 150 MiB")));
    return table;
}

QString lastLine(const Figures &f)
{
    const FullTextFigures::Query *slowest = f.fullText.slowest();
    return QStringLiteral("bench: list=%1 search=%2 insert=%3 open=%4 start=%5 rss=%6 export=%7 import=%8")
               .arg(number(f.sqlite.list.ratio()), number(f.sqlite.search.ratio()),
                    number(f.sqlite.insert.ratio()), number(f.open), number(f.start, 1), number(f.rssMiB, 1),
                    number(f.exportSeconds, 1), number(f.importSeconds, 1)) +
           QStringLiteral(" opencode=%1 openbig=%2")
               .arg(number(f.code.extra()), number(f.code.bigFirstPaint)) +
           QStringLiteral(" fulltext=%1 scan=%2")
               .arg(number(slowest ? slowest->pair.program : 0, 1),
                    number(slowest ? slowest->pair.raw : 0, 1)) +
           QStringLiteral(" fulltextcommon=%1")
               .arg(number(f.fullText.slowestCommon() ? f.fullText.slowestCommon()->pair.program : 0, 1)) +
           QStringLiteral(" modify=%1 delcat=%2 restore=%3")
               .arg(number(f.history.modify.ratio()), number(f.history.deleteCategory.ratio()),
                    number(f.history.restoreSeconds, 1)) +
           QStringLiteral(" exec=%1").arg(number(f.execRatio())) +
           QStringLiteral(" pglist=%1 pgsearch=%2 pginsert=%3 pgnotify=%4 pgupload=%5")
               .arg(number(f.server.store.list.ratio()), number(f.server.store.search.ratio()),
                    number(f.server.store.insert.ratio()), number(f.server.notify),
                    number(f.server.uploadSeconds, 1));
}

} // namespace ResultTable
