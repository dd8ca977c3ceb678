#include "MainFormFixture.h"

#include "shell/TMainForm.h"
#include "store/Statements.h"
#include "store/TFile.h"
#include "tree/CategoryTree.h"

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
} // namespace

class TestMaterialList : public QObject
{
    Q_OBJECT
private slots:
    void statements_data()
    {
        QTest::addColumn<QString>("bigClass");
        QTest::addColumn<QString>("className");
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
                              "and classname='B'");
        QTest::newRow("by time") << QStringLiteral("A") << QStringLiteral("B") << QStringLiteral("文字资料")
                                 << 2
                                 << QStringLiteral("select id,title from textfile where bigclassname='A' and "
                                                   "classname='B' order by createtime");
        QTest::newRow("apostrophes doubled")
            << QStringLiteral("O'Reilly") << QStringLiteral("x'); delete from textfile; --")
            << QStringLiteral("文字资料") << 0
            << QStringLiteral("select id,title from textfile where bigclassname='O''Reilly' and "
                              "classname='x''); delete from textfile; --'");
    }
    void statements()
    {
        QFETCH(QString, bigClass);
        QFETCH(QString, className);
        QFETCH(QString, root);
        QFETCH(int, order);
        QFETCH(QString, sql);
        QCOMPARE(Statements::list(bigClass, className, root, order), sql);
    }

    void firstLevelListsSubCategoriesThenMaterials()
    {
        MainFormFixture fixture(Tree);
        const qint64 zeta = fixture.addText(QStringLiteral("zeta"), QStringLiteral("A"));
        const qint64 alpha = fixture.addText(QStringLiteral("it's alpha"), QStringLiteral("A"));
        fixture.addText(QStringLiteral("in B"), QStringLiteral("A"), QStringLiteral("B"));
        fixture.addText(QStringLiteral("other"), QStringLiteral("C"));
        fixture.click(QStringLiteral("A"));
        const QVector<ListEntry> expected{{QStringLiteral("B"), 1, 0},
                                          {QStringLiteral("it's alpha"), 4, alpha},
                                          {QStringLiteral("zeta"), 4, zeta}};
        QCOMPARE(fixture.entries(), expected);
        QCOMPARE(fixture.form->MainStatus->text(), QStringLiteral("数据库操作成功！"));
        QCOMPARE(fixture.form->MainProgressBar->value(), 100);
        QCOMPARE(fixture.form->CurrentLocation.text(), QStringLiteral("文字资料-A-null"));
    }

    void rootWithChildrenShowsCategoriesOnly()
    {
        MainFormFixture fixture(Tree);
        fixture.addText(QStringLiteral("never under a root"), QString());
        fixture.click(QStringLiteral("文字资料"));
        QCOMPARE(fixture.captions(),
                 QStringList({QStringLiteral("A"), QStringLiteral("实例资料"), QStringLiteral("C")}));
        QCOMPARE(fixture.images(), QList<int>({0, 1, 1}));
        QCOMPARE(fixture.form->CurrentLocation.text(), QStringLiteral("文字资料-null-null"));
    }

    void secondLevelAndInstances()
    {
        MainFormFixture fixture(Tree);
        const qint64 id =
            fixture.addInstance(QStringLiteral("ping"), QStringLiteral("Tools"), QStringLiteral("Net"));
        fixture.addInstance(QStringLiteral("not here"), QStringLiteral("Tools"));
        fixture.click(QStringLiteral("Net"));
        QCOMPARE(fixture.entries(), QVector<ListEntry>({{QStringLiteral("ping"), 5, id}}));
        QCOMPARE(fixture.form->CurrentLocation.text(), QStringLiteral("实例资料-Tools-Net"));
    }

    void emptyRootListsNothingAndRecordsNothing()
    {
        MainFormFixture fixture(
            {QStringLiteral("文字资料0"), QStringLiteral("实例资料0"), QStringLiteral("搜索结果0")});
        fixture.click(QStringLiteral("实例资料"));
        QVERIFY(fixture.captions().isEmpty());
        QVERIFY(fixture.form->CurrentLocation.isEmpty());
        QVERIFY(fixture.form->PreviousLocation.isEmpty());
    }

    void ordersByTitleAndByTime()
    {
        MainFormFixture fixture(Tree);
        fixture.addText(QStringLiteral("b-late"), QStringLiteral("C"), QString(),
                        QStringLiteral("2026-05-01 09:00:00"));
        fixture.addText(QStringLiteral("a-midnight"), QStringLiteral("C"), QString(),
                        QStringLiteral("2026-05-01"));
        fixture.addText(QStringLiteral("c-early"), QStringLiteral("C"), QString(),
                        QStringLiteral("2025-12-31 23:59:59"));
        fixture.form->ListOrder = 1;
        fixture.click(QStringLiteral("C"));
        QCOMPARE(fixture.captions(), QStringList({QStringLiteral("a-midnight"), QStringLiteral("b-late"),
                                                  QStringLiteral("c-early")}));

        fixture.form->OByTime();
        QCOMPARE(fixture.captions(), QStringList({QStringLiteral("c-early"), QStringLiteral("a-midnight"),
                                                  QStringLiteral("b-late")}));
        QCOMPARE(fixture.form->ListOrder, 1);
        // The one-shot order lasts until the next refresh: a resize shows the configured order.
        fixture.form->show();
        fixture.form->resize(fixture.form->width() + 20, fixture.form->height() + 20);
        QTRY_COMPARE(fixture.captions(), QStringList({QStringLiteral("a-midnight"), QStringLiteral("b-late"),
                                                      QStringLiteral("c-early")}));
    }

    void resizeRereadsTheCategory()
    {
        MainFormFixture fixture(Tree);
        fixture.form->show();
        fixture.click(QStringLiteral("C"));
        QVERIFY(fixture.captions().isEmpty());
        fixture.addText(QStringLiteral("new"), QStringLiteral("C"));
        fixture.form->resize(fixture.form->width() - 30, fixture.form->height());
        QTRY_COMPARE(fixture.captions(), QStringList{QStringLiteral("new")});
    }

    void doubleClickWalks()
    {
        MainFormFixture fixture(Tree);
        fixture.addText(QStringLiteral("deep"), QStringLiteral("A"), QStringLiteral("B"));
        // Top level "文字资料": the first node.
        fixture.selectRow(0);
        fixture.form->MainListDblClick();
        QCOMPARE(fixture.form->selectedNode(), fixture.form->MainTreeView->topLevelItem(0));
        QCOMPARE(fixture.form->buttonImage(fixture.form->UpTBtn), 16);
        // A category with children: selected and expanded.
        fixture.selectRow(fixture.rowOf(QStringLiteral("A")));
        fixture.form->MainListDblClick();
        QTreeWidgetItem *a = fixture.node(QStringLiteral("A"));
        QCOMPARE(fixture.form->selectedNode(), a);
        QVERIFY(a->isExpanded());
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("B")});
        // A category without children.
        fixture.selectRow(0);
        fixture.form->MainListDblClick();
        QCOMPARE(fixture.form->selectedNode(), fixture.node(QStringLiteral("B")));
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("deep")});
        // A material: nothing happens.
        fixture.selectRow(0);
        fixture.form->MainListDblClick();
        QCOMPARE(fixture.form->selectedNode(), fixture.node(QStringLiteral("B")));
    }

    void topLevelInstanceEntryFindsTheFirstNodeOfThatName()
    {
        MainFormFixture fixture(Tree);
        fixture.form->MainListModel->setEntries({{QStringLiteral("实例资料"), 3, 0}});
        fixture.selectRow(0);
        fixture.form->MainListDblClick();
        QTreeWidgetItem *selected = fixture.form->selectedNode();
        QVERIFY(selected && selected->parent());
        QCOMPARE(selected->parent()->text(0), QStringLiteral("文字资料"));
    }

    void searchResultNodeCopiesTheStore()
    {
        MainFormFixture fixture(Tree);
        const QVector<ListEntry> hits{{QStringLiteral("x"), 4, 7}, {QStringLiteral("y"), 5, 9}};
        fixture.form->StoreItemView->setEntries(hits);
        fixture.click(QStringLiteral("搜索结果"));
        QCOMPARE(fixture.entries(), hits);
        QVERIFY(fixture.form->CurrentLocation.isEmpty());
    }

    void viewStyles()
    {
        MainFormFixture fixture(Tree);
        fixture.form->N24Click();
        QCOMPARE(fixture.form->MainList->viewMode(), QListView::ListMode);
        QCOMPARE(fixture.form->MainList->flow(), QListView::LeftToRight);
        QCOMPARE(fixture.form->MainList->iconSize(), QSize(16, 16));
        fixture.form->N25Click();
        QCOMPARE(fixture.form->MainList->flow(), QListView::TopToBottom);
        fixture.form->N23Click();
        QCOMPARE(fixture.form->MainList->viewMode(), QListView::IconMode);
        QCOMPARE(fixture.form->MainList->iconSize(), QSize(24, 24));
    }

    void listClickDisablesCategoryButtons()
    {
        MainFormFixture fixture(Tree);
        fixture.click(QStringLiteral("A"));
        QVERIFY(fixture.form->ToolButton1->isEnabled());
        fixture.form->ThisFrmViewer->show();
        fixture.form->MainListClick();
        QVERIFY(!fixture.form->ToolButton1->isEnabled() && !fixture.form->ToolButton2->isEnabled() &&
                !fixture.form->ToolButton3->isEnabled());
        QVERIFY(fixture.form->ToolButton4->isEnabled());
        QVERIFY(fixture.form->ThisFrmViewer->isHidden());
        fixture.click(QStringLiteral("A"));
        QVERIFY(fixture.form->ToolButton1->isEnabled());
    }

    void missingDatabaseKeepsTheSubCategories()
    {
        MainFormFixture fixture(Tree);
        fixture.folder.remove(QStringLiteral("Data.QBD"));
        fixture.click(QStringLiteral("A"));
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("B")});
        QVERIFY(fixture.form->MainStatus->text().endsWith(TFile::FatalSuffix));
        QCOMPARE(fixture.form->MainProgressBar->value(), 0);
        QVERIFY(!QFile::exists(fixture.folder.filePath(QStringLiteral("Data.QBD"))));
    }

    void lockedDatabaseFailsAndRecovers()
    {
        MainFormFixture fixture(Tree);
        fixture.addText(QStringLiteral("kept"), QStringLiteral("C"));
        {
            QSqlDatabase locker =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
            locker.setDatabaseName(fixture.folder.filePath(QStringLiteral("Data.QBD")));
            QVERIFY(locker.open());
            QSqlQuery lock(locker);
            QVERIFY(lock.exec(QStringLiteral("begin exclusive")));
            fixture.click(QStringLiteral("C"));
            QVERIFY(fixture.form->MainStatus->text().endsWith(TFile::FatalSuffix));
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
