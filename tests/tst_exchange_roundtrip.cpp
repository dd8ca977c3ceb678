#include "FixedClock.h"
#include "FolderAnswers.h"
#include "MainWindowFixture.h"
#include "ModalDriver.h"

#include "base/AnsiText.h"
#include "browse/MaterialList.h"
#include "code/LanguageGuess.h"
#include "exchange/ExchangeCommands.h"
#include "exchange/ImportedFile.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "store/MaterialLanguages.h"
#include "store/SqlText.h"
#include "tree/CategoryTree.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <algorithm>

namespace {
const QStringList Roots = QStringLiteral("文字资料0|实例资料0|搜索结果0").split(QLatin1Char('|'));
const QString OddCategory = QStringLiteral("a/b: \"c\" *?");
const QStringList Tree = (QStringLiteral("文字资料0|+编程1|++C++2|++空的分类2|+") + OddCategory +
                          QStringLiteral("1|++con2|++点.2|+index.md1|实例资料0|+工具 Tools1|搜索结果0"))
                             .split(QLatin1Char('|'));

struct Text
{
    QString title, category, subcategory, author, created, body; // the body as typed
};

// Stored as the add dialog stores it.
qint64 addText(MainWindowFixture &fixture, const Text &text)
{
    return fixture.addText(text.title, text.category, text.subcategory, text.created,
                           AnsiText::joinLines(AnsiText::typedLines(text.body)), text.author);
}

// Every text material's title with the language a viewer shows it in, sorted.
QStringList shownLanguages(const TestFolder &folder)
{
    QStringList languages;
    for (const QVariantList &row : folder.rows(QStringLiteral("select id,title,main from textfile"))) {
        const QString stored = MaterialLanguages::stored(*Database::current(), row.at(0).toLongLong());
        const QString title = SqlText::fromTokens(row.at(1).toString(), false);
        languages.append(title + QLatin1Char('\t') +
                         (stored.isEmpty()
                              ? LanguageGuess::of(title, AnsiText::splitLines(
                                                             SqlText::fromTokens(row.at(2).toString(), true)))
                              : stored));
    }
    std::sort(languages.begin(), languages.end());
    return languages;
}

// Every control character but NUL, with line breaks as the add dialog keeps them.
QString controlCharacters()
{
    QString text = QStringLiteral("N\bN_\b_ page\fnext \x1b[1mbold\x1b[0m\r\n");
    for (char16_t code = 1; code < 0xA0; code = code == 0x1F ? 0x7F : code + 1) {
        if (code != u'\n' && code != u'\r')
            text += QChar(code);
    }
    return text;
}

QStringList sortedRows(const TestFolder &folder, const QString &sql)
{
    QStringList rows;
    for (const QVariantList &row : folder.rows(sql)) {
        QStringList values;
        for (const QVariant &value : row)
            values.append(value.toString());
        rows.append(values.join(QChar(0x1F)));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QStringList names(const QVector<TreeNode> &nodes, const QString &prefix = QString())
{
    QStringList result;
    for (const TreeNode &node : nodes)
        result << prefix + node.name << names(node.children, prefix + node.name + QLatin1Char('/'));
    return result;
}

const QString TextRows =
    QStringLiteral("select title,classname,bigclassname,writer,createtime,main from textfile");
const QString InstanceRows =
    QStringLiteral("select title,classname,bigclassname,writer,createtime,about,fpath from exefile");
} // namespace

class TestExchangeRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void init() { Clock::setInstance(&m_clock); }
    void cleanup() { Clock::setInstance(nullptr); }

    // The whole base out and into an empty base: the same tree, the same rows byte for byte.
    void wholeBaseComesBackUnchanged()
    {
        QTemporaryDir target;
        QStringList textRows, instanceRows, treeNames, languages;
        QString exported;
        {
            MainWindowFixture fixture(Tree);
            const QString sub = QStringLiteral("C++");
            for (const Text &text : QVector<Text>{
                     {QStringLiteral("it's: a \"test\" #1"), QStringLiteral("编程"), sub,
                      QStringLiteral("O'Brien: \"Bob\""), QStringLiteral("2024-02-29 23:59:59"),
                      QStringLiteral("first: it's\r\n\r\nthird\n")},
                     {QStringLiteral("it's: a \"test\" #1"), QStringLiteral("编程"), sub, QString(),
                      QStringLiteral("2025-05-05"), QString()},
                     {QStringLiteral("   leading blanks"), QStringLiteral("编程"), QString(), QString(),
                      QStringLiteral("2020-01-01 00:00:01"), QStringLiteral("\nstarts with a break\n\n")},
                     {QStringLiteral("con"), OddCategory, QStringLiteral("con"), QStringLiteral("#author"),
                      QStringLiteral("2021-03-14 02:30:00"),
                      QStringLiteral("---\ntitle: fake\n---\nafter a rule")},
                     {QStringLiteral("a/b\\c:d*e?f\"g<h>i|j."), OddCategory, QStringLiteral("点."), QString(),
                      QStringLiteral("2022-12-31 12:00:00"), QStringLiteral("+(MH)+ typed, and : a colon")},
                     {QString(300, QChar(u'长')), QStringLiteral("编程"), QString(), QString(),
                      QStringLiteral("2023-06-01 08:00:00"), QStringLiteral("中文😀\tTab\r\n")},
                     {QString(), QStringLiteral("编程"), QString(), QString(), QStringLiteral("2023-06-02"),
                      QStringLiteral("untitled")},
                     {QStringLiteral("两行\n标题"), QStringLiteral("index.md"), QString(), QString(),
                      QStringLiteral("2023-06-03 09:09:09"), QStringLiteral("x")},
                     // Code whose own fences must not end the export's, and Markdown kept as it is.
                     {QStringLiteral("quicksort.cpp"), QStringLiteral("编程"), sub, QString(),
                      QStringLiteral("2023-06-04 10:00:00"),
                      QStringLiteral("// ```` and ``` inside\r\nint main() {}\r\n```\r\n")},
                     {QStringLiteral("部署笔记.md"), QStringLiteral("编程"), sub, QString(),
                      QStringLiteral("2023-06-05 10:00:00"),
                      QStringLiteral("# 部署\n\n```python\nprint(1)\n```\n")},
                     {QStringLiteral("script"), QStringLiteral("编程"), sub, QString(),
                      QStringLiteral("2023-06-06 10:00:00"), QStringLiteral("```python\nx = 1\n```")},
                     // What the add dialog takes in: backspace overstrikes of man, form feeds,
                     // escape sequences, every control character but NUL.
                     {QStringLiteral("控制\x01\x1b[1m字符"), QStringLiteral("编程"), QString(),
                      QStringLiteral("\x7f"), QStringLiteral("2023-06-07 10:00:00"), controlCharacters()},
                     // A body at the import's limit, which UTF-8 makes half as large again.
                     {QStringLiteral("at the limit"), QStringLiteral("编程"), QString(), QString(),
                      QStringLiteral("2023-06-08 10:00:00"),
                      QString(ImportedFile::MaxBytes / 2, QChar(u'字'))}})
                addText(fixture, text);
            // The reader's choice, against the fenced block's "python".
            const qint64 chosen =
                fixture.folder.rows(QStringLiteral("select id from textfile where title='script'"))
                    .first()
                    .first()
                    .toLongLong();
            QString error;
            QVERIFY(
                MaterialLanguages::store(*Database::current(), chosen, QStringLiteral("markdown"), &error));
            fixture.addInstance(QStringLiteral("runner's tool"), QStringLiteral("工具 Tools"), QString(),
                                QStringLiteral("/opt/my tools/\"run\".sh"),
                                AnsiText::joinLines(AnsiText::typedLines(QStringLiteral("uses: a colon\n"))));
            textRows = sortedRows(fixture.folder, TextRows);
            instanceRows = sortedRows(fixture.folder, InstanceRows);
            treeNames = names(CategoryTree::collect(fixture.tree()));
            languages = shownLanguages(fixture.folder);
            QVERIFY(languages.contains(QStringLiteral("quicksort.cpp\tcpp")));

            CategoryTree::selectNode(fixture.tree(), nullptr);
            ModalDriver driver;
            driver.queue(chooseFolder(target.path()));
            fixture.window->exchangeCommands()->exportMaterials();
            QCOMPARE(driver.texts().size(), 1);
            QVERIFY2(driver.texts().first().startsWith(QStringLiteral("导出完成：14份资料，8个分类")),
                     qPrintable(driver.texts().first()));
            const QStringList made = QDir(target.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            QCOMPARE(made, QStringList{QStringLiteral("Zindrel 导出 2026-03-09 14-05-07")});
            exported = QDir(target.path()).filePath(made.first());
        }
        // What a person opens: the front matter keeps the title whatever the file's name.
        QFile file(exported + QStringLiteral("/文字资料/编程/C++/it's： a ＂test＂ #1.md"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("---\ntitle: \"it's: a \\\"test\\\" #1\"\nauthor: \"O'Brien: \\\"Bob\\\"\"\n"
                            "created: \"2024-02-29 23:59:59\"\nkind: \"text\"\nlanguage: \"text\"\n---\n\n"
                            "```text\nfirst: it's\n\nthird\n\n```\n"));
        QFile code(exported + QStringLiteral("/文字资料/编程/C++/quicksort.cpp.md"));
        QVERIFY(code.open(QIODevice::ReadOnly));
        QVERIFY(code.readAll().endsWith("language: \"cpp\"\n---\n\n`````cpp\n// ```` and ``` inside\n"
                                        "int main() {}\n```\n\n`````\n"));
        QVERIFY(QFile::exists(exported + QStringLiteral("/文字资料/编程/C++/it's： a ＂test＂ #1 (2).md")));
        QVERIFY(QFile::exists(exported + QStringLiteral("/index.md")));

        MainWindowFixture empty(Roots);
        CategoryTree::selectNode(empty.tree(), nullptr);
        ModalDriver driver;
        driver.queue(chooseFolder(exported));
        empty.window->exchangeCommands()->importMaterials();
        QCOMPARE(driver.texts().size(), 1);
        QVERIFY2(driver.texts().first().startsWith(QStringLiteral("导入完成：14份资料，新建8个分类。")),
                 qPrintable(driver.texts().first()));
        QCOMPARE(sortedRows(empty.folder, TextRows), textRows);
        QCOMPARE(sortedRows(empty.folder, InstanceRows), instanceRows);
        QCOMPARE(names(CategoryTree::collect(empty.tree())), treeNames);
        QCOMPARE(shownLanguages(empty.folder), languages);
        // The tree file was saved with the new categories.
        QCOMPARE(names(TreeFile(empty.folder.filePath(QStringLiteral("MTS.qb"))).load()), treeNames);
    }

    // "搜索结果" exports the last search's hits under their own roots and categories; nothing can
    // be imported into it.
    void searchHits()
    {
        QTemporaryDir target;
        MainWindowFixture fixture(Tree);
        const qint64 hit =
            fixture.addText(QStringLiteral("hit"), QStringLiteral("编程"), QStringLiteral("C++"));
        fixture.addText(QStringLiteral("miss"), QStringLiteral("编程"), QStringLiteral("C++"));
        const qint64 tool = fixture.addInstance(QStringLiteral("tool"), QStringLiteral("工具 Tools"));
        fixture.list()->searchResults()->setEntries(
            {{QStringLiteral("hit"), ListEntry::TextMaterial, hit},
             {QStringLiteral("tool"), ListEntry::InstanceMaterial, tool}});
        CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("搜索结果")));
        ModalDriver driver;
        driver.queue(chooseFolder(target.path()));
        fixture.window->exchangeCommands()->exportMaterials();
        fixture.window->exchangeCommands()->importMaterials();
        QCOMPARE(driver.texts().size(), 2);
        QVERIFY2(driver.texts().first().startsWith(QStringLiteral("导出完成：2份资料，3个分类")),
                 qPrintable(driver.texts().first()));
        QCOMPARE(driver.texts().last(),
                 QStringLiteral("不能把资料导入到“搜索结果”中，请在左边的分类树中选择一个分类！"));
        const QString exported =
            QDir(target.path()).filePath(QStringLiteral("Zindrel 导出 2026-03-09 14-05-07"));
        QVERIFY(QFile::exists(exported + QStringLiteral("/文字资料/编程/C++/hit.md")));
        QVERIFY(QFile::exists(exported + QStringLiteral("/实例资料/工具 Tools/tool.md")));
        QVERIFY(!QFile::exists(exported + QStringLiteral("/文字资料/编程/C++/miss.md")));
    }

private:
    FixedClock m_clock;
};

QTEST_MAIN(TestExchangeRoundTrip)
#include "tst_exchange_roundtrip.moc"
