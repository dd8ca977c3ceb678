#include "FileSizeLimit.h"

#include "base/AnsiText.h"
#include "tree/Location.h"
#include "tree/NodeRules.h"
#include "tree/TreeFile.h"
#include "tree/TreeFileError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
TreeNode node(const QString &name, int image, const QVector<TreeNode> &children = {})
{
    return {name, image, children};
}

// The example tree: text root and Algo+DS expanded, the instance root collapsed.
QVector<TreeNode> exampleTree()
{
    return {node(QStringLiteral("文字资料"), 3,
                 {node(QStringLiteral("Algo+DS"), 4, {node(QStringLiteral("Sorting"), 2)}),
                  node(QStringLiteral("Java"), 1)}),
            node(QStringLiteral("实例资料"), 0, {node(QStringLiteral("Win32"), 1)}),
            node(QStringLiteral("搜索结果"), 0)};
}

const QStringList ExampleLines{QStringLiteral("文字资料3"),  QStringLiteral("+Algo+DS4"),
                               QStringLiteral("++Sorting2"), QStringLiteral("+Java1"),
                               QStringLiteral("实例资料0"),  QStringLiteral("+Win321"),
                               QStringLiteral("搜索结果0")};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}
} // namespace

class TestTreeFile : public QObject
{
    Q_OBJECT
private slots:
    void savesTheExampleByteForByte()
    {
        QTemporaryDir dir;
        TreeFile file(dir.filePath(QStringLiteral("MTS.qb")));
        QVERIFY(file.save(exampleTree()));
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("MTS.qb"))),
                 AnsiText::encode(ExampleLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("MTS.qb.bak"))));
    }

    void readsTheExampleBackCollapsed()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("MTS.qb"));
        writeBytes(path,
                   AnsiText::encode(ExampleLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        TreeFile file(path);
        const QVector<TreeNode> expected{
            node(QStringLiteral("文字资料"), 0,
                 {node(QStringLiteral("Algo+DS"), 1, {node(QStringLiteral("Sorting"), 2)}),
                  node(QStringLiteral("Java"), 1)}),
            node(QStringLiteral("实例资料"), 0, {node(QStringLiteral("Win32"), 1)}),
            node(QStringLiteral("搜索结果"), 0)};
        QCOMPARE(file.load(), expected);
        QCOMPARE(file.skippedLines(), 0);
    }

    void parse_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("saved");
        QTest::newRow("first-level name starting with + comes back one level down")
            << QStringList{QStringLiteral("R0"), QStringLiteral("+A1"), QStringLiteral("++X1")}
            << QStringList{QStringLiteral("R0"), QStringLiteral("+A1"), QStringLiteral("++X2")};
        QTest::newRow("last character dropped whatever it is")
            << QStringList{QStringLiteral("ABC")} << QStringList{QStringLiteral("AB0")};
        QTest::newRow("a two-byte last character goes whole")
            << QStringList{QStringLiteral("R文字")} << QStringList{QStringLiteral("R文0")};
        QTest::newRow("first-level after a second-level returns to the root")
            << QStringList{QStringLiteral("R0"), QStringLiteral("+A1"), QStringLiteral("++B2"),
                           QStringLiteral("+C1")}
            << QStringList{QStringLiteral("R0"), QStringLiteral("+A1"), QStringLiteral("++B2"),
                           QStringLiteral("+C1")};
        QTest::newRow("CR and LF line ends alike")
            << AnsiText::splitLines(QStringLiteral("R0\r+A1\n搜索结果0"))
            << QStringList{QStringLiteral("R0"), QStringLiteral("+A1"), QStringLiteral("搜索结果0")};
        QTest::newRow("second level without a first level is skipped")
            << QStringList{QStringLiteral("R0"), QStringLiteral("++X2"), QStringLiteral("+A1")}
            << QStringList{QStringLiteral("R0"), QStringLiteral("+A1")};
        QTest::newRow("a line of one character gives an empty name")
            << QStringList{QStringLiteral("R0"), QStringLiteral("+")}
            << QStringList{QStringLiteral("R0"), QStringLiteral("+1")};
    }
    void parse()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, saved);
        QCOMPARE(TreeFile::format(TreeFile::parse(lines)), saved);
    }

    void characterOutsideGbkSurvives()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("MTS.qb"));
        const QVector<TreeNode> tree{
            node(QStringLiteral("文字资料"), 0, {node(QStringLiteral("表情😀𠀀"), 1)}),
            node(QStringLiteral("搜索结果"), 0)};
        TreeFile file(path);
        QVERIFY(file.save(tree));
        QCOMPARE(TreeFile(path).load(), tree);
    }

    void unplaceableLinesAreSkippedAndTheOriginalKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("MTS.qb"));
        const QByteArray original = AnsiText::encode(
            QStringLiteral("+Orphan1\r\n\r\n++Lost2\r\n文字资料0\r\n\r\n+A1\r\n搜索结果0\r\n"));
        writeBytes(path, original);
        TreeFile file(path);
        const QVector<TreeNode> tree = file.load();
        QCOMPARE(file.skippedLines(), 4);
        QCOMPARE(TreeFile::format(tree), QStringList({QStringLiteral("文字资料0"), QStringLiteral("+A1"),
                                                      QStringLiteral("搜索结果0")}));

        QVERIFY(file.save(tree));
        QCOMPARE(fileBytes(path + QStringLiteral(".bak")), original);
        // Later saves leave the kept original alone.
        QVERIFY(file.save({node(QStringLiteral("文字资料"), 0), node(QStringLiteral("搜索结果"), 0)}));
        QCOMPARE(fileBytes(path + QStringLiteral(".bak")), original);
        QCOMPARE(TreeFile(path).load().size(), 2);
    }

    void originalsThatDoNotReadBackAreKept_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<bool>("kept");
        QTest::addColumn<QByteArray>("saved");
        // One character of three UTF-8 bytes: the third byte starts a sequence GB18030 cannot end.
        const QString tree = QStringLiteral("文字资料0\r\n+算1\r\n搜索结果0\r\n");
        QTest::newRow("GB18030") << AnsiText::encode(tree) << false << AnsiText::encode(tree);
        QTest::newRow("UTF-8") << tree.toUtf8() << true << AnsiText::encode(tree);
        const QByteArray stray = AnsiText::encode(tree).replace("+", "+\x81\x20");
        QTest::newRow("stray bytes") << stray << true << AnsiText::encode(AnsiText::decode(stray));
        // Written by hand in UTF-8, and valid GB18030 too, reading back to the same bytes.
        const QString handWritten = QStringLiteral("文字资料0\n+编程语言1\n实例资料0\n搜索结果0\n");
        QVERIFY(AnsiText::encode(AnsiText::decode(handWritten.toUtf8())) == handWritten.toUtf8());
        QTest::newRow("UTF-8 that reads as GB18030")
            << handWritten.toUtf8() << true << AnsiText::encode(QString(handWritten).replace("\n", "\r\n"));
    }
    void originalsThatDoNotReadBackAreKept()
    {
        QFETCH(QByteArray, original);
        QFETCH(bool, kept);
        QFETCH(QByteArray, saved);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("MTS.qb"));
        writeBytes(path, original);
        TreeFile file(path);
        QVERIFY(file.save(file.load()));
        QCOMPARE(fileBytes(path), saved);
        QCOMPARE(QFile::exists(path + QStringLiteral(".bak")), kept);
        if (kept)
            QCOMPARE(fileBytes(path + QStringLiteral(".bak")), original);
    }

    void savesWhenTheOriginalToKeepIsGone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("MTS.qb"));
        writeBytes(path, AnsiText::encode(QStringLiteral("\r\n文字资料0\r\n+A1\r\n搜索结果0\r\n")));
        TreeFile file(path);
        const QVector<TreeNode> tree = file.load();
        QVERIFY(QFile::remove(path));
        QString error;
        QVERIFY2(file.save(tree, &error), qPrintable(error));
        QCOMPARE(TreeFile(path).load(), tree);
    }

    void aFullDiskLeavesTheOldFileWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("MTS.qb"));
        TreeFile file(path);
        QVERIFY(file.save(exampleTree()));
        const QByteArray before = fileBytes(path);
        QVector<TreeNode> big = exampleTree();
        for (int i = 0; i < 5000; ++i)
            big[0].children.append(node(QStringLiteral("分类%1").arg(i, 20, 10, QLatin1Char('0')), 1));
        QString error;
        {
            const FileSizeLimit limit(40960);
            QVERIFY(!file.save(big, &error));
        }
        QVERIFY(!error.isEmpty());
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("MTS.qb")});
    }

    void brokenFileRaises_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("only unplaceable lines") << QByteArray("\r\n+A1\r\n") << true;
    }
    void brokenFileRaises()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, exists);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("MTS.qb"));
        if (exists)
            writeBytes(path, bytes);
        TreeFile file(path);
        QVERIFY_THROWS_EXCEPTION(TreeFileError, file.load());
    }

    void locationsAndTables_data()
    {
        QTest::addColumn<int>("image");
        QTest::addColumn<QStringList>("path");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("table");
        QTest::newRow("root") << 0 << QStringList{QStringLiteral("文字资料")}
                              << QStringLiteral("文字资料-null-null") << QStringLiteral("textfile");
        QTest::newRow("expanded root") << 3 << QStringList{QStringLiteral("实例资料")}
                                       << QStringLiteral("实例资料-null-null") << QStringLiteral("exefile");
        QTest::newRow("first level") << 1 << QStringList{QStringLiteral("文字资料"), QStringLiteral("Java")}
                                     << QStringLiteral("文字资料-Java-null") << QStringLiteral("textfile");
        QTest::newRow("second level")
            << 2
            << QStringList{QStringLiteral("文字资料"), QStringLiteral("Algo+DS"), QStringLiteral("Sorting")}
            << QStringLiteral("文字资料-Algo+DS-Sorting") << QStringLiteral("textfile");
        QTest::newRow("instance first level")
            << 4 << QStringList{QStringLiteral("实例资料"), QStringLiteral("Win32")}
            << QStringLiteral("实例资料-Win32-null") << QStringLiteral("exefile");
        QTest::newRow("no location for other images")
            << 7 << QStringList{QStringLiteral("文字资料")} << QString() << QStringLiteral("textfile");
    }
    void locationsAndTables()
    {
        QFETCH(int, image);
        QFETCH(QStringList, path);
        QFETCH(QString, location);
        QFETCH(QString, table);
        QCOMPARE(NodeRules::locationOf(image, path).text(), location);
        QCOMPARE(NodeRules::tableOfRoot(path.first()), table);
    }

    void locationsKeepTheirNames()
    {
        const Location dashed(
            {QStringLiteral("文字资料"), QStringLiteral("C-Sharp"), QStringLiteral("null")});
        const Location plain({QStringLiteral("文字资料"), QStringLiteral("C"), QStringLiteral("Sharp-null")});
        QCOMPARE(dashed.text(), plain.text());
        QVERIFY(dashed != plain);
        QCOMPARE(dashed.names().at(2), QStringLiteral("null"));
    }

    void imagesSwitchOnExpandAndCollapse()
    {
        QCOMPARE(NodeRules::expandedImage(0), 3);
        QCOMPARE(NodeRules::expandedImage(1), 4);
        QCOMPARE(NodeRules::expandedImage(2), 2);
        QCOMPARE(NodeRules::collapsedImage(3), 0);
        QCOMPARE(NodeRules::collapsedImage(4), 1);
        QCOMPARE(NodeRules::collapsedImage(2), 2);
    }
};

QTEST_GUILESS_MAIN(TestTreeFile)
#include "tst_treefile.moc"
