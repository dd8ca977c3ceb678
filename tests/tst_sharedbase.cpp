// A base shared on a PostgreSQL server: its tables, the tree that several copies change at once,
// the copies following each other's changes, the upload of a local base, a lost connection and
// an unreachable server.
#include "InputAnswers.h"
#include "LocalBase.h"
#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "OtherCopy.h"
#include "ServerBase.h"
#include "TestFolder.h"
#include "TestServer.h"

#include "base/AnsiText.h"
#include "edit/MaterialCommands.h"
#include "edit/MaterialDialog.h"
#include "exchange/BaseUpload.h"
#include "history/HistoryCommands.h"
#include "history/HistorySchema.h"
#include "history/RecycleBin.h"
#include "history/RecycleBinDialog.h"
#include "history/RestoreOutcome.h"
#include "search/SearchStatement.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "store/Material.h"
#include "store/ServerSchema.h"
#include "store/Statements.h"
#include "store/TextMaterial.h"
#include "tree/CategoryCommands.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"
#include "tree/ServerTree.h"
#include "tree/TreeFile.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTcpServer>
#include <QThread>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
const QStringList Tree =
    QStringLiteral("文字资料0 +A1 ++C2 +Z1 +Keep1 实例资料0 +Tools1 搜索结果0").split(QLatin1Char(' '));
const QString FollowedText = QStringLiteral("共享资料库已由其他电脑更新，这里显示的是最新内容");

// What the other copy, in a process of its own, does: it files a material under Keep, restores
// what the recycle bin holds and adds a category under the text root through its window, and
// says so.
void changeThroughTheWindow(MainWindow &window)
{
    TextMaterial record;
    record.title = QStringLiteral("from the other copy");
    record.category = QStringLiteral("Keep");
    record.insert();
    // What this copy's bin holds comes back, as "恢复" puts it back.
    RecycleBin bin(*Database::current());
    QVector<BinEntry> deleted;
    RestoreOutcome outcome;
    QString error;
    bin.list(&deleted, &error);
    bin.restore(deleted, &outcome, &error);
    ModalDriver driver;
    QList<InputRecord> inputs;
    CategoryTree::selectNode(window.categoryTree(), window.categoryTree()->topLevelItem(0));
    driver.queue(answerInput(&inputs, QStringLiteral("Fresh")));
    window.categoryCommands()->addCategory();
    std::puts("done");
    std::fflush(stdout);
}
} // namespace

class TestSharedBase : public QObject
{
    Q_OBJECT
    enum Operation { List, Insert, TreeSave, InsertInTransaction };

private slots:
    void initTestCase()
    {
        REQUIRE_TEST_SERVER();
        if (!TestServer::selected())
            QSKIP("runs with ZINDREL_TEST_STORE=postgresql, as its CTest entry sets it");
    }

    void tablesAreCreatedOnAnEmptyDatabaseOnly()
    {
        ServerBase base;
        QString error;
        QVERIFY2(base.open(&error), qPrintable(error));
        QCOMPARE(base.value(QStringLiteral("SELECT value FROM zindrel_state WHERE name = 'schema'")).toInt(),
                 ServerSchema::Version);
        QCOMPARE(base.treeLines(), QStringList({QStringLiteral("文字资料0"), QStringLiteral("实例资料0"),
                                                QStringLiteral("搜索结果0")}));
        QVERIFY(base.relations().contains(QStringLiteral("textfile_fulltext")));

        // Another copy's start finds the base and leaves it as it is.
        QVERIFY(base.exec(QStringLiteral("INSERT INTO textfile(title) VALUES ('kept')")));
        QVERIFY(base.exec(QStringLiteral("UPDATE zindrel_state SET value = 7 WHERE name = 'tree'")));
        const QStringList relations = base.relations();
        const QStringList contents = base.contents();
        QVERIFY2(base.open(&error), qPrintable(error));
        QCOMPARE(base.contents(), contents);
        QCOMPARE(base.relations(), relations);
    }

    void basesNotOfThisProgramAreRefused_data()
    {
        QTest::addColumn<bool>("createdFirst");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("a textfile of another shape")
            << false << QStringLiteral("CREATE TABLE textfile (id integer, body text)")
            << QStringList(
                   {QStringLiteral("textfile"), QStringLiteral("不是Zindrel的"), QStringLiteral("body")});
        QTest::newRow("a part of the tables")
            << true << QStringLiteral("DROP TABLE exefile") << QStringList{QStringLiteral("缺少表exefile")};
        QTest::newRow("a later version")
            << true << QStringLiteral("UPDATE zindrel_state SET value = value + 1 WHERE name = 'schema'")
            << QStringList{QStringLiteral("较新版本")};
    }
    void basesNotOfThisProgramAreRefused()
    {
        QFETCH(bool, createdFirst);
        QFETCH(QString, change);
        QFETCH(QStringList, said);
        ServerBase base;
        QString error;
        if (createdFirst)
            QVERIFY2(base.open(&error), qPrintable(error));
        QVERIFY(base.exec(change));
        const QStringList relations = base.relations();
        const QStringList contents = base.lines(QStringLiteral("SELECT * FROM textfile"));
        QVERIFY(!base.open(&error));
        for (const QString &part : said)
            QVERIFY2(error.contains(part), qPrintable(error));
        QCOMPARE(base.relations(), relations);
        QCOMPARE(base.lines(QStringLiteral("SELECT * FROM textfile")), contents);
    }

    // Two copies load the tree; the one that saves second saw a tree that is gone, and changes
    // nothing until it has loaded the other's. (The copies share this process's connection: the
    // tree's version, not the connection, tells their trees apart.)
    void aSaveOverAnotherCopysTreeChangesNothing()
    {
        TestFolder folder;
        folder.writeLines(QStringLiteral("MTS.qb"), Tree);
        Database database;
        ServerTree first(&database);
        ServerTree second(&database);
        QVector<TreeNode> mine = first.load();
        QVector<TreeNode> theirs = second.load();
        mine[0].children[0].name = QStringLiteral("First");
        QVERIFY(first.save(mine));
        theirs[0].children.append({QStringLiteral("Second"), 1, {}});
        QString error;
        QVERIFY(!second.save(theirs, &error));
        QVERIFY(second.movedOn());
        QVERIFY(!error.isEmpty());
        QCOMPARE(AnsiText::splitLines(AnsiText::decode(folder.treeBytes())), TreeFile::format(mine));

        theirs = second.load();
        QCOMPARE(theirs, mine);
        theirs[0].children.append({QStringLiteral("Second"), 1, {}});
        QVERIFY2(second.save(theirs, &error), qPrintable(error));
        QVERIFY(!second.movedOn());
        QCOMPARE(first.load(), theirs);
    }

    void rowsMakeTheTreeInTheOrderOfTheirPlaces()
    {
        TestFolder folder;
        Database database;
        QVERIFY(folder.exec(QStringLiteral("DELETE FROM category")));
        // As another program may write them: ids in no order of their places, a tie, a fourth level.
        QVERIFY(folder.exec(QStringLiteral(
            "INSERT INTO category VALUES (0,NULL,1,'实例资料'),(1,NULL,0,'文字资料'),(2,1,5,'Late'),"
            "(3,1,2,'Early'),(4,3,1,'Two'),(5,3,0,'One'),(6,5,0,'TooDeep'),(7,NULL,2,'搜索结果'),(8,1,2,'Tie'"
            ")")));
        ServerTree tree(&database);
        QCOMPARE(TreeFile::format(tree.load()).join(QLatin1Char(' ')),
                 QStringLiteral("文字资料0 +Early1 ++One2 ++Two2 +Tie1 +Late1 实例资料0 搜索结果0"));
    }

    // The list's and the search dialog's statements give on the server the rows that SQLite gives,
    // in its order: text compared by its bytes, ties in filing order, LIKE folding ASCII letters
    // only, "%" and "_" its only wildcards.
    void theServerGivesTheRowsOfSqlite_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("keyword");
        QTest::newRow("list by title") << 1 << QString();
        QTest::newRow("list by time") << 2 << QString();
        QTest::newRow("list in filing order") << 0 << QString();
        QTest::newRow("search, ASCII letters in either case") << 0 << QStringLiteral("A");
        QTest::newRow("search, other letters as they are") << 0 << QStringLiteral("é");
        QTest::newRow("search, wildcards and a backslash") << 0 << QStringLiteral("_\\");
        QTest::newRow("search, an apostrophe") << 0 << QStringLiteral("it's");
    }
    void theServerGivesTheRowsOfSqlite()
    {
        QFETCH(int, order);
        QFETCH(QString, keyword);
        auto statement = [&] {
            if (keyword.isEmpty())
                return Statements::list(QStringLiteral("C"), QString(), NodeRules::TextRootText, order);
            SearchStatement search;
            search.kind = NodeRules::TextRootText;
            search.category = search.subcategory = SearchStatement::AllCategories;
            search.keyword = keyword;
            return search.text();
        };
        const QString insert = QStringLiteral(
            "insert into textfile(title,bigclassname,createtime) values ('b','C','2026-01-02'),"
            "('B','C','2026-01-01'),('a_c','C','2026-01-03'),('abc','C','2026-01-03'),('Éa','C','2026-01-05')"
            ","
            "('éa','C','2026-01-04'),('x\\y','C','2026-01-06'),('数据库','C',''),('数据','C','2026-01-01'),"
            "('same','C','2026-01-07'),('it+(DYH)+s','C','2026-01-07'),('same','C','2026-01-07'),('Ab','D',''"
            ")");
        LocalBase local(Tree);
        local.lines(insert);
        // No database in use yet: SQLite's statement.
        const QStringList expected = local.lines(statement());
        TestFolder folder;
        Database database;
        QVERIFY(folder.exec(insert));
        QStringList rows;
        for (const QVariantList &row : folder.rows(statement()))
            rows.append(row.value(0).toString() + QLatin1Char('|') + row.value(1).toString());
        QCOMPARE(rows, expected);
        QVERIFY(!expected.isEmpty());
    }

    // This copy renames A while its tree is one that another copy has changed since.
    void renamesWhileAnotherCopyChangesTheTree_data()
    {
        QTest::addColumn<bool>("otherDeletes");
        QTest::addColumn<QString>("otherNode");
        QTest::addColumn<QString>("textCategories");
        QTest::addColumn<QString>("materials");
        QTest::addColumn<bool>("refused");
        QTest::newRow("another category renamed")
            << false << QStringLiteral("Z") << QStringLiteral("+Alpha1 ++C2 +Other1 +Keep1")
            << QStringLiteral("in C:Alpha/C|in Z:Other/") << false;
        QTest::newRow("the same category renamed")
            << false << QStringLiteral("A") << QStringLiteral("+Other1 ++C2 +Z1 +Keep1")
            << QStringLiteral("in C:Other/C|in Z:Z/") << true;
        QTest::newRow("the same category deleted")
            << true << QStringLiteral("A") << QStringLiteral("+Z1 +Keep1") << QStringLiteral("in Z:Z/")
            << true;
    }
    void renamesWhileAnotherCopyChangesTheTree()
    {
        QFETCH(bool, otherDeletes);
        QFETCH(QString, otherNode);
        QFETCH(QString, textCategories);
        QFETCH(QString, materials);
        QFETCH(bool, refused);
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("in C"), QStringLiteral("A"), QStringLiteral("C"));
        fixture.addText(QStringLiteral("in Z"), QStringLiteral("Z"));
        // The other copy: a window and a tree of its own, loaded at the same moment as this one's.
        ServerTree otherTree(fixture.database.get());
        MainWindow other(&otherTree);
        ModalDriver driver(QMessageBox::Yes);
        QList<InputRecord> inputs;
        CategoryTree::selectNode(other.categoryTree(),
                                 CategoryTree::findByText(other.categoryTree(), otherNode));
        if (otherDeletes) {
            other.categoryCommands()->deleteCategory();
        } else {
            driver.queue(answerInput(&inputs, QStringLiteral("Other")));
            other.categoryCommands()->renameCategory();
        }
        CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("A")));
        driver.queue(answerInput(&inputs, QStringLiteral("Alpha")));
        fixture.window->categoryCommands()->renameCategory();

        const QString reloaded = QStringLiteral("另一台电脑刚刚改动了分类，左边显示的是改动后的分类树。");
        QCOMPARE(
            driver.texts().filter(reloaded),
            refused ? QStringList{reloaded +
                                  QStringLiteral("\n分类“A”刚刚在另一台电脑上被删除或改名。\n这次没有改动。")}
                    : QStringList());
        if (refused)
            QCOMPARE(fixture.statusLine()->text(), reloaded);
        const QStringList saved = AnsiText::splitLines(AnsiText::decode(fixture.folder.treeBytes()));
        QCOMPARE(saved.mid(1, saved.indexOf(QStringLiteral("实例资料0")) - 1).join(QLatin1Char(' ')),
                 textCategories);
        // This copy shows the tree as saved, the other copy's change included.
        const QRegularExpression image(QStringLiteral("\\d$")); // which the window changes as nodes open
        QCOMPARE(TreeFile::format(CategoryTree::collect(fixture.tree())).replaceInStrings(image, QString()),
                 QStringList(saved).replaceInStrings(image, QString()));
        QCOMPARE(fixture.folder
                     .value(QStringLiteral("select string_agg(title||':'||bigclassname||'/'||classname, '|' "
                                           "order by title) from textfile"))
                     .toString(),
                 materials);
    }

    // Saved over a material that another machine deleted while it was being edited.
    void savingAMaterialAnotherMachineDeleted_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("category");
        QTest::newRow("text") << QStringLiteral("textfile") << QStringLiteral("Keep");
        QTest::newRow("instance") << QStringLiteral("exefile") << QStringLiteral("Tools");
    }
    void savingAMaterialAnotherMachineDeleted()
    {
        QFETCH(QString, table);
        QFETCH(QString, category);
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("edited"), QStringLiteral("Keep"), QString(), QString(),
                        QStringLiteral("body"));
        fixture.addInstance(QStringLiteral("edited"), QStringLiteral("Tools"), QString(),
                            QStringLiteral("/bin/true"));
        fixture.click(category);
        fixture.selectRow(0);
        ModalDriver driver;
        driver.queue([&](QWidget *modal) {
            auto *dialog = qobject_cast<MaterialDialog *>(modal);
            QVERIFY(dialog);
            QVERIFY(fixture.folder.exec(QStringLiteral("delete from ") + table));
            childNamed<QLineEdit>(dialog, "titleEdit")->setText(QStringLiteral("typed meanwhile"));
            dialog->saveMaterial();
            dialog->reject();
        });
        fixture.window->materialCommands()->modifySelectedMaterial();
        QCOMPARE(driver.boxes.size(), 1);
        const QString message = driver.boxes.first().text;
        QVERIFY2(message.startsWith(Material::FailurePrefix) && message.contains(QStringLiteral("已被删除")),
                 qPrintable(message));
        QCOMPARE(fixture.statusLine()->text(), message);
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from ") + table).toInt(), 0);
    }

    // The server ends the program's connection (a restart, a network cut). An operation outside a
    // transaction either finds the connection made again already, or fails and says so (a write
    // whose connection broke may or may not have been done: it is never sent twice); one inside a
    // transaction, which died with its connection, fails. The next one connects again and sees
    // what changed meanwhile.
    void aLostConnectionIsFoundAndTakenUpAgain_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("list") << int(List);
        QTest::newRow("insert") << int(Insert);
        QTest::newRow("tree save") << int(TreeSave);
        QTest::newRow("insert in a transaction, noticed meanwhile") << int(InsertInTransaction);
    }
    void aLostConnectionIsFoundAndTakenUpAgain()
    {
        QFETCH(int, operation);
        MainWindowFixture fixture(Tree);
        fixture.click(QStringLiteral("Keep"));
        qint64 backend = 0;
        QString error;
        QVERIFY(fixture.database->select(
            QStringLiteral("SELECT pg_backend_pid()"),
            [&](const QSqlQuery &row) { backend = row.value(0).toLongLong(); }, &error));
        auto cut = [&] {
            fixture.folder.exec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(backend));
            // Waited for without this copy's event loop, which would read the server's farewell.
            const QString gone =
                QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE pid = %1").arg(backend);
            for (int tries = 0; tries < 200 && fixture.folder.value(gone).toInt() > 0; ++tries)
                QThread::msleep(50);
            fixture.addText(QStringLiteral("added meanwhile"), QStringLiteral("Keep"));
            if (operation == InsertInTransaction)
                QTest::qWait(200); // as a long operation processes events
        };
        QVector<TreeNode> tree = CategoryTree::collect(fixture.tree());
        // Whether the operation succeeded, and whether what it said was a failure.
        auto run = [&](const QString &name) -> std::pair<bool, bool> {
            if (operation == List) {
                fixture.click(QStringLiteral("Keep"));
                const bool failed = fixture.statusLine()->text().endsWith(Material::FatalSuffix);
                return {!failed, failed};
            }
            if (operation == TreeSave) {
                tree[0].children.append({name, 1, {}});
                QString why;
                return {fixture.serverTree->save(tree, &why), !why.isEmpty()};
            }
            TextMaterial record;
            record.title = name;
            auto insert = [&](QString *) {
                if (operation == InsertInTransaction && name == QLatin1String("first"))
                    cut();
                return record.insert();
            };
            QString why;
            const bool kept = operation == Insert ? insert(&why) : fixture.database->transact(insert, &why);
            return {kept, record.resultMessage().startsWith(Material::FailurePrefix)};
        };
        if (operation != InsertInTransaction)
            cut();
        const std::pair<bool, bool> first = run(QStringLiteral("first"));
        QVERIFY(first.first != first.second); // it succeeded, or it said that it failed
        QVERIFY(operation != InsertInTransaction || !first.first);
        // A lost connection is no change of another copy's, which would have the tree loaded again.
        QVERIFY(!fixture.serverTree->movedOn());
        QCOMPARE(run(QStringLiteral("second")), std::make_pair(true, false));
        QTRY_VERIFY(fixture.captions().contains(QStringLiteral("added meanwhile")));
        QCOMPARE(
            fixture.folder.value(QStringLiteral("select count(*) from textfile where title='first'")).toInt(),
            operation == Insert && first.first ? 1 : 0);
    }

    void anUnreachableServerIsNamedWithTheReason()
    {
        TestFolder folder;
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close(); // nothing listens there now
        const QString ini =
            QStringLiteral("[base]\ndriver=postgresql\nhost=127.0.0.1\nport=%1\ndatabase=z\n");
        folder.writeBytes(QStringLiteral("Base.ini"), ini.arg(port).toUtf8());
        Database database;
        QVERIFY(database.isServer());
        QString error;
        QVERIFY(!database.connectServer(&error));
        for (const QString &part : {QStringLiteral("127.0.0.1"), QString::number(port),
                                    QString::fromLocal8Bit(std::strerror(ECONNREFUSED))})
            QVERIFY2(error.contains(part), qPrintable(error));
    }

    void aLocalBaseIsUploadedToAnEmptySharedBase()
    {
        const QStringList lines =
            QStringLiteral("文字资料0 +数据库1 ++索引2 +O'Reilly1 实例资料0 +Tools1 搜索结果0")
                .split(QLatin1Char(' '));
        LocalBase local(lines);
        // Tokens of apostrophes and colons as the program stores them, apostrophes and colons as
        // another program may have written them, Chinese, and a category the tree file lost.
        local.lines(
            QStringLiteral("insert into textfile(title,classname,bigclassname,writer,createtime,main) values"
                           "('it+(DYH)+s a:b','索引','数据库','O''Brien','2026-01-02 03:04:05',"
                           "'x+(MH)++(DYH)+y+(DYH)+\r\n第二行'),"
                           "('中文标题','','O''Reilly','','2026-01-03 00:00:00','it''s: 正文'),"
                           "('lost','','Gone','','','')"));
        local.lines(QStringLiteral("insert into exefile(title,bigclassname,about,fpath) "
                                   "values('vim','Tools','edit+(MH)+ it+(DYH)+s','/usr/bin/vim')"));
        // Versions and deleted materials go along, numbered as they were.
        for (const HistorySchema::SchemaObject &object : HistorySchema::sqliteObjects())
            local.lines(object.sql);
        local.lines(QStringLiteral("update textfile set main='edited' where title='lost'"));
        local.lines(QStringLiteral("insert into exefile(title,bigclassname) values('binned','Tools')"));
        local.lines(QStringLiteral("delete from exefile where title='binned'"));
        const QString kept =
            QStringLiteral("select seq,id,kepttime,title,classname,bigclassname,main from "
                           "textfile_version union all select seq,id,kepttime,title,classname,"
                           "bigclassname,about||fpath from exefile_bin order by 1,2");
        const QStringList localKept = local.lines(kept);
        QCOMPARE(localKept.size(), 2);
        const QString texts = QStringLiteral(
            "select title,classname,bigclassname,writer,createtime,main from textfile order by id");
        const QString instances = QStringLiteral(
            "select title,classname,bigclassname,writer,createtime,about,fpath from exefile order by id");
        const QStringList localTexts = local.lines(texts);
        const QStringList localInstances = local.lines(instances);
        const QMap<QString, QByteArray> files = local.files();

        ServerBase server;
        BaseUpload upload(server.settings(), local.databasePath(), local.treePath());
        QCOMPARE(upload.run([](int, int) { return true; }), BaseUpload::Done);
        QCOMPARE(upload.materials(), 4);
        QCOMPARE(server.lines(texts), localTexts);
        QCOMPARE(server.lines(instances), localInstances);
        QCOMPARE(server.lines(kept), localKept);
        QStringList grown = lines;
        grown.insert(grown.indexOf(QStringLiteral("实例资料0")), QStringLiteral("+Gone1"));
        QCOMPARE(server.treeLines(), grown);
        for (const QString &index : {QStringLiteral("textfile_fulltext"), QStringLiteral("exefile_fulltext")})
            QVERIFY(server.relations().contains(index));

        // Into a base that is no longer empty: refused, and nothing changes.
        const QStringList uploaded = server.contents();
        QCOMPARE(upload.run([](int, int) { return true; }), BaseUpload::Failed);
        QVERIFY2(upload.error().contains(QStringLiteral("已经有4份资料")), qPrintable(upload.error()));
        QCOMPARE(server.contents(), uploaded);
        QCOMPARE(local.files(), files);

        // The shared base numbers what it keeps after the copied rows.
        QVERIFY(server.exec(QStringLiteral("delete from exefile")));
        QCOMPARE(server.lines(QStringLiteral("select seq,title from exefile_bin order by seq")),
                 QStringList({QStringLiteral("1|binned"), QStringLiteral("2|vim")}));

        // Into a base whose recycle bin holds rows: refused, for the upload would let them go.
        ServerBase binOnly;
        QString error;
        QVERIFY2(binOnly.open(&error), qPrintable(error));
        QVERIFY(binOnly.exec(
            QStringLiteral("insert into textfile_bin(id,kepttime) values(1,'2026-01-01 00:00:00')")));
        BaseUpload refused(binOnly.settings(), local.databasePath(), local.treePath());
        QCOMPARE(refused.run([](int, int) { return true; }), BaseUpload::Failed);
        QVERIFY2(refused.error().contains(QStringLiteral("回收站里还有1份资料")),
                 qPrintable(refused.error()));
    }

    void anotherCopysChangesAppearWithoutARestart()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("kept"), QStringLiteral("Keep"));
        Material::executeStatement(Statements::deleteMaterial(
            QStringLiteral("textfile"), fixture.addText(QStringLiteral("binned"), QStringLiteral("Keep"))));
        fixture.click(QStringLiteral("Keep"));
        OtherCopy other(fixture.folder);
        QVERIFY(other.startChild());
        // This copy's event loop stands still meanwhile: what it shows next, it heard of.
        QVERIFY(other.waitForLine("done", 20000));
        // A generous bound: how soon is the benchmark's to measure.
        QTRY_VERIFY_WITH_TIMEOUT(fixture.captions().contains(QStringLiteral("from the other copy")), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.node(QStringLiteral("Fresh")), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(fixture.statusLine()->text(), FollowedText, 10000);
        QVERIFY(fixture.captions().contains(QStringLiteral("kept")));
        QVERIFY(fixture.captions().contains(QStringLiteral("binned")));
    }

    // This copy restores into a category that another copy renamed since this one loaded the tree:
    // the restore runs again on the renamed tree, and the category it needs grows back.
    void restoringWhileAnotherCopyRenamesTheCategory()
    {
        MainWindowFixture fixture(Tree);
        Material::executeStatement(Statements::deleteMaterial(
            QStringLiteral("textfile"),
            fixture.addText(QStringLiteral("binned"), QStringLiteral("A"), QStringLiteral("C"))));
        ServerTree otherTree(fixture.database.get());
        MainWindow other(&otherTree);
        ModalDriver driver;
        QList<InputRecord> inputs;
        CategoryTree::selectNode(other.categoryTree(),
                                 CategoryTree::findByText(other.categoryTree(), QStringLiteral("A")));
        driver.queue(answerInput(&inputs, QStringLiteral("Other")));
        other.categoryCommands()->renameCategory();
        driver.queue([](QWidget *modal) {
            auto *dialog = qobject_cast<RecycleBinDialog *>(modal);
            QVERIFY(dialog);
            childNamed<QTreeView>(dialog, "binView")->selectAll();
            dialog->restoreSelected();
            dialog->reject();
        });
        fixture.window->historyCommands()->showRecycleBin();
        QCOMPARE(driver.texts().filter(QStringLiteral("已恢复")).size(), 1);
        const QStringList saved = AnsiText::splitLines(AnsiText::decode(fixture.folder.treeBytes()));
        QCOMPARE(saved.mid(1, saved.indexOf(QStringLiteral("实例资料0")) - 1).join(QLatin1Char(' ')),
                 QStringLiteral("+Other1 ++C2 +Z1 +Keep1 +A1 ++C2"));
        QCOMPARE(fixture.folder.value(QStringLiteral("select bigclassname||'/'||classname from textfile"))
                     .toString(),
                 QStringLiteral("A/C"));
    }

    // The program itself, started on a folder whose Base.ini names the shared base (and with no
    // MTS.qb of its own), takes the tree from there, and what it changes this copy shows.
    void theProgramStartsOnTheSharedBase()
    {
        MainWindowFixture fixture(Tree);
        // A material whose category the shared tree lacks, from a program that announces nothing.
        fixture.addText(QStringLiteral("grown back"), QStringLiteral("Grown"));
        OtherCopy program(fixture.folder);
        QVERIFY(program.startProgram());
        // At its start it grows the category back into the shared tree; a bound that leaves room
        // for the start itself.
        QTRY_VERIFY_WITH_TIMEOUT(fixture.node(QStringLiteral("Grown")), 20000);
        QCOMPARE(program.terminate(), 0);
        QVERIFY(!QFile::exists(program.folder() + QStringLiteral("/MTS.qb")));
        QVERIFY(AnsiText::splitLines(AnsiText::decode(fixture.folder.treeBytes()))
                    .contains(QStringLiteral("+Grown1")));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (OtherCopy::isChild(argc, argv))
        return OtherCopy::runChild(argv, changeThroughTheWindow);
    TestSharedBase test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sharedbase.moc"
