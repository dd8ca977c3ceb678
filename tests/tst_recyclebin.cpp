#include "FixedClock.h"
#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "TestServer.h"

#include "base/AnsiText.h"
#include "edit/MaterialCommands.h"
#include "history/HistoryCommands.h"
#include "history/HistorySchema.h"
#include "history/KeptTime.h"
#include "history/RecycleBinDialog.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "store/FullTextIndex.h"
#include "store/SqlText.h"
#include "tree/CategoryCommands.h"
#include "tree/CategoryTree.h"

#include <QLabel>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QStringList Tree =
    QStringLiteral("文字资料0 +A1 ++B2 ++C2 +Keep1 实例资料0 +Tools1 搜索结果0").split(QLatin1Char(' '));
const QString Materials = QStringLiteral("select id,title,classname,bigclassname,writer,createtime,main from "
                                         "textfile order by id");

QStringList savedTree(const TestFolder &folder)
{
    return AnsiText::splitLines(AnsiText::decode(folder.treeBytes()));
}

// Opens "回收站…", selects the rows (all of them when none are named), runs the action and closes;
// the bin's rows as the dialog listed them first, "title|kind|category".
QStringList useBin(MainWindowFixture &fixture, ModalDriver &driver, void (RecycleBinDialog::*action)(),
                   const QList<int> &rows = {}, QMessageBox::StandardButton answer = QMessageBox::NoButton)
{
    QStringList listed;
    driver.queue([&](QWidget *modal) {
        auto *dialog = qobject_cast<RecycleBinDialog *>(modal);
        QVERIFY(dialog);
        auto *view = childNamed<QTreeView>(dialog, "binView");
        for (int row = 0; row < view->model()->rowCount(); ++row)
            listed.append(QStringList{view->model()->index(row, 0).data().toString(),
                                      view->model()->index(row, 1).data().toString(),
                                      view->model()->index(row, 2).data().toString()}
                              .join(QLatin1Char('|')));
        if (rows.isEmpty())
            view->selectAll();
        for (int row : rows)
            view->selectionModel()->select(view->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        (dialog->*action)();
        dialog->reject();
    });
    if (answer != QMessageBox::NoButton)
        driver.answerNextBox(answer);
    fixture.window->historyCommands()->showRecycleBin();
    return listed;
}
} // namespace

class TestRecycleBin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SKIP_WITHOUT_TEST_SERVER(); }

    // What is deleted, by a command or by another program, comes back as it was, with its id, and
    // the categories it names are in the tree again.
    void deletedMaterialsComeBack_data()
    {
        QTest::addColumn<QString>("deletion");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("node");
        QTest::newRow("a material, through the window")
            << QStringLiteral("material")
            << QStringList{QStringLiteral("it's doomed|文字资料|文字资料->A->B")} << QStringLiteral("B");
        QTest::newRow("a category with sub-categories")
            << QStringLiteral("category")
            << QStringList{QStringLiteral("in A|文字资料|文字资料->A"),
                           QStringLiteral("in C|文字资料|文字资料->A->C"),
                           QStringLiteral("it's doomed|文字资料|文字资料->A->B")}
            << QStringLiteral("C");
        QTest::newRow("rows another program deleted")
            << QStringLiteral("outside")
            << QStringList{QStringLiteral("elsewhere|文字资料|文字资料->Elsewhere")}
            << QStringLiteral("Elsewhere");
    }
    void deletedMaterialsComeBack()
    {
        QFETCH(QString, deletion);
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("it's doomed"), QStringLiteral("A"), QStringLiteral("B"),
                        QStringLiteral("2026-01-01 10:00:00"), QStringLiteral("body: one\r\ntwo\r\n"),
                        QStringLiteral("me"));
        fixture.addText(QStringLiteral("in C"), QStringLiteral("A"), QStringLiteral("C"));
        fixture.addText(QStringLiteral("in A"), QStringLiteral("A"));
        fixture.addText(QStringLiteral("kept"), QStringLiteral("Keep"));
        fixture.addText(QStringLiteral("elsewhere"), QStringLiteral("Elsewhere"));
        const QList<QVariantList> before = fixture.folder.rows(Materials);
        ModalDriver driver(QMessageBox::Yes);
        if (deletion == QLatin1String("outside")) {
            QVERIFY(fixture.folder.execSeenByTriggers(
                QStringLiteral("delete from textfile where bigclassname='Elsewhere'")));
        } else if (deletion == QLatin1String("material")) {
            fixture.click(QStringLiteral("B"));
            fixture.selectRow(0);
            fixture.window->materialCommands()->deleteSelectedMaterial();
        } else if (deletion == QLatin1String("category")) {
            CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("A")));
            fixture.window->categoryCommands()->deleteCategory();
            QVERIFY(!fixture.node(QStringLiteral("C")));
        }
        QFETCH(QStringList, listed);
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from textfile")).toInt(),
                 before.size() - listed.size());
        QStringList shown = useBin(fixture, driver, &RecycleBinDialog::restoreSelected);
        shown.sort();
        QCOMPARE(shown, listed);
        const QStringList reports = driver.texts().filter(QStringLiteral("已恢复"));
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports.first().startsWith(QStringLiteral("已恢复%1份资料。").arg(listed.size())),
                 qPrintable(reports.first()));
        QCOMPARE(fixture.folder.rows(Materials), before);
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from textfile_bin")).toInt(), 0);
        QFETCH(QString, node);
        QVERIFY(fixture.node(node));
        QVERIFY(savedTree(fixture.folder).join(QLatin1Char(' ')).contains(node));
    }

    void anIdThatIsTakenIsNotTakenAgain()
    {
        MainWindowFixture fixture(Tree);
        const qint64 id = fixture.addText(QStringLiteral("first"), QStringLiteral("Keep"));
        QVERIFY(
            fixture.folder.execSeenByTriggers(QStringLiteral("delete from textfile where id=%1").arg(id)));
        // Another program files a row under the freed id.
        QVERIFY(fixture.folder.execSeenByTriggers(
            QStringLiteral("insert into textfile(id,title,bigclassname) values(%1,'squatter','Keep')")
                .arg(id)));
        ModalDriver driver;
        useBin(fixture, driver, &RecycleBinDialog::restoreSelected);
        QCOMPARE(
            fixture.folder.value(QStringLiteral("select title from textfile where id=%1").arg(id)).toString(),
            QStringLiteral("squatter"));
        QVERIFY(
            fixture.folder.value(QStringLiteral("select id from textfile where title='first'")).toLongLong() >
            id);
        QVERIFY2(driver.texts().join(QString()).contains(QStringLiteral("“first”（原编号%1）").arg(id)),
                 qPrintable(driver.texts().join(QString())));
    }

    // A row whose category a category may not be named goes to the kind's root, and the report
    // says why.
    void badCategoriesGoToTheRoot_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("subcategory");
        QTest::addColumn<QString>("why");
        QTest::newRow("a root's name")
            << QStringLiteral("文字资料") << QString() << QStringLiteral("是根目录的名字");
        QTest::newRow("a control character")
            << QStringLiteral("a\x01z") << QString() << QStringLiteral("控制字符");
        QTest::newRow("a line break")
            << QStringLiteral("A") << QStringLiteral("x\ny") << QStringLiteral("换行");
        QTest::newRow("no name") << QString() << QString() << QStringLiteral("不能为空");
    }
    void badCategoriesGoToTheRoot()
    {
        QFETCH(QString, category);
        QFETCH(QString, subcategory);
        MainWindowFixture fixture(Tree);
        QVERIFY(fixture.folder.exec(
            QStringLiteral("insert into textfile_bin(id,kepttime,title,classname,bigclassname,"
                           "writer,createtime,main) values(90,'2026-01-01 00:00:00','odd',") +
            SqlText::literal(subcategory) + QLatin1Char(',') + SqlText::literal(category) +
            QStringLiteral(",'','','')")));
        ModalDriver driver;
        useBin(fixture, driver, &RecycleBinDialog::restoreSelected);
        QCOMPARE(fixture.folder
                     .value(QStringLiteral("select bigclassname||'/'||classname from textfile where id=90"))
                     .toString(),
                 QStringLiteral("恢复的资料/"));
        QCOMPARE(fixture.node(QStringLiteral("恢复的资料"))->parent()->text(0), QStringLiteral("文字资料"));
        QFETCH(QString, why);
        const QString report = driver.texts().join(QString());
        QVERIFY2(report.contains(QStringLiteral("“odd”")) && report.contains(why), qPrintable(report));
    }

    // At start, what was deleted more than 90 days ago goes for good, with the versions of
    // materials that are then gone altogether.
    void theBinKeepsNinetyDays()
    {
        MainWindowFixture fixture(Tree);
        FixedClock clock;
        Clock::setInstance(&clock);
        const qint64 live = fixture.addText(QStringLiteral("live"), QStringLiteral("Keep"));
        const QString insert = QStringLiteral(
            "insert into textfile_%1(id,kepttime,title,classname,bigclassname,writer,createtime,main) "
            "values(%2,'%3','%4','','Keep','','','')");
        for (const auto &[id, days, title] : {std::tuple{7LL, 91, "old"}, std::tuple{8LL, 89, "recent"}}) {
            const QString kept = KeptTime::stored(clock.time.addDays(-days));
            QVERIFY(fixture.folder.exec(
                insert.arg(QStringLiteral("bin")).arg(id).arg(kept, QLatin1String(title))));
            QVERIFY(fixture.folder.exec(
                insert.arg(QStringLiteral("version")).arg(id).arg(kept, QLatin1String(title))));
        }
        QVERIFY(fixture.folder.exec(
            insert.arg(QStringLiteral("version"))
                .arg(live)
                .arg(KeptTime::stored(clock.time.addYears(-1)), QStringLiteral("live before"))));
        fixture.window->historyCommands()->prepareAtStart();
        Clock::setInstance(nullptr);
        QCOMPARE(fixture.folder.rows(QStringLiteral("select title from textfile_bin")),
                 QList<QVariantList>{{QStringLiteral("recent")}});
        QCOMPARE(fixture.folder.rows(QStringLiteral("select title from textfile_version order by title")),
                 (QList<QVariantList>{{QStringLiteral("live before")}, {QStringLiteral("recent")}}));
        QCOMPARE(fixture.statusLine()->text(), QStringLiteral("回收站里删除超过90天的1份资料已彻底删除"));
    }

    void lettingGoAsksFirst()
    {
        MainWindowFixture fixture(Tree);
        for (const char *title : {"one", "two"}) {
            const qint64 id = fixture.addText(QLatin1String(title), QStringLiteral("Keep"));
            QVERIFY(fixture.folder.execSeenByTriggers(
                QStringLiteral("update textfile set main='edited' where id=%1").arg(id)));
            QVERIFY(fixture.folder.execSeenByTriggers(
                QStringLiteral("delete from textfile where id=%1").arg(id)));
        }
        auto left = [&fixture](const char *table) {
            return fixture.folder
                .value(QStringLiteral("select count(*) from textfile_") + QLatin1String(table))
                .toInt();
        };
        ModalDriver driver;
        useBin(fixture, driver, &RecycleBinDialog::removeSelected, {0}, QMessageBox::No);
        QCOMPARE(left("bin") * 10 + left("version"), 22);
        useBin(fixture, driver, &RecycleBinDialog::removeSelected, {0}, QMessageBox::Yes);
        QCOMPARE(left("bin") * 10 + left("version"), 11);
        useBin(fixture, driver, &RecycleBinDialog::emptyBin, {}, QMessageBox::Yes);
        QCOMPARE(left("bin") * 10 + left("version"), 0);
        QCOMPARE(driver.texts().filter(QStringLiteral("将彻底删除")).size(), 3);
        QVERIFY(driver.texts().last().contains(QStringLiteral("全部1份")));
    }

    // A Data.QBD of an older copy gets what keeps versions and deleted rows, whatever it holds
    // meanwhile; nothing else changes, and the full-text index's build leaves it in place.
    void anOlderBaseGetsItsTablesAtStart_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("refused");
        QTest::newRow("none of them") << QString() << QString();
        QTest::newRow("a trigger of another text")
            << QStringLiteral(
                   "create trigger textfile_keep_deleted after delete on textfile begin select 1; end")
            << QString();
        QTest::newRow("a table of another shape")
            << QStringLiteral("create table exefile_bin (x)") << QStringLiteral("exefile_bin");
    }
    void anOlderBaseGetsItsTablesAtStart()
    {
        SKIP_ON_TEST_SERVER();
        TestFolder folder;
        QVERIFY(
            folder.exec(QStringLiteral("insert into textfile(title,bigclassname) values('kept','Keep')")));
        QFETCH(QString, before);
        QVERIFY(before.isEmpty() || folder.exec(before));
        const QList<QVariantList> materials = folder.rows(Materials);
        Database database;
        QString error;
        QFETCH(QString, refused);
        QCOMPARE(HistorySchema::prepare(database, &error), refused.isEmpty());
        QVERIFY2(error.contains(refused), qPrintable(error));
        bool built = false;
        QVERIFY(FullTextIndex(&database).bringUpToDate({}, &built, &error));
        for (const HistorySchema::SchemaObject &object : HistorySchema::sqliteObjects()) {
            const QString sql =
                folder.value(QStringLiteral("select sql from sqlite_master where name='%1'").arg(object.name))
                    .toString();
            const bool instanceObject = object.name.startsWith(QLatin1String("exefile"));
            if (refused.isEmpty() || !instanceObject)
                QCOMPARE(sql, object.sql);
            else if (object.name != refused)
                QVERIFY2(sql.isEmpty(), qPrintable(object.name));
        }
        QCOMPARE(folder.rows(Materials), materials);
        // A delete still works, kept wherever it can be.
        QVERIFY(folder.exec(QStringLiteral("delete from textfile")));
        QCOMPARE(folder.value(QStringLiteral("select title from textfile_bin")).toString(),
                 QStringLiteral("kept"));
    }
};

QTEST_MAIN(TestRecycleBin)
#include "tst_recyclebin.moc"
