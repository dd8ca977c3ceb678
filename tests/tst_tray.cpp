#include "MainFormFixture.h"
#include "ModalDriver.h"

#include "base/AnsiText.h"
#include "capture/TDragForm.h"
#include "shell/MainWindowTray.h"
#include "shell/TMainForm.h"
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
        fixture.form->TrayMode = trayMode;
        fixture.form->TrayIconData->setAvailableForTesting(trayAvailable);
        fixture.form->show();
    }
    bool ready()
    {
        return QTest::qWaitFor([] { return !DragForm.isNull(); }) && fixture.form->isVisible();
    }
    TMainForm &form() { return *fixture.form; }

    MainFormFixture fixture;
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
        MainFormFixture fixture;
        const QSystemTrayIcon *icon = fixture.form->TrayIconData->icon();
        QCOMPARE(icon->toolTip(), QStringLiteral("Zindrel"));
        QCOMPARE(icon->contextMenu(), fixture.form->TrayPopMenu);
        QVERIFY(icon->isVisible());
        QVERIFY(!icon->icon().isNull());
        QVERIFY(fixture.form->N121->isChecked());
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
        shown.form().showMinimized();
        QTest::qWait(20);
        QCOMPARE(shown.form().isVisible(), !hides);
        QCOMPARE(shown.form().N121->isChecked(), !hides);
        if (!hides) {
            QVERIFY(shown.form().isMinimized());
            return;
        }
        // A double click on the icon brings it back, restored.
        shown.form().TrayControl(QSystemTrayIcon::DoubleClick);
        QVERIFY(shown.form().isVisible());
        QVERIFY(!shown.form().isMinimized());
        QVERIFY(shown.form().N121->isChecked());
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
        QCOMPARE(shown.form().close(), !hides);
        QVERIFY(!shown.form().isVisible());
        QCOMPARE(shown.form().N121->isChecked(), !hides);
        // Hiding keeps the icon and the floating window; closing ends both and saves the tree.
        QCOMPARE(shown.form().TrayIconData->icon()->isVisible(), hides);
        QCOMPARE(!DragForm.isNull(), hides);
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
        shown.form().close();
        QVERIFY(!shown.form().isVisible());
        QVERIFY(DragForm);
        QAction *quit = actionTitled(shown.form().TrayPopMenu, QStringLiteral("退出"));
        QVERIFY(quit);
        quit->trigger();
        QVERIFY(!shown.form().TrayIconData->icon()->isVisible());
        QVERIFY(!DragForm);
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
        shown.form().setWindowState(Qt::WindowMaximized);
        if (hiddenBefore)
            shown.form().close();
        QCOMPARE(shown.form().isVisible(), !hiddenBefore);
        shown.form().TrayControl(static_cast<QSystemTrayIcon::ActivationReason>(reason));
        QCOMPARE(shown.form().isVisible(), shownAfter);
        QCOMPARE(shown.form().N121->isChecked(), shownAfter);
        QCOMPARE(shown.form().windowState() & ~Qt::WindowActive, Qt::WindowStates(Qt::WindowMaximized));
    }

    // The check items show and hide the two windows, also with TrayMode 0.
    void checkItems()
    {
        ShownWindow shown(0);
        QVERIFY(shown.ready());
        TMainForm &form = shown.form();
        form.N121->trigger();
        QVERIFY(!form.N121->isChecked());
        QVERIFY(!form.isVisible());
        form.N121->trigger();
        QVERIFY(form.N121->isChecked());
        QVERIFY(form.isVisible());

        form.N341->trigger();
        QVERIFY(!form.N341->isChecked());
        QVERIFY(!DragForm->isVisible());
        form.N341->trigger();
        QVERIFY(form.N341->isChecked());
        QVERIFY(DragForm->isVisible());
    }

    // Without a tray the two windows are never hidden together: one must bring back the other.
    void withoutTrayOneWindowStays()
    {
        ShownWindow shown(0, false);
        QVERIFY(shown.ready());
        TMainForm &form = shown.form();
        form.N121->trigger(); // hidden: the floating window's menu brings it back
        QVERIFY(!form.isVisible());
        form.N341->trigger();
        QVERIFY(form.N341->isChecked());
        QVERIFY(DragForm->isVisible());
        form.N121->trigger();
        QVERIFY(form.isVisible());
        form.N341->trigger();
        QVERIFY(!DragForm->isVisible());
        form.N121->trigger();
        QVERIFY(form.N121->isChecked());
        QVERIFY(form.isVisible());
    }

    void floatingWindowOpensTheTrayMenu()
    {
        ShownWindow shown(0);
        QVERIFY(shown.ready());
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10),
                                DragForm->mapToGlobal(QPoint(10, 10)));
        QCoreApplication::sendEvent(DragForm, &click);
        QTRY_VERIFY(shown.form().TrayPopMenu->isVisible());
        shown.form().TrayPopMenu->hide();
    }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
