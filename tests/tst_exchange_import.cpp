#include "FixedClock.h"
#include "TestFolder.h"

#include "base/AnsiText.h"
#include "exchange/ImportPlan.h"
#include "exchange/ImportedFile.h"
#include "exchange/MaterialImporter.h"
#include "store/Database.h"
#include "tree/TreeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {
const QVector<TreeNode> Tree{{QStringLiteral("文字资料"), 0, {{QStringLiteral("X"), 1, {}}}},
                             {QStringLiteral("实例资料"), 0, {}},
                             {QStringLiteral("搜索结果"), 0, {}}};

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

bool anyStartsWith(const QStringList &lines, const QString &start)
{
    return std::any_of(lines.begin(), lines.end(),
                       [&start](const QString &line) { return line.startsWith(start); });
}

ExchangeReport import(ImportPlan &plan)
{
    if (!plan.scan([](int) { return true; }))
        return ExchangeReport();
    return MaterialImporter(plan).run([](int, int) { return true; });
}
} // namespace

class TestExchangeImport : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        Clock::setInstance(&m_clock);
        m_folder = std::make_unique<TestFolder>();
        m_database = std::make_unique<Database>();
    }
    void cleanup()
    {
        m_database.reset();
        m_folder.reset();
        Clock::setInstance(nullptr);
    }

    // Files from elsewhere into a first-level category: deep folders folded, refused names
    // repaired, files that are no text left out, each with its reason.
    void intoCategory()
    {
        QTemporaryDir notes;
        const QString at = notes.path() + QLatin1Char('/');
        write(at + QStringLiteral("top.md"), "# top\n");
        write(at + QStringLiteral("gb.txt"), AnsiText::encode(QStringLiteral("中文")));
        write(at + QStringLiteral("picture.png"), QByteArray("\x89PNG\r\n\x1a\n\0\0", 10));
        write(at + QStringLiteral("+plus/deep/deeper/x.md"), "x");
        write(at + QStringLiteral("文字资料/y.md"), "y");
        write(at + QStringLiteral("a\x01"
                                  "b/z.md"),
              "z");
        write(at + QStringLiteral("images/a.png"), "png");
        QVERIFY(QDir().mkpath(at + QStringLiteral("empty")));
        write(at + QStringLiteral(".hidden/h.md"), "h");
        write(at + QStringLiteral("bad/binary.md"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        QFile big(at + QStringLiteral("bad/big.md"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(50 * 1024 * 1024));
        big.close();
        QVERIFY(QFile::link(at + QStringLiteral("nowhere.md"), at + QStringLiteral("bad/gone.md")));
        write(at + QStringLiteral("bad/instance.md"), "---\nkind: instance\npath: /bin/true\n---\n");
        // A link out of the folder (a key in ~/.ssh, say, in a folder someone sent) is not followed.
        QTemporaryDir elsewhere;
        write(elsewhere.filePath(QStringLiteral("secret.md")), "secret");
        QVERIFY(QFile::link(elsewhere.filePath(QStringLiteral("secret.md")),
                            at + QStringLiteral("bad/outside.md")));
        // Bytes neither UTF-8 nor GB18030 can read are filed as replacement characters, and named.
        write(at + QStringLiteral("odd.txt"), QByteArray("a\xff\xfe b"));
        const bool root = geteuid() == 0; // reads every file whatever its permissions
        if (!root) {
            write(at + QStringLiteral("bad/locked.md"), "locked");
            QFile::setPermissions(at + QStringLiteral("bad/locked.md"), QFileDevice::WriteOwner);
        }

        ImportPlan plan(notes.path(), {QStringLiteral("文字资料"), QStringLiteral("X")}, Tree);
        const ExchangeReport report = import(plan);
        QCOMPARE(report.outcome, ExchangeReport::Done);
        const auto category = [](const QString &name) {
            return QStringList{QStringLiteral("文字资料"), QStringLiteral("X"), name};
        };
        QCOMPARE(plan.newCategories(),
                 (QVector<QStringList>{category(QStringLiteral("plus")), category(QStringLiteral("a b")),
                                       category(QStringLiteral("bad")), category(QStringLiteral("empty")),
                                       category(QStringLiteral("文字资料（2）"))}));
        QCOMPARE(
            m_folder->rows(QStringLiteral("select title,bigclassname,classname,main,createtime from textfile "
                                          "order by title")),
            (QList<QVariantList>{
                {"gb", "X", "", QStringLiteral("中文\r\n"), "2026-03-09 14:05:07"},
                {"odd", "X", "", QStringLiteral("a\uFFFD\uFFFD b\r\n"), "2026-03-09 14:05:07"},
                {"top", "X", "", "# top\r\n", "2026-03-09 14:05:07"},
                {"x", "X", "plus", "x\r\n", "2026-03-09 14:05:07"},
                {"y", "X", QStringLiteral("文字资料（2）"), "y\r\n", "2026-03-09 14:05:07"},
                {"z", "X", "a b", "z\r\n", "2026-03-09 14:05:07"}}));
        QCOMPARE(report.materials, 6);
        QCOMPARE(report.categories, 5);
        QCOMPARE(report.skipped.size(), root ? 6 : 7);
        QCOMPARE(report.skippedFiles, root ? 7 : 8);
        for (const QString &start :
             {QStringLiteral("bad/binary.md：不是文本文件"), QStringLiteral("bad/big.md：文件有50MB"),
              QStringLiteral("bad/gone.md：无法读取"), QStringLiteral("bad/instance.md：是实例资料的文件"),
              QStringLiteral("bad/outside.md：链接到导入文件夹以外的文件"),
              QStringLiteral("2个其他类型的文件：只导入")})
            QVERIFY2(anyStartsWith(report.skipped, start), qPrintable(start));
        if (!root)
            QVERIFY(anyStartsWith(report.skipped, QStringLiteral("bad/locked.md：无法读取")));
        QCOMPARE(report.changed.size(), 6);
        for (const QString &start : {QStringLiteral("文件“odd.txt”既不是UTF-8也不是GB18030编码"),
                                     QStringLiteral("文件夹“+plus”的分类名改为“plus”"),
                                     QStringLiteral("文件夹“a\u0001b”的分类名改为“a b”"),
                                     QStringLiteral("文件夹“文字资料”的分类名改为“文字资料（2）”"),
                                     QStringLiteral("文件夹“+plus/deep”超出了分类树的三层"),
                                     QStringLiteral("文件夹“images”里没有.md、.txt或源代码文件")})
            QVERIFY2(anyStartsWith(report.changed, start), qPrintable(start));
    }

    // A file whose size reads 0 (those of /proc) is read to its end.
    void aFileOfNoSizeIsReadToItsEnd()
    {
        QFile file(QStringLiteral("/proc/version"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.size() > 1);
        MaterialFile material;
        QString reason;
        QString note;
        QVERIFY2(ImportedFile::read(file.fileName(), &material, &reason, &note), qPrintable(reason));
        QCOMPARE(material.body.toUtf8() + '\n', text); // the final break is the file's, not the body's
    }

    // Nothing selected: an export of the whole base goes back to its roots; loose files get a
    // category of the folder's name; each kind only under its own root.
    void intoWholeBase()
    {
        QTemporaryDir notes;
        const QString at = notes.path() + QLatin1Char('/');
        write(at + QStringLiteral("loose.md"), "loose");
        write(at + QStringLiteral("实例资料/工具/run.md"),
              "---\ntitle: \"run\"\nkind: \"instance\"\npath: \"/bin/true\"\n---\n\nruns\n");
        write(at + QStringLiteral("实例资料/工具/note.md"), "not an instance");
        write(at + QStringLiteral("A/B/C/deep.md"), "deep");
        // An export's index names the folders; only its head is read, however long its list.
        write(at + QStringLiteral("index.md"),
              "---\nkind: \"index\"\nfolder: \"A\"\nname: \"A: real\"\n---\n" +
                  QByteArray(17 * 1024 * 1024, '-'));
        ImportPlan plan(notes.path(), {}, Tree);
        const ExchangeReport report = import(plan);
        QCOMPARE(report.outcome, ExchangeReport::Done);
        const QString folderName = QFileInfo(notes.path()).fileName();
        QCOMPARE(plan.newCategories(),
                 (QVector<QStringList>{
                     {QStringLiteral("文字资料"), folderName},
                     {QStringLiteral("文字资料"), QStringLiteral("A: real")},
                     {QStringLiteral("文字资料"), QStringLiteral("A: real"), QStringLiteral("B")},
                     {QStringLiteral("实例资料"), QStringLiteral("工具")}}));
        QCOMPARE(m_folder->rows(
                     QStringLiteral("select title,bigclassname,classname from textfile order by title")),
                 (QList<QVariantList>{{"deep", "A: real", "B"}, {"loose", folderName, ""}}));
        QCOMPARE(report.skipped.size(), 1);
        QCOMPARE(m_folder->rows(QStringLiteral("select title,bigclassname,about,fpath from exefile")),
                 (QList<QVariantList>{{"run", QStringLiteral("工具"), "runs\r\n", "/bin/true"}}));
        QVERIFY(anyStartsWith(report.skipped, QStringLiteral("实例资料/工具/note.md：不是实例资料的文件")));
    }

    // A cancelled import leaves the base as it was: one transaction.
    void cancelLeavesBaseUnchanged()
    {
        QTemporaryDir notes;
        for (int i = 0; i < 5; ++i)
            write(notes.path() + QStringLiteral("/n%1.md").arg(i), "text");
        ImportPlan plan(notes.path(), {QStringLiteral("文字资料"), QStringLiteral("X")}, Tree);
        QVERIFY(plan.scan([](int) { return true; }));
        int calls = 0;
        const ExchangeReport report = MaterialImporter(plan).run([&calls](int done, int total) {
            ++calls;
            return !(done == 3 && total == 5);
        });
        QCOMPARE(report.outcome, ExchangeReport::Cancelled);
        QCOMPARE(calls, 3);
        QCOMPARE(report.materials, 0);
        QCOMPARE(m_folder->value(QStringLiteral("select count(*) from textfile")).toInt(), 0);
        // The connection is free again.
        QCOMPARE(MaterialImporter(plan).run([](int, int) { return true; }).materials, 5);
    }

private:
    FixedClock m_clock;
    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<Database> m_database;
};

QTEST_GUILESS_MAIN(TestExchangeImport)
#include "tst_exchange_import.moc"
