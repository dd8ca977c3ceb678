#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "TestFolder.h"

#include "base/AnsiText.h"
#include "browse/DetailPane.h"
#include "browse/MaterialList.h"
#include "capture/DropWindow.h"
#include "search/FullTextBox.h"
#include "shell/MainWindow.h"
#include "shell/MainWindowTray.h"
#include "tree/CategoryTree.h"
#include "widgets/ToolButtonImage.h"

#include <QAction>
#include <QDir>
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

QMenu *menuTitled(const MainWindow &window, const QString &title)
{
    for (QAction *action : window.menuBar()->actions()) {
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
                                             QStringLiteral("导出资料…"),
                                             QStringLiteral("导入资料…"),
                                             QStringLiteral("上传到共享资料库…"),
                                             QStringLiteral("-"),
                                             QStringLiteral("回收站…"),
                                             QStringLiteral("-"),
                                             QStringLiteral("退出")};
        QTest::newRow("edit") << QStringLiteral("编辑&E")
                              << QStringList{QStringLiteral("删除选定的资料"),
                                             QStringLiteral("修改选定的资料"), QStringLiteral("历史版本…"),
                                             QStringLiteral("-"), QStringLiteral("资料转移功能")};
        QTest::newRow("view") << QStringLiteral("查看&V")
                              << QStringList{
                                     QStringLiteral("大图标"), QStringLiteral("小图标"),
                                     QStringLiteral("列表"),   QStringLiteral("资料排序>按名称|按加入时间"),
                                     QStringLiteral("-"),      QStringLiteral("后退"),
                                     QStringLiteral("前进"),   QStringLiteral("向上"),
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
        MainWindowFixture fixture;
        const QMenu *menu = menuTitled(*fixture.window, title);
        QVERIFY(menu);
        QCOMPARE(captionsOf(menu), entries);
    }

    void menuBarOrderAndImages()
    {
        MainWindowFixture fixture;
        QStringList titles;
        for (const QAction *action : fixture.window->menuBar()->actions())
            titles.append(action->text());
        QCOMPARE(titles, QStringList({QStringLiteral("文件&F"), QStringLiteral("编辑&E"),
                                      QStringLiteral("查看&V"), QStringLiteral("帮助&H")}));
        for (const QAction *action : menuTitled(*fixture.window, QStringLiteral("文件&F"))->actions())
            QVERIFY(action->isSeparator() || !action->icon().isNull());
    }

    void toolButtons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("image");
        QTest::newRow("back") << QStringLiteral("backButton") << QStringLiteral("后退") << 17;
        QTest::newRow("forward") << QStringLiteral("forwardButton") << QStringLiteral("前进") << 18;
        QTest::newRow("up") << QStringLiteral("upButton") << QStringLiteral("向上") << 19;
        QTest::newRow("1") << QStringLiteral("addCategoryButton")
                           << QStringLiteral("在当前分类添加新的子分类") << 0;
        QTest::newRow("2") << QStringLiteral("renameCategoryButton") << QStringLiteral("修改分类名") << 1;
        QTest::newRow("3") << QStringLiteral("deleteCategoryButton") << QStringLiteral("删除子分类") << 2;
        QTest::newRow("4") << QStringLiteral("addMaterialButton") << QStringLiteral("在当前分类添加新的资料")
                           << 3;
        QTest::newRow("6") << QStringLiteral("deleteMaterialButton") << QStringLiteral("删除选定资料") << 5;
        QTest::newRow("7") << QStringLiteral("modifyMaterialButton") << QStringLiteral("修改选定的资料") << 6;
        QTest::newRow("9") << QStringLiteral("searchButton") << QStringLiteral("搜索") << 10;
        QTest::newRow("10") << QStringLiteral("optionsButton") << QStringLiteral("选项") << 7;
        QTest::newRow("13") << QStringLiteral("helpButton") << QStringLiteral("帮助") << 11;
        QTest::newRow("12") << QStringLiteral("quitButton") << QStringLiteral("退出") << 4;
    }
    void toolButtons()
    {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        QFETCH(int, image);
        MainWindowFixture fixture;
        auto *button = fixture.window->findChild<QToolButton *>(name);
        QVERIFY(button);
        QCOMPARE(button->toolTip(), hint);
        QCOMPARE(ToolButtonImage::of(button), image);
        QVERIFY(!button->icon().isNull());
    }

    void toolButtonsInOrder()
    {
        MainWindowFixture fixture;
        QStringList names;
        for (QToolButton *button : childNamed<QToolBar>(fixture.window.get(), "toolBar")
                                       ->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly)) {
            if (!button->objectName().isEmpty() &&
                button->objectName() != QLatin1String("qt_toolbar_ext_button"))
                names.append(button->objectName());
        }
        QCOMPARE(names,
                 QStringList({QStringLiteral("backButton"), QStringLiteral("forwardButton"),
                              QStringLiteral("upButton"), QStringLiteral("addCategoryButton"),
                              QStringLiteral("renameCategoryButton"), QStringLiteral("deleteCategoryButton"),
                              QStringLiteral("addMaterialButton"), QStringLiteral("deleteMaterialButton"),
                              QStringLiteral("modifyMaterialButton"), QStringLiteral("searchButton"),
                              QStringLiteral("optionsButton"), QStringLiteral("helpButton"),
                              QStringLiteral("quitButton")}));
        QCOMPARE(fixture.button("backButton")->text(), QStringLiteral("后退"));
        QVERIFY(fixture.button("backButton")->menu());
        QVERIFY(fixture.button("forwardButton")->menu());
    }

    void popupMenus()
    {
        MainWindowFixture fixture;
        QCOMPARE(captionsOf(childNamed<QMenu>(fixture.window.get(), "treeMenu")),
                 QStringList({QStringLiteral("在当前分类添加新的子分类"), QStringLiteral("修改分类名"),
                              QStringLiteral("-"), QStringLiteral("删除当前选定的分类"), QStringLiteral("-"),
                              QStringLiteral("在当前分类添加新的资料"), QStringLiteral("-"),
                              QStringLiteral("导出资料…")}));
        const QStringList list = captionsOf(childNamed<QMenu>(fixture.window.get(), "listMenu"));
        QCOMPARE(list.mid(0, 8), QStringList({QStringLiteral("添加新的资料"), QStringLiteral("删除资料"),
                                              QStringLiteral("修改资料"), QStringLiteral("复制资料内容"),
                                              QStringLiteral("历史版本…"), QStringLiteral("-"),
                                              QStringLiteral("查看>大图标|小图标|列表"),
                                              QStringLiteral("资料排序>按名称|按加入时间")}));
        QCOMPARE(captionsOf(fixture.window->tray()->menu()),
                 QStringList({QStringLiteral("显示主窗口"), QStringLiteral("显示悬浮窗口"),
                              QStringLiteral("-"), QStringLiteral("关于"), QStringLiteral("退出")}));
        QVERIFY(fixture.window->tray()->windowItem()->isCheckable() &&
                fixture.window->tray()->floatingItem()->isCheckable());
    }

    void creationState()
    {
        MainWindowFixture fixture;
        MainWindow &window = *fixture.window;
        QVERIFY(window.isCreated());
        QCOMPARE(window.windowTitle(), QStringLiteral("Zindrel"));
        QCOMPARE(window.objectName(), QStringLiteral("MainWindow"));
        QVERIFY(window.tray()->windowItem()->isChecked());
        QCOMPARE(fixture.captions(), QStringList({QStringLiteral("文字资料"), QStringLiteral("实例资料")}));
        QCOMPARE(fixture.images(), QList<int>({3, 3}));
        QVERIFY(!CategoryTree::selectedNode(fixture.tree()));
        QCOMPARE(fixture.tree()->topLevelItem(0)->text(0), QStringLiteral("文字资料"));
        QCOMPARE(fixture.detail()->headerItem()->text(0), QStringLiteral("名称"));
        QCOMPARE(fixture.detail()->headerItem()->text(1), QStringLiteral("值"));
        QCOMPARE(childNamed<QProgressBar>(&window, "progressBar")->maximum(), 100);
        QTRY_VERIFY(window.tray()
                        ->floatingItem()
                        ->isChecked()); // the floating window's message arrives once the loop runs

        // The tree taking the focus makes no node current: none may look selected.
        window.show();
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(fixture.tree(), &focusIn);
        QVERIFY(!fixture.tree()->currentItem());
    }

    void resizeRule()
    {
        MainWindowFixture fixture;
        fixture.window->show();
        childNamed<QWidget>(fixture.window.get(), "browsePanel")->resize(500, 401);
        QCOMPARE(fixture.listView()->height(), 100);
        QCOMPARE(fixture.detail()->geometry().top(), 100);
        QCOMPARE(fixture.detail()->height(), 301);
        // Nothing selected: a resize runs no query.
        fixture.window->resize(800, 640);
        QVERIFY(fixture.statusLine()->text().isEmpty());
    }

    void expandAndCollapseSwitchPictures()
    {
        MainWindowFixture fixture;
        QTreeWidgetItem *root = fixture.tree()->topLevelItem(0);
        root->setExpanded(true);
        QCOMPARE(CategoryTree::image(root), 3);
        QCOMPARE(CategoryTree::selectedImage(root), 3);
        QCOMPARE(CategoryTree::selectedNode(fixture.tree()), root);
        QTreeWidgetItem *first = root->child(0);
        first->setExpanded(true);
        QCOMPARE(CategoryTree::image(first), 4);
        first->setExpanded(false);
        QCOMPARE(CategoryTree::image(first), 1);
        QCOMPARE(CategoryTree::selectedNode(fixture.tree()), first);
        QCOMPARE(fixture.captions(), QStringList({QStringLiteral("文字资料"), QStringLiteral("实例资料")}));
    }

    void closeWritesTheTreeFile()
    {
        MainWindowFixture fixture({QStringLiteral("文字资料0"), QStringLiteral("+A1"),
                                   QStringLiteral("实例资料0"), QStringLiteral("搜索结果0")});
        fixture.tree()->topLevelItem(0)->setExpanded(true);
        fixture.window->close();
        QCOMPARE(fixture.folder.readBytes(QStringLiteral("MTS.qb")),
                 AnsiText::encode(QStringLiteral("文字资料3\r\n+A1\r\n实例资料0\r\n搜索结果0\r\n")));
        // Once closing, a resize refreshes nothing.
        fixture.clickNode(fixture.tree()->topLevelItem(0));
        fixture.window->setStatusText(QString());
        fixture.window->resize(640, 480);
        QVERIFY(fixture.statusLine()->text().isEmpty());
    }

    void quitWritesTheTreeFileOfAHiddenWindow()
    {
        MainWindowFixture fixture({QStringLiteral("文字资料0"), QStringLiteral("搜索结果0")});
        fixture.window->hide();
        fixture.tree()->topLevelItem(0)->setText(0, QStringLiteral("文字资料"));
        fixture.folder.remove(QStringLiteral("MTS.qb"));
        fixture.window->quitProgram();
        QCOMPARE(fixture.folder.readBytes(QStringLiteral("MTS.qb")),
                 AnsiText::encode(QStringLiteral("文字资料0\r\n搜索结果0\r\n")));
    }

    void aTreeThatCannotBeSavedAtTheEndIsSaidSo()
    {
        MainWindowFixture fixture;
        // A folder where the tree file was: no save can replace it.
        fixture.folder.remove(QStringLiteral("MTS.qb"));
        QVERIFY(QDir(fixture.folder.path()).mkdir(QStringLiteral("MTS.qb")));
        ModalDriver driver;
        fixture.window->quitProgram();
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY2(driver.boxes.first().text.startsWith(QStringLiteral("无法保存分类文件MTS.qb：")),
                 qPrintable(driver.boxes.first().text));
        QCOMPARE(driver.boxes.first().icon, QMessageBox::Critical);
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
        MainWindow window;
        QVERIFY(!window.isCreated());
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
        MainWindowFixture fixture;
        MainWindow &window = *fixture.window;
        window.show();
        window.tray()->hideWindow();
        QVERIFY(!window.isVisible());
        QVERIFY(!window.tray()->windowItem()->isChecked());
        window.comeForward();
        QTRY_VERIFY(window.isVisible());
        QVERIFY(window.tray()->windowItem()->isChecked());
        // Shown and not minimised: only brought forward.
        window.comeForward();
        QCoreApplication::processEvents();
        QVERIFY(window.isVisible() && window.tray()->windowItem()->isChecked());
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
        MainWindow window;
        QCOMPARE(window.materialList()->viewStyle(), 2);
        QCOMPARE(window.materialList()->view()->viewMode(), QListView::ListMode);
        QCOMPARE(window.materialList()->view()->flow(), QListView::TopToBottom);
        QCOMPARE(window.materialList()->order(), 2);
        QVERIFY(window.detailPane()->viewerSettings().browseInNewWindow);
        QVERIFY(window.detailPane()->viewerSettings().windowPerMaterial);
        QCOMPARE(window.detailPane()->viewerSettings().backColor, 255);
        QCOMPARE(window.tray()->mode(), 2);
    }

    // The floating window sits 100 pixels left of the screen's right edge, 50 below its top: on
    // no screen from 1024 pixels wide does it cover the full-text box of a maximised window.
    void floatingWindowKeepsOffTheSearchBox()
    {
        MainWindowFixture fixture;
        fixture.window->show();
        QVERIFY(QTest::qWaitFor([&fixture] { return fixture.window->dropWindow() != nullptr; }));
        const QSize floating = fixture.window->dropWindow()->size();
        auto *box = fixture.window->findChild<FullTextBox *>();
        for (const int width : {1024, 1280, 1366, 1920, 2560}) {
            fixture.window->setGeometry(0, 0, width, 700);
            QCoreApplication::processEvents();
            // Apart side by side, whatever height the window manager's title bar adds above the box.
            const int boxRight = box->mapTo(fixture.window.get(), QPoint(box->width(), 0)).x();
            QVERIFY2(boxRight < width - 100, qPrintable(QString::number(width)));
            QVERIFY(floating.width() < 100);
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
