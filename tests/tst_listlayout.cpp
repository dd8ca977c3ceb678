#include "MainWindowFixture.h"

#include "browse/MaterialList.h"
#include "shell/MainWindow.h"

#include <QListView>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QStringList Tree{QStringLiteral("文字资料0"), QStringLiteral("+A1"), QStringLiteral("实例资料0"),
                       QStringLiteral("搜索结果0")};
constexpr int Materials = 300;

// How many entries the first row of the icon view holds.
int firstRowCount(const QListView *list)
{
    const int top = list->visualRect(list->model()->index(0, 0)).top();
    int count = 0;
    while (count < list->model()->rowCount() && list->visualRect(list->model()->index(count, 0)).top() == top)
        ++count;
    return count;
}

// Every entry of the first row lies inside the view, left of the vertical scroll bar.
bool firstRowFits(const QListView *list)
{
    for (int row = 0; row < firstRowCount(list); ++row) {
        if (list->visualRect(list->model()->index(row, 0)).right() > list->viewport()->width())
            return false;
    }
    return true;
}
} // namespace

// The icon view lays its entries out once per refresh; the layout must still follow every change
// of the view's width: a scroll bar that appears, a window resize, a splitter drag.
class TestListLayout : public QObject
{
    Q_OBJECT
private slots:
    void captionsAreWholeInEveryStyle_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("longFirst");
        for (int style : {0, 1, 2}) {
            QTest::addRow("style %d, long titles first", style) << style << true;
            QTest::addRow("style %d, short titles last", style) << style << false;
        }
    }
    void captionsAreWholeInEveryStyle()
    {
        QFETCH(int, style);
        QFETCH(bool, longFirst);
        MainWindowFixture fixture(Tree);
        QStringList titles{QStringLiteral("Zindrel 知识库里一个相当长的标题 with ASCII words"),
                           QStringLiteral("编程语言"),
                           QStringLiteral("WWWWWWWWWWWWWWWWWWWW"),
                           QStringLiteral("算法"),
                           QStringLiteral("apple"),
                           QStringLiteral("i")};
        if (!longFirst)
            std::reverse(titles.begin(), titles.end());
        for (const QString &title : titles)
            fixture.addText(title, QStringLiteral("A"));
        fixture.list()->setOrder(0); // as filed, so that the last entry is the short one or the long one
        fixture.list()->setViewStyle(style);
        fixture.window->show();
        fixture.click(QStringLiteral("A"));
        QListView *view = fixture.listView();
        const QFontMetrics metrics(view->font());
        for (int row = 0; row < titles.size(); ++row) {
            const QRect rect = view->visualRect(fixture.model()->index(row, 0));
            const QString title = fixture.captions().at(row);
            if (style == 0) {
                // A fixed cell with the icon above two lines of caption.
                QVERIFY2(rect.width() >= 90 && rect.height() >= 24 + 2 * metrics.lineSpacing(),
                         qPrintable(title));
            } else {
                QVERIFY2(rect.width() >= 16 + metrics.horizontalAdvance(title), qPrintable(title));
            }
        }
    }

    // A selected large-icon entry draws its whole caption over the entries below: moving the
    // selection (or the focus) paints all of that again, not only the entries' own cells.
    void wholeCaptionIsPaintedAgain()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QString(60, QChar(u'长')), QStringLiteral("A"));
        fixture.addText(QStringLiteral("短"), QStringLiteral("A"));
        fixture.window->resize(800, 600);
        fixture.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
        fixture.click(QStringLiteral("A"));
        QListView *view = fixture.listView();
        const QModelIndex longEntry = fixture.model()->index(fixture.rowOf(QString(60, QChar(u'长'))), 0);
        const QRect cell = view->visualRect(longEntry);
        const QRect below(cell.x(), cell.bottom() + 1, cell.width(), view->fontMetrics().lineSpacing());

        struct PaintedRegion : QObject
        {
            QRegion region;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Paint)
                    region += static_cast<QPaintEvent *>(event)->region();
                return false;
            }
        } painted;
        view->viewport()->installEventFilter(&painted);
        for (const int row : {longEntry.row(), fixture.rowOf(QStringLiteral("短"))}) {
            QTest::qWait(50);
            painted.region = QRegion();
            view->setCurrentIndex(fixture.model()->index(row, 0));
            QTRY_VERIFY(!painted.region.isEmpty());
            QVERIFY2(painted.region.contains(below), "the caption's lines below its cell were not painted");
        }
    }

    void followsWidth_data()
    {
        QTest::addColumn<bool>("dragSplitter");
        QTest::addColumn<int>("widthChange");
        QTest::newRow("window wider") << false << 300;
        QTest::newRow("window narrower") << false << -300;
        QTest::newRow("splitter left") << true << 200;
        QTest::newRow("splitter right") << true << -200;
    }
    void followsWidth()
    {
        QFETCH(bool, dragSplitter);
        QFETCH(int, widthChange);
        MainWindowFixture fixture(Tree);
        QVERIFY(fixture.folder.exec(
            QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                           "insert into textfile(title, bigclassname, createtime) select 'M' || i, 'A', "
                           "'2026-01-01' from n")
                .arg(Materials)));
        MainWindow &window = *fixture.window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        fixture.click(QStringLiteral("A"));
        QCOMPARE(fixture.model()->rowCount(), Materials);
        QTRY_VERIFY(fixture.listView()->verticalScrollBar()->isVisible());

        // The scroll bar that came with the long list hides no entry and needs no sideways scrolling.
        const int before = firstRowCount(fixture.listView());
        QVERIFY(before > 1);
        QVERIFY(firstRowFits(fixture.listView()));
        QCOMPARE(fixture.listView()->horizontalScrollBar()->maximum(), 0);

        if (dragSplitter) {
            auto *splitter = window.findChild<QSplitter *>();
            QVERIFY(splitter);
            QWidget *handle = splitter->handle(1);
            const QPoint grip = handle->rect().center();
            QTest::mousePress(handle, Qt::LeftButton, {}, grip);
            QTest::mouseMove(handle, grip - QPoint(widthChange, 0));
            QTest::mouseRelease(handle, Qt::LeftButton, {}, grip - QPoint(widthChange, 0));
        } else {
            window.resize(window.width() + widthChange, window.height());
        }
        QTRY_VERIFY(widthChange > 0 ? firstRowCount(fixture.listView()) > before
                                    : firstRowCount(fixture.listView()) < before);
        QVERIFY(firstRowFits(fixture.listView()));
        QCOMPARE(fixture.listView()->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(fixture.model()->rowCount(), Materials);
    }
};

QTEST_MAIN(TestListLayout)
#include "tst_listlayout.moc"
