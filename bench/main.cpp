// The benchmark: prepares a program folder of its own with seeded data, then measures the
// program's code paths against the same database work done through the SQLite C API, and on a
// shared base (when a PostgreSQL server is at hand) through libpq.
// Never run as a test; nothing here asserts a speed.

#include "BenchFolder.h"
#include "Benchmark.h"
#include "Measure.h"
#include "ResultTable.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMap>

#include <cstdio>

namespace {
// Qt's own notes (the offscreen platform cannot raise a window, has no tray) would cost time in
// the middle of a measurement: they are counted and shown at the end.
QMap<QString, int> &qtMessages()
{
    static QMap<QString, int> messages;
    return messages;
}

void keepMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    ++qtMessages()[message];
}

void print(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}
} // namespace

int main(int argc, char *argv[])
{
    // Unlike the program, the benchmark picks its platform: no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keepMessage);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Measures Zindrel's code paths against raw SQLite and libpq."));
    parser.addHelpOption();
    const QCommandLineOption only(QStringLiteral("only"),
                                  QStringLiteral("Measure one figure: ") +
                                      Benchmark::FigureNames.join(QStringLiteral(", ")),
                                  QStringLiteral("figure"));
    const QCommandLineOption folderOption(
        QStringLiteral("folder"),
        QStringLiteral("Generate into this folder and keep it; reuse it when generated before."),
        QStringLiteral("path"));
    parser.addOptions({only, folderOption});
    parser.process(app);
    if (parser.isSet(only) && !Benchmark::FigureNames.contains(parser.value(only)))
        parser.showHelp(2);

    print(QStringLiteral("machine: ") + ResultTable::machine());
    print(QStringLiteral("load average before: ") + ResultTable::loadAverage());
    BenchFolder folder(parser.value(folderOption));
    QString error;
    bool created = false;
    const double generation =
        Measure::timed([&folder, &error, &created] { created = folder.create(&error); });
    if (!created) {
        print(QStringLiteral("bench: cannot prepare the program folder: ") + error);
        return 1;
    }
    if (folder.reused())
        print(QStringLiteral("data: reused in ") + folder.path());
    else
        print(QStringLiteral("data: %1 text and %2 instance materials generated in %3 s")
                  .arg(BenchFolder::TextMaterials)
                  .arg(BenchFolder::InstanceMaterials)
                  .arg(generation / 1000, 0, 'f', 1));

    Benchmark benchmark(folder);
    if (!benchmark.run(parser.value(only), &error)) {
        print(QStringLiteral("bench: failed: ") + error);
        return 1;
    }
    print(QStringLiteral("load average after: ") + ResultTable::loadAverage());
    if (!benchmark.figures().server.skipped.isEmpty())
        print(QStringLiteral("server figures skipped: ") + benchmark.figures().server.skipped);
    for (auto message = qtMessages().cbegin(); message != qtMessages().cend(); ++message)
        print(QStringLiteral("Qt said %1 times: %2").arg(message.value()).arg(message.key()));
    print(QStringLiteral("medians of %1 runs after a warm-up").arg(Measure::Runs));
    for (const QString &line : ResultTable::lines(benchmark.figures()))
        print(line);
    print(ResultTable::lastLine(benchmark.figures()));
    return 0;
}
