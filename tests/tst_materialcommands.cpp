#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "TestServer.h"

#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "edit/InstanceMaterialDialog.h"
#include "edit/MaterialCommands.h"
#include "edit/MaterialDialog.h"
#include "edit/MaterialMover.h"
#include "shell/MainWindow.h"
#include "store/Material.h"
#include "tree/CategoryTree.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QStringList Tree{QStringLiteral("文字资料0"), QStringLiteral("+A1"),   QStringLiteral("++B2"),
                       QStringLiteral("++C2"),      QStringLiteral("+R&D1"), QStringLiteral("实例资料0"),
                       QStringLiteral("+T1"),       QStringLiteral("++U2"),  QStringLiteral("+V1"),
                       QStringLiteral("搜索结果0")};

// Captions and data of the move sub-menu, "first>second|second" for a first level with children.
QStringList moveTargets(const QMenu *menu)
{
    QStringList targets;
    for (const QAction *action : menu->actions()) {
        if (action->menu()) {
            QStringList children;
            for (const QAction *child : action->menu()->actions())
                children.append(child->text());
            targets.append(action->text() + QLatin1Char('>') + children.join(QLatin1Char('|')));
        } else {
            targets.append(action->text());
        }
    }
    return targets;
}

QAction *actionNamed(const QMenu *menu, const QString &name)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == name)
            return action;
        if (action->menu()) {
            if (QAction *child = actionNamed(action->menu(), name))
                return child;
        }
    }
    return nullptr;
}

QMenu *listMenu(const MainWindow &window)
{
    return childNamed<QMenu>(&window, "listMenu");
}

void openListMenu(const MainWindow &window)
{
    emit listMenu(window)->aboutToShow();
}

// The material dialogs' boxes, by object name.
QLineEdit *titleEdit(const QWidget *dialog)
{
    return childNamed<QLineEdit>(dialog, "titleEdit");
}
QLineEdit *pathEdit(const QWidget *dialog)
{
    return childNamed<QLineEdit>(dialog, "pathEdit");
}
} // namespace

class TestMaterialCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SKIP_WITHOUT_TEST_SERVER(); }
    void addRefusals_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<bool>("fromList");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::newRow("add, nothing selected")
            << QString() << false << QStringLiteral("你还没有在左边的分类树中选择一个分类！")
            << int(QMessageBox::NoIcon);
        QTest::newRow("add at a root")
            << QStringLiteral("文字资料") << false
            << QStringLiteral("不能直接在跟目录下添加资料，请选择一个分类!") << int(QMessageBox::Information);
        QTest::newRow("add at the search results")
            << QStringLiteral("搜索结果") << false
            << QStringLiteral("不能直接在跟目录下添加资料，请选择一个分类!") << int(QMessageBox::Information);
        QTest::newRow("list menu, nothing selected")
            << QString() << true << QStringLiteral("你还没有在左边的树中选择一个分类！")
            << int(QMessageBox::NoIcon);
        QTest::newRow("list menu at a root")
            << QStringLiteral("实例资料") << true
            << QStringLiteral("请在左边的树中选择一个具体的分类再添加！") << int(QMessageBox::NoIcon);
    }
    void addRefusals()
    {
        QFETCH(QString, node);
        QFETCH(bool, fromList);
        MainWindowFixture fixture(Tree);
        if (!node.isEmpty())
            CategoryTree::selectNode(fixture.tree(), fixture.node(node));
        ModalDriver driver;
        fromList ? fixture.window->materialCommands()->addMaterialFromList()
                 : fixture.window->materialCommands()->addMaterial();
        QCOMPARE(driver.boxes.size(), 1);
        QTEST(driver.boxes.first().text, "text");
        QTEST(int(driver.boxes.first().icon), "icon");
        QCOMPARE(driver.boxes.first().caption, QStringLiteral("Zindrel"));
        QVERIFY(driver.otherWindows.isEmpty());
    }

    void addThroughTheDialog()
    {
        MainWindowFixture fixture(Tree);
        fixture.click(QStringLiteral("V"));
        ModalDriver driver;
        QString caption;
        driver.queue([&caption](QWidget *modal) {
            auto *dialog = qobject_cast<InstanceMaterialDialog *>(modal);
            QVERIFY(dialog);
            caption = dialog->windowTitle();
            titleEdit(dialog)->setText(QStringLiteral("first"));
            pathEdit(dialog)->setText(QStringLiteral("/bin/ls"));
            dialog->saveMaterial();
        });
        // The save's message, then the dialog again (still open in add mode): file a second one.
        driver.queue([&driver](QWidget *modal) {
            driver.boxes.append(ModalDriver::describe(qobject_cast<QMessageBox *>(modal)));
            qobject_cast<QMessageBox *>(modal)->accept();
        });
        driver.queue([](QWidget *modal) {
            auto *dialog = qobject_cast<InstanceMaterialDialog *>(modal);
            QVERIFY(dialog);
            titleEdit(dialog)->setText(QStringLiteral("second"));
            pathEdit(dialog)->setText(QStringLiteral("/bin/cat"));
            dialog->saveMaterial();
        });
        driver.queue([&driver](QWidget *modal) {
            driver.boxes.append(ModalDriver::describe(qobject_cast<QMessageBox *>(modal)));
            qobject_cast<QMessageBox *>(modal)->accept();
        });
        driver.queue([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
        fixture.window->materialCommands()->addMaterialFromList();
        QCOMPARE(caption, QStringLiteral("添加资料在:->实例资料->V->"));
        QCOMPARE(driver.texts(), QStringList({Material::AddedText, Material::AddedText}));
        QCOMPARE(fixture.captions(), QStringList({QStringLiteral("first"), QStringLiteral("second")}));
        QCOMPARE(
            fixture.folder.value(QStringLiteral("select count(*) from exefile where classname=''")).toInt(),
            2);
    }

    void deleteRefusals_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::newRow("search results")
            << QStringLiteral("搜索结果") << 0 << QStringLiteral("搜索结果中不能删除");
        QTest::newRow("nothing selected") << QStringLiteral("A") << -1 << QStringLiteral("请先选中一个资料");
        QTest::newRow("a category") << QStringLiteral("A") << 0
                                    << QStringLiteral(
                                           "你选择的是一个分类，要删除分类请在左边的树结构上操作！");
    }
    void deleteRefusals()
    {
        QFETCH(QString, node);
        QFETCH(int, row);
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("t"), QStringLiteral("A"));
        fixture.list()->searchResults()->setEntries({{QStringLiteral("t"), 4, 1}});
        fixture.click(node);
        if (row >= 0)
            fixture.selectRow(row);
        ModalDriver driver;
        fixture.window->materialCommands()->deleteSelectedMaterial();
        QFETCH(QString, text);
        QCOMPARE(driver.texts(), QStringList{text});
    }

    void modifyRefusals()
    {
        MainWindowFixture fixture(Tree);
        fixture.click(QStringLiteral("A"));
        ModalDriver driver;
        fixture.window->materialCommands()->modifySelectedMaterial();
        fixture.selectRow(0);
        fixture.window->materialCommands()->modifySelectedMaterial();
        QCOMPARE(driver.texts(),
                 QStringList({QStringLiteral("请先选中一个资料"),
                              QStringLiteral("你选择的是一个分类，要修改分类名请在左边的树结构上操作！")}));
        QVERIFY(driver.otherWindows.isEmpty());
    }

    void deleteAsksFirst()
    {
        MainWindowFixture fixture(Tree);
        const qint64 id = fixture.addText(QStringLiteral("doomed"), QStringLiteral("R&D"));
        fixture.addInstance(QStringLiteral("same id, other table"), QStringLiteral("T"));
        fixture.click(QStringLiteral("R&D"));
        fixture.selectRow(0);
        fixture.window->setStatusText(QStringLiteral("marker"));
        ModalDriver driver;
        driver.answerNextBox(QMessageBox::No);
        fixture.window->materialCommands()->deleteSelectedMaterial();
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes.first().text, QStringLiteral("将删除该资料，是否继续？"));
        QCOMPARE(driver.boxes.first().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(fixture.statusLine()->text(), QStringLiteral("marker")); // no rebuild
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("doomed")});

        // The tree's selection moved to an instance category without a refresh: the entry's own
        // kind still decides the table.
        CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("T")));
        driver.answerNextBox(QMessageBox::Yes);
        fixture.window->materialCommands()->deleteSelectedMaterial();
        QCOMPARE(
            fixture.folder.value(QStringLiteral("select count(*) from textfile where id=%1").arg(id)).toInt(),
            0);
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from exefile")).toInt(), 1);
        QCOMPARE(fixture.statusLine()->text(), QStringLiteral("数据库操作成功！"));
    }

    void modifyFromTheSearchResults()
    {
        MainWindowFixture fixture(Tree);
        const qint64 id =
            fixture.addText(QStringLiteral("it's old"), QStringLiteral("A"), QStringLiteral("B"),
                            QStringLiteral("2020-01-01"), QStringLiteral("body"));
        fixture.list()->searchResults()->setEntries({{QStringLiteral("it's old"), 4, id}});
        fixture.click(QStringLiteral("搜索结果"));
        fixture.selectRow(0);
        ModalDriver driver;
        QString caption;
        QString shownTitle;
        driver.queue([&](QWidget *modal) {
            auto *dialog = qobject_cast<MaterialDialog *>(modal);
            QVERIFY(dialog);
            caption = dialog->windowTitle();
            shownTitle = titleEdit(dialog)->text();
            titleEdit(dialog)->setText(QStringLiteral("new"));
            dialog->saveMaterial();
        });
        fixture.window->materialCommands()->modifySelectedMaterial();
        QCOMPARE(caption, QStringLiteral("修改资料在:->文字资料->A->B->it's old"));
        QCOMPARE(shownTitle, QStringLiteral("it's old"));
        QCOMPARE(fixture.folder.value(QStringLiteral("select title from textfile")).toString(),
                 QStringLiteral("new"));
        QCOMPARE(
            fixture.folder.value(QStringLiteral("select bigclassname||classname from textfile")).toString(),
            QStringLiteral("AB"));
        QCOMPARE(fixture.statusLine()->text(), Material::DoneText);
        QCOMPARE(fixture.captions(),
                 QStringList{QStringLiteral("it's old")}); // the store is the last search's
    }

    void cancelledModifyShowsTheLoadResult()
    {
        MainWindowFixture fixture(Tree);
        fixture.addInstance(QStringLiteral("x"), QStringLiteral("V"));
        fixture.click(QStringLiteral("V"));
        fixture.selectRow(0);
        ModalDriver driver;
        fixture.window->materialCommands()->modifySelectedMaterial();
        QCOMPARE(driver.otherWindows, QStringList{QStringLiteral("InstanceMaterialDialog")});
        QCOMPARE(fixture.statusLine()->text(), Material::DoneText);
    }

    void failedLoadOpensNoDialog()
    {
        MainWindowFixture fixture(Tree);
        fixture.list()->searchResults()->setEntries({{QStringLiteral("gone"), 4, 4711}});
        fixture.click(QStringLiteral("搜索结果"));
        fixture.selectRow(0);
        ModalDriver driver;
        fixture.window->materialCommands()->modifySelectedMaterial();
        QVERIFY(driver.otherWindows.isEmpty());
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY(driver.boxes.first().text.startsWith(Material::FailurePrefix));
        QVERIFY(fixture.statusLine()->text().startsWith(Material::FailurePrefix));
    }

    void moveMenuCandidates()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("t"), QStringLiteral("A"), QStringLiteral("B"));
        fixture.addInstance(QStringLiteral("i"), QStringLiteral("V"));
        fixture.click(QStringLiteral("B"));
        fixture.selectRow(0);
        openListMenu(*fixture.window);
        QMenu *menu = fixture.window->mover()->moveMenu();
        QVERIFY(menu);
        QCOMPARE(menu->title(), QStringLiteral("资料转移到"));
        QCOMPARE(moveTargets(menu), QStringList({QStringLiteral("A>B|C"), QStringLiteral("R&&D")}));
        QCOMPARE(actionNamed(menu, QStringLiteral("R&&D"))->data().toStringList(),
                 QStringList({QStringLiteral("R&D"), QString()}));
        openListMenu(*fixture.window);
        int moveMenus = 0;
        for (const QAction *action : listMenu(*fixture.window)->actions())
            moveMenus += action->text() == QStringLiteral("资料转移到");
        QCOMPARE(moveMenus, 1);

        fixture.click(QStringLiteral("V"));
        fixture.selectRow(0);
        openListMenu(*fixture.window);
        QCOMPARE(moveTargets(fixture.window->mover()->moveMenu()),
                 QStringList({QStringLiteral("T>U"), QStringLiteral("V")}));

        // On a category entry the menu opens without a move sub-menu.
        fixture.click(QStringLiteral("A"));
        fixture.selectRow(0);
        openListMenu(*fixture.window);
        QVERIFY(!fixture.window->mover()->moveMenu());
    }

    void categoriesNamedLikeRootsKeepTheirKind()
    {
        // A tree file from before such names were refused.
        MainWindowFixture fixture({QStringLiteral("文字资料0"), QStringLiteral("+实例资料1"),
                                   QStringLiteral("+搜索结果1"), QStringLiteral("实例资料0"),
                                   QStringLiteral("+V1"), QStringLiteral("搜索结果0")});
        fixture.addText(QStringLiteral("filed"), QStringLiteral("搜索结果"));
        fixture.addInstance(QStringLiteral("tool"), QStringLiteral("V"));
        fixture.clickNode(fixture.tree()->topLevelItem(0)->child(1));
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("filed")});

        fixture.click(QStringLiteral("V"));
        fixture.selectRow(0);
        openListMenu(*fixture.window);
        QCOMPARE(moveTargets(fixture.window->mover()->moveMenu()), QStringList{QStringLiteral("V")});
    }

    void moving()
    {
        MainWindowFixture fixture(Tree);
        const qint64 id =
            fixture.addText(QStringLiteral("wanderer"), QStringLiteral("A"), QStringLiteral("B"));
        fixture.click(QStringLiteral("B"));
        fixture.selectRow(0);
        openListMenu(*fixture.window);
        actionNamed(fixture.window->mover()->moveMenu(), QStringLiteral("C"))->trigger();
        QCOMPARE(fixture.folder.rows(QStringLiteral("select bigclassname,classname from textfile")).value(0),
                 QVariantList({QStringLiteral("A"), QStringLiteral("C")}));
        QVERIFY(fixture.captions().isEmpty());

        fixture.list()->searchResults()->setEntries({{QStringLiteral("wanderer"), 4, id}});
        fixture.click(QStringLiteral("搜索结果"));
        fixture.selectRow(0);
        openListMenu(*fixture.window);
        actionNamed(fixture.window->mover()->moveMenu(), QStringLiteral("R&&D"))->trigger();
        QCOMPARE(fixture.folder.rows(QStringLiteral("select bigclassname,classname from textfile")).value(0),
                 QVariantList({QStringLiteral("R&D"), QString()}));
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("wanderer")});
        QCOMPARE(fixture.statusLine()->text(), QStringLiteral("数据库操作成功！"));
    }

    void moveExplanation()
    {
        MainWindowFixture fixture(Tree);
        ModalDriver driver;
        fixture.window->mover()->explainMoving();
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("要使用该功能，直接在选中的资料上单击右键。")});
    }
};

QTEST_MAIN(TestMaterialCommands)
#include "tst_materialcommands.moc"
