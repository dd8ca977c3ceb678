#include "InputAnswers.h"
#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "TestServer.h"

#include "base/AnsiText.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "store/Material.h"
#include "tree/CategoryCommands.h"
#include "tree/CategoryNames.h"
#include "tree/CategoryTree.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QStringList Tree{QStringLiteral("文字资料0"), QStringLiteral("+A1"),     QStringLiteral("++C2"),
                       QStringLiteral("++E2"),      QStringLiteral("+Z1"),     QStringLiteral("实例资料0"),
                       QStringLiteral("+A1"),       QStringLiteral("+Tools1"), QStringLiteral("+Tools1"),
                       QStringLiteral("搜索结果0")};

QStringList savedLines(const TestFolder &folder)
{
    return AnsiText::splitLines(AnsiText::decode(folder.treeBytes()));
}

QTreeWidgetItem *childNode(QTreeWidgetItem *parent, const QString &name)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == name)
            return parent->child(i);
    }
    return nullptr;
}

QTreeWidgetItem *instanceRoot(const MainWindowFixture &fixture)
{
    return CategoryTree::findRoot(fixture.tree(), QStringLiteral("实例资料"));
}
} // namespace

class TestCategoryCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SKIP_WITHOUT_TEST_SERVER(); }

    void refusals_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        const QString none = QStringLiteral("你还没有在左边的分类树中选择一个分类！");
        QTest::newRow("add, nothing selected")
            << QString() << 0 << none << QStringLiteral("Zindrel") << int(QMessageBox::NoIcon);
        QTest::newRow("rename, nothing selected")
            << QString() << 1 << none << QStringLiteral("Zindrel") << int(QMessageBox::NoIcon);
        QTest::newRow("delete, nothing selected")
            << QString() << 2 << none << QStringLiteral("Zindrel") << int(QMessageBox::NoIcon);
        QTest::newRow("add under the search results")
            << QStringLiteral("搜索结果") << 0 << QStringLiteral("不能在这里建立新的子分类！")
            << QStringLiteral("Zindrel") << int(QMessageBox::NoIcon);
        QTest::newRow("rename the search results")
            << QStringLiteral("搜索结果") << 1 << QStringLiteral("这是软件定义的根目录，你不能修改！")
            << QStringLiteral("Zindrel") << int(QMessageBox::Warning);
        QTest::newRow("delete the search results")
            << QStringLiteral("搜索结果") << 2 << QStringLiteral("这是本软件定义的根目录，不能删除")
            << QStringLiteral("Zindrel") << int(QMessageBox::Warning);
        QTest::newRow("rename a root")
            << QStringLiteral("文字资料") << 1 << QStringLiteral("这是软件定义的根目录，你不能修改！")
            << QStringLiteral("Zindrel") << int(QMessageBox::Warning);
        QTest::newRow("delete a root")
            << QStringLiteral("实例资料") << 2 << QStringLiteral("这是本软件定义的根目录，不能删除")
            << QStringLiteral("Zindrel") << int(QMessageBox::Warning);
        QTest::newRow("add under a second level")
            << QStringLiteral("C") << 0
            << QStringLiteral("你已经到了分类的最低层，你不能在这个分类下再添加新的子分类了")
            << QStringLiteral("提示信息") << int(QMessageBox::Warning);
    }
    void refusals()
    {
        QFETCH(QString, node);
        QFETCH(int, command);
        MainWindowFixture fixture(Tree);
        if (!node.isEmpty())
            CategoryTree::selectNode(fixture.tree(), fixture.node(node));
        const QByteArray before = fixture.folder.treeBytes();
        ModalDriver driver;
        const std::array<void (CategoryCommands::*)(), 3> commands{&CategoryCommands::addCategory,
                                                                   &CategoryCommands::renameCategory,
                                                                   &CategoryCommands::deleteCategory};
        (fixture.window->categoryCommands()->*commands.at(command))();
        QCOMPARE(driver.boxes.size(), 1);
        QTEST(driver.boxes.first().text, "text");
        QTEST(driver.boxes.first().caption, "caption");
        QTEST(int(driver.boxes.first().icon), "icon");
        QVERIFY(driver.otherWindows.isEmpty());
        QCOMPARE(fixture.folder.treeBytes(), before);
    }

    void addFirstAndSecondLevel()
    {
        MainWindowFixture fixture(Tree);
        ModalDriver driver;
        QList<InputRecord> inputs;
        CategoryTree::selectNode(fixture.tree(), instanceRoot(fixture));
        driver.queue(answerInput(&inputs, QStringLiteral("Net")));
        fixture.window->categoryCommands()->addCategory();
        QCOMPARE(inputs.size(), 1);
        QCOMPARE(inputs.first().caption, QStringLiteral("请输入分类名"));
        QCOMPARE(inputs.first().prompt, QStringLiteral("请输入分类名：在\"实例资料\"里的子类"));
        QCOMPARE(inputs.first().initial, QString());
        QTreeWidgetItem *net = childNode(instanceRoot(fixture), QStringLiteral("Net"));
        QVERIFY(net);
        QCOMPARE(CategoryTree::image(net), 1);
        QCOMPARE(CategoryTree::selectedImage(net), 4);
        QVERIFY(!instanceRoot(fixture)->isExpanded());
        QCOMPARE(CategoryTree::selectedNode(fixture.tree()), instanceRoot(fixture));
        // Saved at once, not only at close.
        QVERIFY(savedLines(fixture.folder).contains(QStringLiteral("+Net1")));

        CategoryTree::selectNode(fixture.tree(), net);
        driver.queue(answerInput(&inputs, QStringLiteral("C-Sharp")));
        fixture.window->categoryCommands()->addCategory();
        QTreeWidgetItem *sharp = childNode(net, QStringLiteral("C-Sharp"));
        QVERIFY(sharp);
        QCOMPARE(CategoryTree::image(sharp), 2);
        QCOMPARE(CategoryTree::selectedImage(sharp), 2);
        const QStringList lines = savedLines(fixture.folder);
        QCOMPARE(lines.at(lines.indexOf(QStringLiteral("+Net1")) + 1), QStringLiteral("++C-Sharp2"));
        QVERIFY(fixture.captions() == QStringList({QStringLiteral("文字资料"), QStringLiteral("实例资料")}));
    }

    void changesThatCannotBeSavedAreUndone_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("add") << 0;
        QTest::newRow("rename") << 1;
        QTest::newRow("delete") << 2;
    }
    void changesThatCannotBeSavedAreUndone()
    {
        SKIP_ON_TEST_SERVER();
        QFETCH(int, command);
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("kept"), QStringLiteral("A"), QStringLiteral("C"));
        // A folder where the tree file was: no save can replace it.
        QVERIFY(QFile::remove(fixture.folder.filePath(QStringLiteral("MTS.qb"))));
        QVERIFY(QDir(fixture.folder.path()).mkdir(QStringLiteral("MTS.qb")));
        ModalDriver driver(QMessageBox::Yes);
        QList<InputRecord> inputs;
        CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("C")));
        if (command < 2)
            driver.queue(answerInput(&inputs, QStringLiteral("New")));
        const std::array<void (CategoryCommands::*)(), 3> commands{&CategoryCommands::addCategory,
                                                                   &CategoryCommands::renameCategory,
                                                                   &CategoryCommands::deleteCategory};
        // Adding goes under A: C is on the lowest level.
        if (command == 0)
            CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("A")));
        const QVector<TreeNode> before = CategoryTree::collect(fixture.tree());
        (fixture.window->categoryCommands()->*commands.at(command))();
        QVERIFY(driver.texts().last().startsWith(QStringLiteral("无法保存分类文件MTS.qb：")));
        QCOMPARE(CategoryTree::collect(fixture.tree()), before);
        QCOMPARE(fixture.folder.value(QStringLiteral("select classname from textfile")).toString(),
                 QStringLiteral("C"));
    }

    void startGrowsBackCategoriesThatMaterialsName()
    {
        SKIP_ON_TEST_SERVER();
        TestFolder folder;
        folder.writeLines(QStringLiteral("MTS.qb"), Tree);
        QVERIFY(
            folder.exec(QStringLiteral("insert into textfile(title,bigclassname,classname) values"
                                       "('a','A','Lost'),('b','Gone',''),('c','Gone','Deep'),('d','','x')")));
        QVERIFY(folder.exec(
            QStringLiteral("insert into exefile(title,bigclassname) values('e','Tools'),('f','Net')")));
        MainWindow window;
        Database database;
        window.attachDatabase(&database);
        QCoreApplication::sendPostedEvents(); // the rest of the start
        QTreeWidget *tree = window.categoryTree();
        QCOMPARE(CategoryTree::childNames(tree->topLevelItem(0)),
                 QStringList({QStringLiteral("A"), QStringLiteral("Z"), QStringLiteral("Gone")}));
        QCOMPARE(CategoryTree::childNames(childNode(tree->topLevelItem(0), QStringLiteral("A"))),
                 QStringList({QStringLiteral("C"), QStringLiteral("E"), QStringLiteral("Lost")}));
        QCOMPARE(CategoryTree::childNames(childNode(tree->topLevelItem(0), QStringLiteral("Gone"))),
                 QStringList{QStringLiteral("Deep")});
        QCOMPARE(CategoryTree::childNames(tree->topLevelItem(1)).last(), QStringLiteral("Net"));
        QCOMPARE(childNamed<QLabel>(&window, "statusLine")->text(),
                 QStringLiteral("找回了4个分类：它们的资料在数据库里，分类文件里却没有"));
        QVERIFY(savedLines(folder).contains(QStringLiteral("++Deep2")));
    }

    void cancelChangesNothing()
    {
        MainWindowFixture fixture(Tree);
        const QByteArray before = fixture.folder.treeBytes();
        fixture.addText(QStringLiteral("t"), QStringLiteral("A"));
        ModalDriver driver;
        QList<InputRecord> inputs;
        CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("A")));
        driver.queue(answerInput(&inputs, QStringLiteral("X"), false));
        fixture.window->categoryCommands()->addCategory();
        driver.queue(answerInput(&inputs, QStringLiteral("X"), false));
        fixture.window->categoryCommands()->renameCategory();
        QCOMPARE(inputs.size(), 2);
        QCOMPARE(inputs.at(1).caption, QStringLiteral("请输入新的名字"));
        QCOMPARE(inputs.at(1).prompt, QStringLiteral("请输入新的名字："));
        QCOMPARE(inputs.at(1).initial, QStringLiteral("A"));
        driver.answerNextBox(QMessageBox::No);
        fixture.window->categoryCommands()->deleteCategory();
        QCOMPARE(fixture.node(QStringLiteral("A"))->childCount(), 2);
        QCOMPARE(fixture.folder.treeBytes(), before);
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from textfile where bigclassname='A'"))
                     .toInt(),
                 1);
    }

    void renameCascades()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("own"), QStringLiteral("A"));
        fixture.addText(QStringLiteral("in C"), QStringLiteral("A"), QStringLiteral("C"));
        fixture.addInstance(QStringLiteral("other kind"), QStringLiteral("A"));
        ModalDriver driver;
        QList<InputRecord> inputs;

        CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("C")));
        driver.queue(answerInput(&inputs, QStringLiteral("D")));
        fixture.window->categoryCommands()->renameCategory();
        QCOMPARE(fixture.folder.value(QStringLiteral("select classname from textfile where title='in C'"))
                     .toString(),
                 QStringLiteral("D"));

        CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("A")));
        driver.queue(answerInput(&inputs, QStringLiteral("it's B")));
        fixture.window->categoryCommands()->renameCategory();
        QCOMPARE(fixture.tree()->topLevelItem(0)->child(0)->text(0), QStringLiteral("it's B"));
        QCOMPARE(
            fixture.folder.value(QStringLiteral("select count(*) from textfile where bigclassname='it''s B'"))
                .toInt(),
            2);
        QCOMPARE(fixture.folder.value(QStringLiteral("select bigclassname from exefile")).toString(),
                 QStringLiteral("A"));
        QVERIFY(savedLines(fixture.folder).contains(QStringLiteral("+it's B4")) ||
                savedLines(fixture.folder).contains(QStringLiteral("+it's B1")));
        QCOMPARE(fixture.statusLine()->text(), QStringLiteral("数据库操作成功！"));
        QVERIFY(driver.boxes.isEmpty());
    }

    void refusedNamesAskAgain_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("blank") << QStringLiteral("   ");
        QTest::newRow("leading plus") << QStringLiteral("+X");
        QTest::newRow("line break") << QStringLiteral("a\nb");
        QTest::newRow("a sibling's name") << QStringLiteral("Z");
        QTest::newRow("the text root's name") << QStringLiteral("文字资料");
        QTest::newRow("the instance root's name") << QStringLiteral("实例资料");
        QTest::newRow("the search results' name") << QStringLiteral("搜索结果");
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b");
        QTest::newRow("tab") << QStringLiteral("a\tb");
    }
    void refusedNamesAskAgain()
    {
        QFETCH(QString, name);
        QVERIFY(!CategoryNames::refusal(name, {QStringLiteral("Z")}).isEmpty());
        MainWindowFixture fixture(Tree);
        const QByteArray before = fixture.folder.treeBytes();
        ModalDriver driver;
        QList<InputRecord> inputs;
        CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("A")));
        driver.queue(answerInput(&inputs, name));
        driver.answerNextBox(QMessageBox::Ok);
        driver.queue(answerInput(&inputs, name, false));
        fixture.window->categoryCommands()->renameCategory();
        QCOMPARE(inputs.size(), 2);
        QCOMPARE(inputs.at(1).initial, name); // asked again with what was typed
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes.first().icon, QMessageBox::Warning);
        QVERIFY(fixture.node(QStringLiteral("A")));
        QCOMPARE(fixture.folder.treeBytes(), before);
    }

    void acceptedNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("dash") << QStringLiteral("-");
        QTest::newRow("null") << QStringLiteral("null");
        QTest::newRow("apostrophe") << QStringLiteral("it's");
        QTest::newRow("sql") << QStringLiteral("x'); delete from textfile; --");
        QTest::newRow("unchanged") << QStringLiteral("A");
    }
    void acceptedNames()
    {
        QFETCH(QString, name);
        QVERIFY(CategoryNames::refusal(name, {QStringLiteral("Z")}).isEmpty());
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("kept"), QStringLiteral("A"));
        fixture.addText(QStringLiteral("elsewhere"), QStringLiteral("Z"));
        ModalDriver driver;
        QList<InputRecord> inputs;
        CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("A")));
        driver.queue(answerInput(&inputs, name));
        fixture.window->categoryCommands()->renameCategory();
        QCOMPARE(fixture.tree()->topLevelItem(0)->child(0)->text(0), name);
        fixture.click(name);
        QCOMPARE(CategoryTree::selectedNode(fixture.tree()), fixture.tree()->topLevelItem(0)->child(0));
        QVERIFY(fixture.captions().contains(QStringLiteral("kept")));
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from textfile")).toInt(), 2);
    }

    void deleteCascades()
    {
        MainWindowFixture fixture(Tree);
        fixture.addInstance(QStringLiteral("one"), QStringLiteral("Tools"));
        fixture.addInstance(QStringLiteral("two"), QStringLiteral("Tools"), QStringLiteral("sub"));
        fixture.addInstance(QStringLiteral("three"), QStringLiteral("A"));
        fixture.addText(QStringLiteral("text of the same name"), QStringLiteral("Tools"));
        ModalDriver driver(QMessageBox::Yes);
        CategoryTree::selectNode(fixture.tree(), childNode(instanceRoot(fixture), QStringLiteral("Tools")));
        fixture.window->categoryCommands()->deleteCategory();
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes.first().text,
                 QStringLiteral("删除分类“Tools”，将删除他的子分类及所有属于他的资料，要继续吗？"));
        QCOMPARE(driver.boxes.first().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(driver.boxes.first().icon, QMessageBox::NoIcon);
        // Every row of that first-level name in the instance table goes, the text table keeps its own.
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from exefile")).toInt(), 1);
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from textfile")).toInt(), 1);
        QCOMPARE(instanceRoot(fixture)->childCount(), 2);
        QCOMPARE(savedLines(fixture.folder).count(QStringLiteral("+Tools1")), 1);

        CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("A")));
        fixture.addText(QStringLiteral("in C"), QStringLiteral("A"), QStringLiteral("C"));
        fixture.window->categoryCommands()->deleteCategory();
        QVERIFY(!savedLines(fixture.folder).contains(QStringLiteral("++C2")));
        QVERIFY(!savedLines(fixture.folder).contains(QStringLiteral("+A1")) ||
                savedLines(fixture.folder).indexOf(QStringLiteral("+A1")) >
                    savedLines(fixture.folder).indexOf(QStringLiteral("实例资料0")));
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from textfile where bigclassname='A'"))
                     .toInt(),
                 0);
    }

    void failingStatementKeepsTheTree()
    {
        SKIP_ON_TEST_SERVER();
        MainWindowFixture fixture(Tree);
        const QByteArray before = fixture.folder.treeBytes();
        fixture.folder.remove(QStringLiteral("Data.QBD"));
        ModalDriver driver(QMessageBox::Yes);
        QList<InputRecord> inputs;
        CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("A")));
        driver.queue(answerInput(&inputs, QStringLiteral("B")));
        fixture.window->categoryCommands()->renameCategory();
        QVERIFY(fixture.node(QStringLiteral("A")));
        QVERIFY(fixture.statusLine()->text().endsWith(Material::FatalSuffix));
        fixture.window->categoryCommands()->deleteCategory();
        QVERIFY(fixture.node(QStringLiteral("A")));
        QCOMPARE(fixture.node(QStringLiteral("A"))->childCount(), 2);
        QCOMPARE(fixture.folder.treeBytes(), before);
    }
};

QTEST_MAIN(TestCategoryCommands)
#include "tst_categorycommands.moc"
