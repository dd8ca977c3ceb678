#include "MainWindowFixture.h"
#include "TestServer.h"

#include "browse/DetailPane.h"
#include "browse/MaterialList.h"
#include "browse/MaterialReader.h"
#include "browse/Navigator.h"
#include "shell/MainWindow.h"
#include "store/Material.h"
#include "store/Statements.h"
#include "tree/CategoryTree.h"
#include "widgets/ToolButtonImage.h"

#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QStringList Tree{QStringLiteral("文字资料0"),  QStringLiteral("+A1"),    QStringLiteral("++B2"),
                       QStringLiteral("+实例资料1"), QStringLiteral("+C1"),    QStringLiteral("实例资料0"),
                       QStringLiteral("+Tools1"),    QStringLiteral("++Net2"), QStringLiteral("搜索结果0")};

QProgressBar *progressBar(const MainWindowFixture &fixture)
{
    return childNamed<QProgressBar>(fixture.window.get(), "progressBar");
}
} // namespace

class TestMaterialList : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SKIP_WITHOUT_TEST_SERVER(); }

    void statements_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("subcategory");
        QTest::addColumn<QString>("root");
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("sql");
        QTest::newRow("by title") << QStringLiteral("A") << QString() << QStringLiteral("文字资料") << 1
                                  << QStringLiteral(
                                         "select id,title from textfile where bigclassname='A' and "
                                         "classname='' order by title");
        QTest::newRow("unsorted instance")
            << QStringLiteral("A") << QStringLiteral("B") << QStringLiteral("实例资料") << 0
            << QStringLiteral("select id,title from exefile where bigclassname='A' "
                              "and classname='B' order by id");
        QTest::newRow("by time") << QStringLiteral("A") << QStringLiteral("B") << QStringLiteral("文字资料")
                                 << 2
                                 << QStringLiteral("select id,title from textfile where bigclassname='A' and "
                                                   "classname='B' order by createtime");
        QTest::newRow("apostrophes doubled")
            << QStringLiteral("O'Reilly") << QStringLiteral("x'); delete from textfile; --")
            << QStringLiteral("文字资料") << 0
            << QStringLiteral("select id,title from textfile where bigclassname='O''Reilly' and "
                              "classname='x''); delete from textfile; --' order by id");
    }
    void statements()
    {
        QFETCH(QString, category);
        QFETCH(QString, subcategory);
        QFETCH(QString, root);
        QFETCH(int, order);
        QFETCH(QString, sql);
        SKIP_ON_TEST_SERVER(); // SQLite's texts; the server's are in tst_sharedbase
        QCOMPARE(Statements::list(category, subcategory, root, order), sql);
    }

    void firstLevelListsSubCategoriesThenMaterials()
    {
        MainWindowFixture fixture(Tree);
        const qint64 zeta = fixture.addText(QStringLiteral("zeta"), QStringLiteral("A"));
        const qint64 alpha = fixture.addText(QStringLiteral("it's alpha"), QStringLiteral("A"));
        fixture.addText(QStringLiteral("in B"), QStringLiteral("A"), QStringLiteral("B"));
        fixture.addText(QStringLiteral("other"), QStringLiteral("C"));
        fixture.click(QStringLiteral("A"));
        const QVector<ListEntry> expected{{QStringLiteral("B"), 1, 0},
                                          {QStringLiteral("it's alpha"), 4, alpha},
                                          {QStringLiteral("zeta"), 4, zeta}};
        QCOMPARE(fixture.entries(), expected);
        QCOMPARE(fixture.statusLine()->text(), QStringLiteral("数据库操作成功！"));
        QCOMPARE(progressBar(fixture)->value(), 100);
        QCOMPARE(fixture.navigator()->currentLocation().text(), QStringLiteral("文字资料-A-null"));
    }

    void rootWithChildrenShowsCategoriesOnly()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("never under a root"), QString());
        fixture.click(QStringLiteral("文字资料"));
        QCOMPARE(fixture.captions(),
                 QStringList({QStringLiteral("A"), QStringLiteral("实例资料"), QStringLiteral("C")}));
        QCOMPARE(fixture.images(), QList<int>({0, 1, 1}));
        QCOMPARE(fixture.navigator()->currentLocation().text(), QStringLiteral("文字资料-null-null"));
    }

    void secondLevelAndInstances()
    {
        MainWindowFixture fixture(Tree);
        const qint64 id =
            fixture.addInstance(QStringLiteral("ping"), QStringLiteral("Tools"), QStringLiteral("Net"));
        fixture.addInstance(QStringLiteral("not here"), QStringLiteral("Tools"));
        fixture.click(QStringLiteral("Net"));
        QCOMPARE(fixture.entries(), QVector<ListEntry>({{QStringLiteral("ping"), 5, id}}));
        QCOMPARE(fixture.navigator()->currentLocation().text(), QStringLiteral("实例资料-Tools-Net"));
    }

    void emptyRootListsNothingAndRecordsNothing()
    {
        MainWindowFixture fixture(
            {QStringLiteral("文字资料0"), QStringLiteral("实例资料0"), QStringLiteral("搜索结果0")});
        fixture.click(QStringLiteral("实例资料"));
        QVERIFY(fixture.captions().isEmpty());
        QVERIFY(fixture.navigator()->currentLocation().isEmpty());
        // Nothing is kept to go back to: the next visit leaves the back list empty.
        fixture.clickNode(
            CategoryTree::addNode(fixture.node(QStringLiteral("文字资料")), QStringLiteral("X"), 1, 1));
        QCOMPARE(fixture.navigator()->currentLocation().text(), QStringLiteral("文字资料-X-null"));
        QVERIFY(fixture.navigator()->backHistory().isEmpty());
    }

    void ordersByTitleAndByTime()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("b-late"), QStringLiteral("C"), QString(),
                        QStringLiteral("2026-05-01 09:00:00"));
        fixture.addText(QStringLiteral("a-midnight"), QStringLiteral("C"), QString(),
                        QStringLiteral("2026-05-01"));
        fixture.addText(QStringLiteral("c-early"), QStringLiteral("C"), QString(),
                        QStringLiteral("2025-12-31 23:59:59"));
        fixture.list()->setOrder(1);
        fixture.click(QStringLiteral("C"));
        QCOMPARE(fixture.captions(), QStringList({QStringLiteral("a-midnight"), QStringLiteral("b-late"),
                                                  QStringLiteral("c-early")}));

        fixture.list()->showOnceByTime();
        QCOMPARE(fixture.captions(), QStringList({QStringLiteral("c-early"), QStringLiteral("a-midnight"),
                                                  QStringLiteral("b-late")}));
        QCOMPARE(fixture.list()->order(), 1);
        // The one-shot order lasts until the next refresh; a resize lays out what is held.
        fixture.window->show();
        fixture.window->resize(fixture.window->width() + 20, fixture.window->height() + 20);
        QCoreApplication::processEvents();
        QCOMPARE(fixture.captions(), QStringList({QStringLiteral("c-early"), QStringLiteral("a-midnight"),
                                                  QStringLiteral("b-late")}));
        fixture.click(QStringLiteral("C"));
        QCOMPARE(fixture.captions(), QStringList({QStringLiteral("a-midnight"), QStringLiteral("b-late"),
                                                  QStringLiteral("c-early")}));

        // Unsorted is the order the materials were filed in, not whatever an index gives.
        fixture.list()->setOrder(0);
        fixture.list()->refresh();
        QCOMPARE(fixture.captions(), QStringList({QStringLiteral("b-late"), QStringLiteral("a-midnight"),
                                                  QStringLiteral("c-early")}));
    }

    void longTitlesAreCutWhereDrawnNotWhereStored()
    {
        MainWindowFixture fixture(Tree);
        const QString title(1 << 20, QChar(u'长'));
        fixture.addText(title, QStringLiteral("C"));
        fixture.click(QStringLiteral("C"));
        const QString caption = fixture.model()->index(0, 0).data(Qt::DisplayRole).toString();
        QCOMPARE(caption.size(), 201);
        QVERIFY(title.startsWith(caption.chopped(1)));
        fixture.selectRow(0);
        QCOMPARE(fixture.detail()->topLevelItem(0)->text(1).size(), 1001);
        QCOMPARE(fixture.folder.value(QStringLiteral("select length(title) from textfile")).toInt(), 1 << 20);
    }

    void resizeAndViewStylesKeepTheEntriesHeld()
    {
        MainWindowFixture fixture(Tree);
        fixture.window->show();
        fixture.click(QStringLiteral("C"));
        QVERIFY(fixture.captions().isEmpty());
        // Rows written past the program show at the next refresh, not at a resize or style change.
        fixture.addText(QStringLiteral("new"), QStringLiteral("C"));
        fixture.window->resize(fixture.window->width() - 30, fixture.window->height());
        fixture.list()->showAsList();
        QCoreApplication::processEvents();
        QVERIFY(fixture.captions().isEmpty());
        fixture.click(QStringLiteral("C"));
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("new")});
    }

    void doubleClickWalks()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("deep"), QStringLiteral("A"), QStringLiteral("B"));
        // Top level "文字资料": the first node.
        fixture.selectRow(0);
        fixture.navigator()->openSelectedEntry();
        QCOMPARE(CategoryTree::selectedNode(fixture.tree()), fixture.tree()->topLevelItem(0));
        QCOMPARE(ToolButtonImage::of(fixture.button("upButton")), 16);
        // A category with children: selected and expanded.
        fixture.selectRow(fixture.rowOf(QStringLiteral("A")));
        fixture.navigator()->openSelectedEntry();
        QTreeWidgetItem *a = fixture.node(QStringLiteral("A"));
        QCOMPARE(CategoryTree::selectedNode(fixture.tree()), a);
        QVERIFY(a->isExpanded());
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("B")});
        // A category without children.
        fixture.selectRow(0);
        fixture.navigator()->openSelectedEntry();
        QCOMPARE(CategoryTree::selectedNode(fixture.tree()), fixture.node(QStringLiteral("B")));
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("deep")});
        // A material: nothing happens.
        fixture.selectRow(0);
        fixture.navigator()->openSelectedEntry();
        QCOMPARE(CategoryTree::selectedNode(fixture.tree()), fixture.node(QStringLiteral("B")));
    }

    void doubleClickWithTheMouseLeavesTheCategoryButtonsUsable()
    {
        MainWindowFixture fixture(Tree);
        fixture.window->show();
        fixture.click(QStringLiteral("文字资料"));
        QListView *view = fixture.listView();
        const QRect entry = view->visualRect(fixture.model()->index(fixture.rowOf(QStringLiteral("A")), 0));
        // As a mouse gives it: a click, then the second press as a double click, then its release.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, entry.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, entry.center());
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, entry.center());
        QCOMPARE(CategoryTree::selectedNode(fixture.tree()), fixture.node(QStringLiteral("A")));
        for (const char *name : {"addCategoryButton", "renameCategoryButton", "deleteCategoryButton"})
            QVERIFY2(fixture.button(name)->isEnabled(), name);
    }

    void topLevelInstanceEntryOpensTheInstanceRoot()
    {
        // A category of that name under the text root (from an old tree file) is not the root.
        MainWindowFixture fixture({QStringLiteral("文字资料0"), QStringLiteral("+实例资料1"),
                                   QStringLiteral("实例资料0"), QStringLiteral("+V1"),
                                   QStringLiteral("搜索结果0")});
        fixture.model()->setEntries({{QStringLiteral("实例资料"), 3, 0}});
        fixture.selectRow(0);
        fixture.navigator()->openSelectedEntry();
        QCOMPARE(CategoryTree::selectedNode(fixture.tree()), fixture.tree()->topLevelItem(1));
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("V")});
    }

    void searchResultNodeCopiesTheStore()
    {
        MainWindowFixture fixture(Tree);
        const QVector<ListEntry> hits{{QStringLiteral("x"), 4, 7}, {QStringLiteral("y"), 5, 9}};
        fixture.list()->searchResults()->setEntries(hits);
        fixture.click(QStringLiteral("搜索结果"));
        QCOMPARE(fixture.entries(), hits);
        QVERIFY(fixture.navigator()->currentLocation().isEmpty());
    }

    void viewStyles()
    {
        MainWindowFixture fixture(Tree);
        fixture.list()->showSmallIcons();
        QCOMPARE(fixture.listView()->viewMode(), QListView::ListMode);
        QCOMPARE(fixture.listView()->flow(), QListView::LeftToRight);
        QCOMPARE(fixture.listView()->iconSize(), QSize(16, 16));
        fixture.list()->showAsList();
        QCOMPARE(fixture.listView()->flow(), QListView::TopToBottom);
        fixture.list()->showLargeIcons();
        // A grid of fixed cells, row by row, laid out as a list of one size.
        QCOMPARE(fixture.list()->viewStyle(), 0);
        QCOMPARE(fixture.listView()->flow(), QListView::LeftToRight);
        QCOMPARE(fixture.listView()->gridSize().width(), 96);
        QCOMPARE(fixture.listView()->iconSize(), QSize(24, 24));
    }

    void listClickDisablesCategoryButtons()
    {
        MainWindowFixture fixture(Tree);
        fixture.click(QStringLiteral("A"));
        QVERIFY(fixture.button("addCategoryButton")->isEnabled());
        fixture.detailPane()->viewer()->show();
        emit fixture.list()->clicked();
        QVERIFY(!fixture.button("addCategoryButton")->isEnabled() &&
                !fixture.button("renameCategoryButton")->isEnabled() &&
                !fixture.button("deleteCategoryButton")->isEnabled());
        QVERIFY(fixture.button("addMaterialButton")->isEnabled());
        QVERIFY(fixture.detailPane()->viewer()->isHidden());
        fixture.click(QStringLiteral("A"));
        QVERIFY(fixture.button("addCategoryButton")->isEnabled());
    }

    void missingDatabaseKeepsTheSubCategories()
    {
        SKIP_ON_TEST_SERVER();
        MainWindowFixture fixture(Tree);
        fixture.folder.remove(QStringLiteral("Data.QBD"));
        fixture.click(QStringLiteral("A"));
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("B")});
        QVERIFY(fixture.statusLine()->text().endsWith(Material::FatalSuffix));
        QCOMPARE(progressBar(fixture)->value(), 0);
        QVERIFY(!QFile::exists(fixture.folder.filePath(QStringLiteral("Data.QBD"))));
    }

    void lockedDatabaseFailsAndRecovers()
    {
        SKIP_ON_TEST_SERVER();
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("kept"), QStringLiteral("C"));
        {
            QSqlDatabase locker =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
            locker.setDatabaseName(fixture.folder.filePath(QStringLiteral("Data.QBD")));
            QVERIFY(locker.open());
            QSqlQuery lock(locker);
            QVERIFY(lock.exec(QStringLiteral("begin exclusive")));
            fixture.click(QStringLiteral("C"));
            QVERIFY(fixture.statusLine()->text().endsWith(Material::FatalSuffix));
            QVERIFY(fixture.captions().isEmpty());
            QVERIFY(lock.exec(QStringLiteral("rollback")));
            locker.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
        fixture.click(QStringLiteral("C"));
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("kept")});
    }
};

QTEST_MAIN(TestMaterialList)
#include "tst_materiallist.moc"
