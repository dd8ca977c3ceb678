#include "MainWindowFixture.h"
#include "ModalDriver.h"

#include "browse/DetailPane.h"
#include "browse/MaterialReader.h"
#include "browse/Navigator.h"
#include "search/FullTextBox.h"
#include "shell/MainWindow.h"
#include "tree/CategoryTree.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QStringList Tree{QStringLiteral("文字资料0"), QStringLiteral("+A1"), QStringLiteral("+B1"),
                       QStringLiteral("实例资料0"), QStringLiteral("搜索结果0")};

// Every item of the menu bar with a key, as "caption=key".
QStringList keyedItems(const QMenuBar *bar)
{
    QStringList items;
    for (const QAction *menu : bar->actions()) {
        for (const QAction *action : menu->menu()->actions()) {
            if (!action->shortcut().isEmpty())
                items.append(action->text() + QLatin1Char('=') +
                             action->shortcut().toString(QKeySequence::PortableText));
        }
    }
    return items;
}
} // namespace

// The keys a Qt program's user expects, each doing what its menu item does, and only where it
// belongs: the tree's Delete and F2 are the category's, the list's the material's.
class TestKeys : public QObject
{
    Q_OBJECT
private slots:
    void menusShowTheirKeys()
    {
        MainWindowFixture fixture(Tree);
        const QStringList items = keyedItems(fixture.window->menuBar());
        for (const char *item :
             {"添加新的子分类=Ctrl+Shift+N", "修改分类名=F2", "删除当前选定的分类=Del",
              "在当前分类添加新的资料=Ctrl+N", "退出=Ctrl+Q", "删除选定的资料=Del", "修改选定的资料=F2",
              "后退=Alt+Left", "前进=Alt+Right", "向上=Alt+Up", "搜索=Ctrl+Shift+F", "主题=F1"})
            QVERIFY2(items.contains(QString::fromUtf8(item)), item);
    }

    // Pressed where the keyboard is, each key brings up what its item brings up.
    void keysDoWhatTheirItemsDo_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("shown"); // the question asked, or the window opened
        QTest::newRow("tree Delete") << "tree" << QKeySequence(Qt::Key_Delete) << "删除分类";
        QTest::newRow("list Delete") << "list" << QKeySequence(Qt::Key_Delete) << "将删除该资料，是否继续？";
        QTest::newRow("tree F2") << "tree" << QKeySequence(Qt::Key_F2) << "CategoryNameInput";
        QTest::newRow("list F2") << "list" << QKeySequence(Qt::Key_F2) << "TextMaterialDialog";
        QTest::newRow("Ctrl+N") << "list" << QKeySequence(Qt::CTRL | Qt::Key_N) << "TextMaterialDialog";
        QTest::newRow("Ctrl+Shift+N")
            << "tree" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N) << "CategoryNameInput";
        QTest::newRow("Ctrl+Shift+F")
            << "tree" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F) << "SearchDialog";
        QTest::newRow("box keeps Delete") << "box" << QKeySequence(Qt::Key_Delete) << "";
    }
    void keysDoWhatTheirItemsDo()
    {
        QFETCH(QString, focus);
        QFETCH(QKeySequence, key);
        QFETCH(QString, shown);
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("t"), QStringLiteral("A"));
        fixture.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
        fixture.click(QStringLiteral("A"));
        fixture.selectRow(fixture.rowOf(QStringLiteral("t")));
        QWidget *target = focus == QLatin1String("tree")   ? static_cast<QWidget *>(fixture.tree())
                          : focus == QLatin1String("list") ? static_cast<QWidget *>(fixture.listView())
                                                           : fixture.window->findChild<FullTextBox *>();
        fixture.window->activateWindow();
        target->setFocus();
        ModalDriver driver(QMessageBox::No);
        QTest::keySequence(target, key);
        QStringList seen = driver.otherWindows;
        for (const ModalDriver::Box &box : driver.boxes)
            seen.append(box.text);
        if (shown.isEmpty())
            QVERIFY2(seen.isEmpty(), qPrintable(seen.join(QLatin1Char('|'))));
        else
            QVERIFY2(seen.size() == 1 && seen.first().contains(shown),
                     qPrintable(seen.join(QLatin1Char('|'))));
    }

    // Enter on a material opens it as the settings say; Alt+Left walks back.
    void enterOpensAndAltLeftWalksBack()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("t"), QStringLiteral("A"), QString(), QStringLiteral("2026-01-01"),
                        QStringLiteral("body"));
        fixture.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
        fixture.click(QStringLiteral("B"));
        fixture.click(QStringLiteral("A"));
        fixture.selectRow(fixture.rowOf(QStringLiteral("t")));
        fixture.listView()->setFocus();
        QTest::keyClick(fixture.listView(), Qt::Key_Return);
        QVERIFY(fixture.detailPane()->viewer()->isVisible());
        QVERIFY(fixture.detailPane()->viewer()->sourceView()->toPlainText().endsWith(QStringLiteral("body")));
        QTest::keyClick(fixture.listView(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(CategoryTree::selectedNode(fixture.tree())->text(0), QStringLiteral("B"));
    }
};

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
