#include "MainFormFixture.h"
#include "ModalDriver.h"
#include "TestFolder.h"

#include "base/AnsiText.h"
#include "shell/MainWindowTray.h"
#include "shell/TMainForm.h"
#include "tree/CategoryTree.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
// Captions of a menu's entries, "-" for a separator, sub-menus as "caption>entry|entry".
QStringList captionsOf(const QMenu *menu)
{
    QStringList captions;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            captions.append(QStringLiteral("-"));
        else if (action->menu())
            captions.append(action->text() + QLatin1Char('>') +
                            captionsOf(action->menu()).join(QLatin1Char('|')));
        else
            captions.append(action->text());
    }
    return captions;
}

QMenu *menuTitled(const TMainForm &form, const QString &title)
{
    for (QAction *action : form.menuBar()->actions()) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void menuBar_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("file") << QStringLiteral("文件&F")
                              << QStringList{QStringLiteral("添加新的子分类"),
                                             QStringLiteral("修改分类名"),
                                             QStringLiteral("删除当前选定的分类"),
                                             QStringLiteral("-"),
                                             QStringLiteral("在当前分类添加新的资料"),
                                             QStringLiteral("-"),
                                             QStringLiteral("退出")};
        QTest::newRow("edit") << QStringLiteral("编辑&E")
                              << QStringList{QStringLiteral("删除选定的资料"),
                                             QStringLiteral("修改选定的资料"), QStringLiteral("-"),
                                             QStringLiteral("资料转移功能")};
        QTest::newRow("view") << QStringLiteral("查看&V")
                              << QStringList{
                                     QStringLiteral("大图标"), QStringLiteral("小图标"),
                                     QStringLiteral("列表"),   QStringLiteral("资料排序>按名称|按加入时间"),
                                     QStringLiteral("-"),      QStringLiteral("搜索"),
                                     QStringLiteral("-"),      QStringLiteral("选项")};
        QTest::newRow("help") << QStringLiteral("帮助&H")
                              << QStringList{QStringLiteral("主题"), QStringLiteral("-"),
                                             QStringLiteral("来信"), QStringLiteral("访问网站"),
                                             QStringLiteral("-"),    QStringLiteral("关于")};
    }
    void menuBar()
    {
        QFETCH(QString, title);
        QFETCH(QStringList, entries);
        MainFormFixture fixture;
        const QMenu *menu = menuTitled(*fixture.form, title);
        QVERIFY(menu);
        QCOMPARE(captionsOf(menu), entries);
    }

    void menuBarOrderAndImages()
    {
        MainFormFixture fixture;
        QStringList titles;
        for (const QAction *action : fixture.form->menuBar()->actions())
            titles.append(action->text());
        QCOMPARE(titles, QStringList({QStringLiteral("文件&F"), QStringLiteral("编辑&E"),
                                      QStringLiteral("查看&V"), QStringLiteral("帮助&H")}));
        for (const QAction *action : menuTitled(*fixture.form, QStringLiteral("文件&F"))->actions())
            QVERIFY(action->isSeparator() || !action->icon().isNull());
    }

    void toolButtons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("image");
        QTest::newRow("back") << QStringLiteral("BackTBtn") << QStringLiteral("后退") << 17;
        QTest::newRow("forward") << QStringLiteral("PreTBtn") << QStringLiteral("前进") << 18;
        QTest::newRow("up") << QStringLiteral("UpTBtn") << QStringLiteral("向上") << 19;
        QTest::newRow("1") << QStringLiteral("ToolButton1") << QStringLiteral("在当前分类添加新的子分类")
                           << 0;
        QTest::newRow("2") << QStringLiteral("ToolButton2") << QStringLiteral("修改分类名") << 1;
        QTest::newRow("3") << QStringLiteral("ToolButton3") << QStringLiteral("删除子分类") << 2;
        QTest::newRow("4") << QStringLiteral("ToolButton4") << QStringLiteral("在当前分类添加新的资料") << 3;
        QTest::newRow("6") << QStringLiteral("ToolButton6") << QStringLiteral("删除选定资料") << 5;
        QTest::newRow("7") << QStringLiteral("ToolButton7") << QStringLiteral("修改选定的资料") << 6;
        QTest::newRow("9") << QStringLiteral("ToolButton9") << QStringLiteral("搜索") << 10;
        QTest::newRow("10") << QStringLiteral("ToolButton10") << QStringLiteral("选项") << 7;
        QTest::newRow("13") << QStringLiteral("ToolButton13") << QStringLiteral("帮助") << 11;
        QTest::newRow("12") << QStringLiteral("ToolButton12") << QStringLiteral("退出") << 4;
    }
    void toolButtons()
    {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        QFETCH(int, image);
        MainFormFixture fixture;
        auto *button = fixture.form->findChild<QToolButton *>(name);
        QVERIFY(button);
        QCOMPARE(button->toolTip(), hint);
        QCOMPARE(fixture.form->buttonImage(button), image);
        QVERIFY(!button->icon().isNull());
    }

    void toolButtonsInOrder()
    {
        MainFormFixture fixture;
        QStringList names;
        for (QToolButton *button :
             fixture.form->MainToolBar->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly)) {
            if (!button->objectName().isEmpty() &&
                button->objectName() != QLatin1String("qt_toolbar_ext_button"))
                names.append(button->objectName());
        }
        QCOMPARE(names,
                 QStringList({QStringLiteral("BackTBtn"), QStringLiteral("PreTBtn"), QStringLiteral("UpTBtn"),
                              QStringLiteral("ToolButton1"), QStringLiteral("ToolButton2"),
                              QStringLiteral("ToolButton3"), QStringLiteral("ToolButton4"),
                              QStringLiteral("ToolButton6"), QStringLiteral("ToolButton7"),
                              QStringLiteral("ToolButton9"), QStringLiteral("ToolButton10"),
                              QStringLiteral("ToolButton13"), QStringLiteral("ToolButton12")}));
        QCOMPARE(fixture.form->BackTBtn->text(), QStringLiteral("后退"));
        QVERIFY(fixture.form->BackTBtn->menu());
        QVERIFY(fixture.form->PreTBtn->menu());
    }

    void popupMenus()
    {
        MainFormFixture fixture;
        QCOMPARE(captionsOf(fixture.form->MainTreePopupMenu),
                 QStringList({QStringLiteral("在当前分类添加新的子分类"), QStringLiteral("修改分类名"),
                              QStringLiteral("-"), QStringLiteral("删除当前选定的分类"), QStringLiteral("-"),
                              QStringLiteral("在当前分类添加新的资料")}));
        const QStringList list = captionsOf(fixture.form->MainListPopupMenu);
        QCOMPARE(list.mid(0, 6), QStringList({QStringLiteral("添加新的资料"), QStringLiteral("删除资料"),
                                              QStringLiteral("修改资料"), QStringLiteral("-"),
                                              QStringLiteral("查看>大图标|小图标|列表"),
                                              QStringLiteral("资料排序>按名称|按加入时间")}));
        QCOMPARE(captionsOf(fixture.form->TrayPopMenu),
                 QStringList({QStringLiteral("显示主窗口"), QStringLiteral("显示悬浮窗口"),
                              QStringLiteral("-"), QStringLiteral("关于"), QStringLiteral("退出")}));
        QVERIFY(fixture.form->N121->isCheckable() && fixture.form->N341->isCheckable());
    }

    void creationState()
    {
        MainFormFixture fixture;
        TMainForm &form = *fixture.form;
        QVERIFY(form.isCreated());
        QCOMPARE(form.windowTitle(), QStringLiteral("Zindrel"));
        QCOMPARE(form.objectName(), QStringLiteral("TMainForm"));
        QVERIFY(form.N121->isChecked());
        QCOMPARE(fixture.captions(), QStringList({QStringLiteral("文字资料"), QStringLiteral("实例资料")}));
        QCOMPARE(fixture.images(), QList<int>({3, 3}));
        QVERIFY(!form.selectedNode());
        QCOMPARE(form.MainTreeView->topLevelItem(0)->text(0), QStringLiteral("文字资料"));
        QCOMPARE(form.MainDetail->headerItem()->text(0), QStringLiteral("名称"));
        QCOMPARE(form.MainDetail->headerItem()->text(1), QStringLiteral("值"));
        QCOMPARE(form.MainProgressBar->maximum(), 100);
        QTRY_VERIFY(form.N341->isChecked()); // the floating window's message arrives once the loop runs
    }

    void resizeRule()
    {
        MainFormFixture fixture;
        fixture.form->show();
        fixture.form->panel->resize(500, 401);
        QCOMPARE(fixture.form->MainList->height(), 100);
        QCOMPARE(fixture.form->MainDetail->geometry().top(), 100);
        QCOMPARE(fixture.form->MainDetail->height(), 301);
        // Nothing selected: a resize runs no query.
        fixture.form->resize(800, 640);
        QVERIFY(fixture.form->MainStatus->text().isEmpty());
    }

    void expandAndCollapseSwitchPictures()
    {
        MainFormFixture fixture;
        QTreeWidgetItem *root = fixture.form->MainTreeView->topLevelItem(0);
        root->setExpanded(true);
        QCOMPARE(CategoryTree::image(root), 3);
        QCOMPARE(CategoryTree::selectedImage(root), 3);
        QCOMPARE(fixture.form->selectedNode(), root);
        QTreeWidgetItem *first = root->child(0);
        first->setExpanded(true);
        QCOMPARE(CategoryTree::image(first), 4);
        first->setExpanded(false);
        QCOMPARE(CategoryTree::image(first), 1);
        QCOMPARE(fixture.form->selectedNode(), first);
        QCOMPARE(fixture.captions(), QStringList({QStringLiteral("文字资料"), QStringLiteral("实例资料")}));
    }

    void closeWritesTheTreeFile()
    {
        MainFormFixture fixture({QStringLiteral("文字资料0"), QStringLiteral("+A1"),
                                 QStringLiteral("实例资料0"), QStringLiteral("搜索结果0")});
        fixture.form->MainTreeView->topLevelItem(0)->setExpanded(true);
        fixture.form->close();
        QCOMPARE(fixture.folder.readBytes(QStringLiteral("MTS.qb")),
                 AnsiText::encode(QStringLiteral("文字资料3\r\n+A1\r\n实例资料0\r\n搜索结果0\r\n")));
        // Once closing, a resize refreshes nothing.
        fixture.clickNode(fixture.form->MainTreeView->topLevelItem(0));
        fixture.form->setStatusText(QString());
        fixture.form->resize(640, 480);
        QVERIFY(fixture.form->MainStatus->text().isEmpty());
    }

    void quitWritesTheTreeFileOfAHiddenWindow()
    {
        MainFormFixture fixture({QStringLiteral("文字资料0"), QStringLiteral("搜索结果0")});
        fixture.form->hide();
        fixture.form->MainTreeView->topLevelItem(0)->setText(0, QStringLiteral("文字资料"));
        fixture.folder.remove(QStringLiteral("MTS.qb"));
        fixture.form->QuitProgram();
        QCOMPARE(fixture.folder.readBytes(QStringLiteral("MTS.qb")),
                 AnsiText::encode(QStringLiteral("文字资料0\r\n搜索结果0\r\n")));
    }

    void brokenTreeFileEndsCreation_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << false;
        QTest::newRow("empty") << true;
    }
    void brokenTreeFileEndsCreation()
    {
        QFETCH(bool, exists);
        TestFolder folder;
        folder.remove(QStringLiteral("MTS.qb"));
        if (exists)
            folder.writeBytes(QStringLiteral("MTS.qb"), QByteArray());
        ModalDriver driver;
        TMainForm form;
        QVERIFY(!form.isCreated());
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes.first().text, QStringLiteral("文件MTS.qb已经被损坏，请重新安装！"));
        QCOMPARE(driver.boxes.first().caption, QStringLiteral("Zindrel"));
        QCOMPARE(driver.boxes.first().icon, QMessageBox::Critical);
        // The tree file is not written on this path.
        QCOMPARE(QFile::exists(folder.filePath(QStringLiteral("MTS.qb"))), exists);
        QCOMPARE(folder.readBytes(QStringLiteral("MTS.qb")), QByteArray());
    }

    void secondStartShowsAHiddenWindow()
    {
        MainFormFixture fixture;
        TMainForm &form = *fixture.form;
        form.show();
        form.TrayIconData->hideWindow();
        QVERIFY(!form.isVisible());
        QVERIFY(!form.N121->isChecked());
        form.activateFromSecondCopy();
        QTRY_VERIFY(form.isVisible());
        QVERIFY(form.N121->isChecked());
        // Shown and not minimised: only brought forward.
        form.activateFromSecondCopy();
        QCoreApplication::processEvents();
        QVERIFY(form.isVisible() && form.N121->isChecked());
    }

    void settingsApplyAtCreation()
    {
        TestFolder folder;
        QStringList lines;
        AnsiText::readLineFile(folder.filePath(QStringLiteral("QB.ini")), &lines);
        lines[1] = QStringLiteral("ICON=2");
        lines[2] = QStringLiteral("ORDER=1");
        lines[3] = QStringLiteral("VIEWSTYLE=1");
        lines[4] = QStringLiteral("VIEWSTYLEDE=1");
        lines[5] = QStringLiteral("VFRMBC=255");
        lines[13] = QStringLiteral("TrayWay=1");
        folder.writeLines(QStringLiteral("QB.ini"), lines);
        TMainForm form;
        QCOMPARE(form.listViewStyle(), 2);
        QCOMPARE(form.MainList->viewMode(), QListView::ListMode);
        QCOMPARE(form.MainList->flow(), QListView::TopToBottom);
        QCOMPARE(form.ListOrder, 2);
        QCOMPARE(form.BrowseInNewWindow, 1);
        QCOMPARE(form.WindowPerMaterial, 1);
        QCOMPARE(form.ViewerBackColor, 255);
        QCOMPARE(form.TrayMode, 2);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
