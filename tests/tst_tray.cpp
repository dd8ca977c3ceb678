#include "MainWindowFixture.h"
#include "ModalDriver.h"

#include "base/AnsiText.h"
#include "capture/DropWindow.h"
#include "shell/MainWindow.h"
#include "shell/MainWindowTray.h"
#include "shell/TrayRules.h"
#include "tree/CategoryTree.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTreeWidget>
#include <QtTest>

namespace {
// A shown main window with its floating window, on a desktop that has a tray (or not).
struct ShownWindow
{
    explicit ShownWindow(int trayMode, bool trayAvailable = true)
    {
        fixture.window->tray()->setMode(trayMode);
        fixture.window->tray()->setAvailableForTesting(trayAvailable);
        fixture.window->show();
    }
    bool ready()
    {
        return QTest::qWaitFor([this] { return dropWindow() != nullptr; }) && fixture.window->isVisible();
    }
    MainWindow &window() { return *fixture.window; }
    MainWindowTray *tray() { return fixture.window->tray(); }
    DropWindow *dropWindow() { return fixture.window->dropWindow(); }

    MainWindowFixture fixture;
};

QAction *actionTitled(const QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}
} // namespace

class TestTray : public QObject
{
    Q_OBJECT
private slots:
    void hidesInstead_data()
    {
        QTest::addColumn<int>("trayMode");
        QTest::addColumn<bool>("trayAvailable");
        QTest::addColumn<bool>("onMinimise");
        QTest::addColumn<bool>("onClose");
        QTest::newRow("0") << 0 << true << false << false;
        QTest::newRow("1 minimise") << 1 << true << true << false;
        QTest::newRow("2 close") << 2 << true << false << true;
        QTest::newRow("3 both") << 3 << true << true << true;
        QTest::newRow("3 without tray") << 3 << false << false << false;
        QTest::newRow("1 without tray") << 1 << false << false << false;
    }
    void hidesInstead()
    {
        QFETCH(int, trayMode);
        QFETCH(bool, trayAvailable);
        QFETCH(bool, onMinimise);
        QFETCH(bool, onClose);
        QCOMPARE(TrayRules::hidesInstead(trayMode, TrayRules::Minimise, trayAvailable), onMinimise);
        QCOMPARE(TrayRules::hidesInstead(trayMode, TrayRules::Close, trayAvailable), onClose);
    }

    void mayHide_data()
    {
        QTest::addColumn<bool>("trayAvailable");
        QTest::addColumn<bool>("otherShown");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("tray, other shown") << true << true << true;
        QTest::newRow("tray, other hidden") << true << false << true;
        QTest::newRow("no tray, other shown") << false << true << true;
        QTest::newRow("no tray, other hidden") << false << false << false;
    }
    void mayHide()
    {
        QFETCH(bool, trayAvailable);
        QFETCH(bool, otherShown);
        QFETCH(bool, allowed);
        QCOMPARE(TrayRules::mayHide(trayAvailable, otherShown), allowed);
    }

    void iconIsSetUp()
    {
        MainWindowFixture fixture;
        const QSystemTrayIcon *icon = fixture.window->tray()->icon();
        QCOMPARE(icon->toolTip(), QStringLiteral("Zindrel"));
        QCOMPARE(icon->contextMenu(), fixture.window->tray()->menu());
        QVERIFY(icon->isVisible());
        QVERIFY(!icon->icon().isNull());
        QVERIFY(fixture.window->tray()->windowItem()->isChecked());
    }

    void minimise_data()
    {
        QTest::addColumn<int>("trayMode");
        QTest::addColumn<bool>("trayAvailable");
        QTest::addColumn<bool>("hides");
        QTest::newRow("0 minimises") << 0 << true << false;
        QTest::newRow("1 hides") << 1 << true << true;
        QTest::newRow("2 minimises") << 2 << true << false;
        QTest::newRow("3 hides") << 3 << true << true;
        QTest::newRow("3 without tray minimises") << 3 << false << false;
    }
    void minimise()
    {
        QFETCH(int, trayMode);
        QFETCH(bool, trayAvailable);
        QFETCH(bool, hides);
        ShownWindow shown(trayMode, trayAvailable);
        QVERIFY(shown.ready());
        shown.window().showMinimized();
        QTest::qWait(20);
        QCOMPARE(shown.window().isVisible(), !hides);
        QCOMPARE(shown.tray()->windowItem()->isChecked(), !hides);
        if (!hides) {
            QVERIFY(shown.window().isMinimized());
            return;
        }
        // A double click on the icon brings it back, restored.
        shown.tray()->iconActivated(QSystemTrayIcon::DoubleClick);
        QVERIFY(shown.window().isVisible());
        QVERIFY(!shown.window().isMinimized());
        QVERIFY(shown.tray()->windowItem()->isChecked());
    }

    void close_data()
    {
        QTest::addColumn<int>("trayMode");
        QTest::addColumn<bool>("trayAvailable");
        QTest::addColumn<bool>("hides");
        QTest::newRow("0 closes") << 0 << true << false;
        QTest::newRow("1 closes") << 1 << true << false;
        QTest::newRow("2 hides") << 2 << true << true;
        QTest::newRow("3 hides") << 3 << true << true;
        QTest::newRow("2 without tray closes") << 2 << false << false;
    }
    void close()
    {
        QFETCH(int, trayMode);
        QFETCH(bool, trayAvailable);
        QFETCH(bool, hides);
        ShownWindow shown(trayMode, trayAvailable);
        QVERIFY(shown.ready());
        QTreeWidgetItem *added = CategoryTree::addNode(shown.fixture.node(QStringLiteral("读书笔记")),
                                                       QStringLiteral("新分类"), 2, 2);
        QVERIFY(added);
        QCOMPARE(shown.window().close(), !hides);
        QVERIFY(!shown.window().isVisible());
        QCOMPARE(shown.tray()->windowItem()->isChecked(), !hides);
        // Hiding keeps the icon and the floating window; closing ends both and saves the tree.
        QCOMPARE(shown.tray()->icon()->isVisible(), hides);
        QCOMPARE(shown.dropWindow() != nullptr, hides);
        const bool saved = shown.fixture.folder.readBytes(QStringLiteral("MTS.qb"))
                               .contains(AnsiText::encode(QStringLiteral("新分类")));
        QCOMPARE(saved, !hides);
    }

    // "退出" ends the program whatever the tray setting, also from the hidden window.
    void quitFromTrayMenuWhileHidden()
    {
        ShownWindow shown(3);
        QVERIFY(shown.ready());
        CategoryTree::addNode(shown.fixture.node(QStringLiteral("读书笔记")), QStringLiteral("新分类"), 2, 2);
        shown.window().close();
        QVERIFY(!shown.window().isVisible());
        QVERIFY(shown.dropWindow());
        QAction *quit = actionTitled(shown.tray()->menu(), QStringLiteral("退出"));
        QVERIFY(quit);
        quit->trigger();
        QVERIFY(!shown.tray()->icon()->isVisible());
        QVERIFY(!shown.dropWindow());
        QVERIFY(shown.fixture.folder.readBytes(QStringLiteral("MTS.qb"))
                    .contains(AnsiText::encode(QStringLiteral("新分类"))));
    }

    void doubleClick_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("hiddenBefore");
        QTest::addColumn<bool>("shownAfter");
        QTest::newRow("double click on a hidden window") << int(QSystemTrayIcon::DoubleClick) << true << true;
        QTest::newRow("single click does nothing") << int(QSystemTrayIcon::Trigger) << true << false;
        QTest::newRow("middle click does nothing") << int(QSystemTrayIcon::MiddleClick) << true << false;
        QTest::newRow("double click on a visible window changes nothing")
            << int(QSystemTrayIcon::DoubleClick) << false << true;
    }
    void doubleClick()
    {
        QFETCH(int, reason);
        QFETCH(bool, hiddenBefore);
        QFETCH(bool, shownAfter);
        ShownWindow shown(2);
        QVERIFY(shown.ready());
        shown.window().setWindowState(Qt::WindowMaximized);
        if (hiddenBefore)
            shown.window().close();
        QCOMPARE(shown.window().isVisible(), !hiddenBefore);
        shown.tray()->iconActivated(static_cast<QSystemTrayIcon::ActivationReason>(reason));
        QCOMPARE(shown.window().isVisible(), shownAfter);
        QCOMPARE(shown.tray()->windowItem()->isChecked(), shownAfter);
        QCOMPARE(shown.window().windowState() & ~Qt::WindowActive, Qt::WindowStates(Qt::WindowMaximized));
    }

    // The check items show and hide the two windows, also with tray mode 0.
    void checkItems()
    {
        ShownWindow shown(0);
        QVERIFY(shown.ready());
        MainWindow &window = shown.window();
        QAction *windowItem = shown.tray()->windowItem();
        QAction *floatingItem = shown.tray()->floatingItem();
        windowItem->trigger();
        QVERIFY(!windowItem->isChecked());
        QVERIFY(!window.isVisible());
        windowItem->trigger();
        QVERIFY(windowItem->isChecked());
        QVERIFY(window.isVisible());

        floatingItem->trigger();
        QVERIFY(!floatingItem->isChecked());
        QVERIFY(!shown.dropWindow()->isVisible());
        floatingItem->trigger();
        QVERIFY(floatingItem->isChecked());
        QVERIFY(shown.dropWindow()->isVisible());
    }

    // Without a tray the two windows are never hidden together: one must bring back the other.
    void withoutTrayOneWindowStays()
    {
        ShownWindow shown(0, false);
        QVERIFY(shown.ready());
        MainWindow &window = shown.window();
        QAction *windowItem = shown.tray()->windowItem();
        QAction *floatingItem = shown.tray()->floatingItem();
        windowItem->trigger(); // hidden: the floating window's menu brings it back
        QVERIFY(!window.isVisible());
        floatingItem->trigger();
        QVERIFY(floatingItem->isChecked());
        QVERIFY(shown.dropWindow()->isVisible());
        windowItem->trigger();
        QVERIFY(window.isVisible());
        floatingItem->trigger();
        QVERIFY(!shown.dropWindow()->isVisible());
        windowItem->trigger();
        QVERIFY(windowItem->isChecked());
        QVERIFY(window.isVisible());
    }

    void floatingWindowOpensTheTrayMenu()
    {
        ShownWindow shown(0);
        QVERIFY(shown.ready());
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10),
                                shown.dropWindow()->mapToGlobal(QPoint(10, 10)));
        QCoreApplication::sendEvent(shown.dropWindow(), &click);
        QTRY_VERIFY(shown.tray()->menu()->isVisible());
        shown.tray()->menu()->hide();
    }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
