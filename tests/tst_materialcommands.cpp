#include "MainFormFixture.h"
#include "ModalDriver.h"

#include "edit/MaterialMover.h"
#include "edit/TAddFileExeFrm.h"
#include "edit/TAddFileForm.h"
#include "shell/TMainForm.h"
#include "store/ResultMessage.h"
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

void openListMenu(TMainForm &form)
{
    emit form.MainListPopupMenu->aboutToShow();
}
} // namespace

class TestMaterialCommands : public QObject
{
    Q_OBJECT
private slots:
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
        MainFormFixture fixture(Tree);
        if (!node.isEmpty())
            CategoryTree::selectNode(fixture.form->MainTreeView, fixture.node(node));
        ModalDriver driver;
        fromList ? fixture.form->N14Click() : fixture.form->AddFileToItem();
        QCOMPARE(driver.boxes.size(), 1);
        QTEST(driver.boxes.first().text, "text");
        QTEST(int(driver.boxes.first().icon), "icon");
        QCOMPARE(driver.boxes.first().caption, QStringLiteral("Zindrel"));
        QVERIFY(driver.otherWindows.isEmpty());
    }

    void addThroughTheDialog()
    {
        MainFormFixture fixture(Tree);
        fixture.click(QStringLiteral("V"));
        ModalDriver driver;
        QString caption;
        driver.queue([&caption](QWidget *modal) {
            auto *dialog = qobject_cast<TAddFileExeFrm *>(modal);
            QVERIFY(dialog);
            caption = dialog->windowTitle();
            dialog->title->setText(QStringLiteral("first"));
            dialog->PathEdit->setText(QStringLiteral("/bin/ls"));
            dialog->AddBtnClick();
        });
        // The save's message, then the dialog again (still open in add mode): file a second one.
        driver.queue([&driver](QWidget *modal) {
            driver.boxes.append(ModalDriver::describe(qobject_cast<QMessageBox *>(modal)));
            qobject_cast<QMessageBox *>(modal)->accept();
        });
        driver.queue([](QWidget *modal) {
            auto *dialog = qobject_cast<TAddFileExeFrm *>(modal);
            QVERIFY(dialog);
            dialog->title->setText(QStringLiteral("second"));
            dialog->PathEdit->setText(QStringLiteral("/bin/cat"));
            dialog->AddBtnClick();
        });
        driver.queue([&driver](QWidget *modal) {
            driver.boxes.append(ModalDriver::describe(qobject_cast<QMessageBox *>(modal)));
            qobject_cast<QMessageBox *>(modal)->accept();
        });
        driver.queue([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
        fixture.form->N14Click();
        QCOMPARE(caption, QStringLiteral("添加资料在:->实例资料->V->"));
        QCOMPARE(driver.texts(), QStringList({ResultText::Added, ResultText::Added}));
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
        MainFormFixture fixture(Tree);
        fixture.addText(QStringLiteral("t"), QStringLiteral("A"));
        fixture.form->StoreItemView->setEntries({{QStringLiteral("t"), 4, 1}});
        fixture.click(node);
        if (row >= 0)
            fixture.selectRow(row);
        ModalDriver driver;
        fixture.form->DelFile();
        QFETCH(QString, text);
        QCOMPARE(driver.texts(), QStringList{text});
    }

    void modifyRefusals()
    {
        MainFormFixture fixture(Tree);
        fixture.click(QStringLiteral("A"));
        ModalDriver driver;
        fixture.form->ReFile();
        fixture.selectRow(0);
        fixture.form->ReFile();
        QCOMPARE(driver.texts(),
                 QStringList({QStringLiteral("请先选中一个资料"),
                              QStringLiteral("你选择的是一个分类，要修改分类名请在左边的树结构上操作！")}));
        QVERIFY(driver.otherWindows.isEmpty());
    }

    void deleteAsksFirst()
    {
        MainFormFixture fixture(Tree);
        const qint64 id = fixture.addText(QStringLiteral("doomed"), QStringLiteral("R&D"));
        fixture.addInstance(QStringLiteral("same id, other table"), QStringLiteral("T"));
        fixture.click(QStringLiteral("R&D"));
        fixture.selectRow(0);
        fixture.form->setStatusText(QStringLiteral("marker"));
        ModalDriver driver;
        driver.answerNextBox(QMessageBox::No);
        fixture.form->DelFile();
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes.first().text, QStringLiteral("将删除该资料，是否继续？"));
        QCOMPARE(driver.boxes.first().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(fixture.form->MainStatus->text(), QStringLiteral("marker")); // no rebuild
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("doomed")});

        // The tree's selection moved to an instance category without a refresh: the entry's own
        // kind still decides the table.
        CategoryTree::selectNode(fixture.form->MainTreeView, fixture.node(QStringLiteral("T")));
        driver.answerNextBox(QMessageBox::Yes);
        fixture.form->DelFile();
        QCOMPARE(
            fixture.folder.value(QStringLiteral("select count(*) from textfile where id=%1").arg(id)).toInt(),
            0);
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from exefile")).toInt(), 1);
        QCOMPARE(fixture.form->MainStatus->text(), QStringLiteral("数据库操作成功！"));
    }

    void modifyFromTheSearchResults()
    {
        MainFormFixture fixture(Tree);
        const qint64 id =
            fixture.addText(QStringLiteral("it's old"), QStringLiteral("A"), QStringLiteral("B"),
                            QStringLiteral("2020-01-01"), QStringLiteral("body"));
        fixture.form->StoreItemView->setEntries({{QStringLiteral("it's old"), 4, id}});
        fixture.click(QStringLiteral("搜索结果"));
        fixture.selectRow(0);
        ModalDriver driver;
        QString caption;
        QString shownTitle;
        driver.queue([&](QWidget *modal) {
            auto *dialog = qobject_cast<TAddFileForm *>(modal);
            QVERIFY(dialog);
            caption = dialog->windowTitle();
            shownTitle = dialog->title->text();
            dialog->title->setText(QStringLiteral("new"));
            dialog->AddBtnClick();
        });
        fixture.form->ReFile();
        QCOMPARE(caption, QStringLiteral("修改资料在:->文字资料->A->B->it's old"));
        QCOMPARE(shownTitle, QStringLiteral("it's old"));
        QCOMPARE(fixture.folder.value(QStringLiteral("select title from textfile")).toString(),
                 QStringLiteral("new"));
        QCOMPARE(
            fixture.folder.value(QStringLiteral("select bigclassname||classname from textfile")).toString(),
            QStringLiteral("AB"));
        QCOMPARE(fixture.form->MainStatus->text(), ResultText::Done);
        QCOMPARE(fixture.captions(),
                 QStringList{QStringLiteral("it's old")}); // the store is the last search's
    }

    void cancelledModifyShowsTheLoadResult()
    {
        MainFormFixture fixture(Tree);
        fixture.addInstance(QStringLiteral("x"), QStringLiteral("V"));
        fixture.click(QStringLiteral("V"));
        fixture.selectRow(0);
        ModalDriver driver;
        fixture.form->ReFile();
        QCOMPARE(driver.otherWindows, QStringList{QStringLiteral("TAddFileExeFrm")});
        QCOMPARE(fixture.form->MainStatus->text(), ResultText::Done);
    }

    void failedLoadOpensNoDialog()
    {
        MainFormFixture fixture(Tree);
        fixture.form->StoreItemView->setEntries({{QStringLiteral("gone"), 4, 4711}});
        fixture.click(QStringLiteral("搜索结果"));
        fixture.selectRow(0);
        ModalDriver driver;
        fixture.form->ReFile();
        QVERIFY(driver.otherWindows.isEmpty());
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY(driver.boxes.first().text.startsWith(ResultText::FailurePrefix));
        QVERIFY(fixture.form->MainStatus->text().startsWith(ResultText::FailurePrefix));
    }

    void moveMenuCandidates()
    {
        MainFormFixture fixture(Tree);
        fixture.addText(QStringLiteral("t"), QStringLiteral("A"), QStringLiteral("B"));
        fixture.addInstance(QStringLiteral("i"), QStringLiteral("V"));
        fixture.click(QStringLiteral("B"));
        fixture.selectRow(0);
        openListMenu(*fixture.form);
        QMenu *menu = fixture.form->mover()->moveMenu();
        QVERIFY(menu);
        QCOMPARE(menu->title(), QStringLiteral("资料转移到"));
        QCOMPARE(moveTargets(menu), QStringList({QStringLiteral("A>B|C"), QStringLiteral("R&&D")}));
        QCOMPARE(actionNamed(menu, QStringLiteral("R&&D"))->data().toStringList(),
                 QStringList({QStringLiteral("R&D"), QString()}));
        openListMenu(*fixture.form);
        int moveMenus = 0;
        for (const QAction *action : fixture.form->MainListPopupMenu->actions())
            moveMenus += action->text() == QStringLiteral("资料转移到");
        QCOMPARE(moveMenus, 1);

        fixture.click(QStringLiteral("V"));
        fixture.selectRow(0);
        openListMenu(*fixture.form);
        QCOMPARE(moveTargets(fixture.form->mover()->moveMenu()),
                 QStringList({QStringLiteral("T>U"), QStringLiteral("V")}));

        // On a category entry the menu opens without a move sub-menu.
        fixture.click(QStringLiteral("A"));
        fixture.selectRow(0);
        openListMenu(*fixture.form);
        QVERIFY(!fixture.form->mover()->moveMenu());
    }

    void moving()
    {
        MainFormFixture fixture(Tree);
        const qint64 id =
            fixture.addText(QStringLiteral("wanderer"), QStringLiteral("A"), QStringLiteral("B"));
        fixture.click(QStringLiteral("B"));
        fixture.selectRow(0);
        openListMenu(*fixture.form);
        actionNamed(fixture.form->mover()->moveMenu(), QStringLiteral("C"))->trigger();
        QCOMPARE(fixture.folder.rows(QStringLiteral("select bigclassname,classname from textfile")).value(0),
                 QVariantList({QStringLiteral("A"), QStringLiteral("C")}));
        QVERIFY(fixture.captions().isEmpty());

        fixture.form->StoreItemView->setEntries({{QStringLiteral("wanderer"), 4, id}});
        fixture.click(QStringLiteral("搜索结果"));
        fixture.selectRow(0);
        openListMenu(*fixture.form);
        actionNamed(fixture.form->mover()->moveMenu(), QStringLiteral("R&&D"))->trigger();
        QCOMPARE(fixture.folder.rows(QStringLiteral("select bigclassname,classname from textfile")).value(0),
                 QVariantList({QStringLiteral("R&D"), QString()}));
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("wanderer")});
        QCOMPARE(fixture.form->MainStatus->text(), QStringLiteral("数据库操作成功！"));
    }

    void moveExplanation()
    {
        MainFormFixture fixture(Tree);
        ModalDriver driver;
        fixture.form->N31Click();
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("要使用该功能，直接在选中的资料上单击右键。")});
    }
};

QTEST_MAIN(TestMaterialCommands)
#include "tst_materialcommands.moc"
