#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "TestServer.h"

#include "browse/DetailPane.h"
#include "browse/DetailRows.h"
#include "browse/MaterialList.h"
#include "browse/MaterialReader.h"
#include "browse/MaterialViewer.h"
#include "browse/ViewerLook.h"
#include "code/HighlightDefinitions.h"
#include "shell/MainWindow.h"
#include "store/Material.h"
#include "widgets/ActionLink.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QStringList Tree{QStringLiteral("文字资料0"), QStringLiteral("+A1"),       QStringLiteral("++B2"),
                       QStringLiteral("+Two1"),     QStringLiteral("++X2"),      QStringLiteral("++Y2"),
                       QStringLiteral("+Empty1"),   QStringLiteral("实例资料0"), QStringLiteral("+Tools1"),
                       QStringLiteral("搜索结果0")};

QStringList rowTexts(const QTreeWidget *pane)
{
    QStringList rows;
    for (int i = 0; i < pane->topLevelItemCount(); ++i)
        rows.append(pane->topLevelItem(i)->text(0) + QLatin1Char('|') + pane->topLevelItem(i)->text(1));
    return rows;
}

QList<MaterialViewer *> openViewers()
{
    QList<MaterialViewer *> viewers;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *viewer = qobject_cast<MaterialViewer *>(widget); viewer && viewer->isVisible())
            viewers.append(viewer);
    }
    return viewers;
}

void closeViewers()
{
    for (MaterialViewer *viewer : openViewers())
        viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QPlainTextEdit *viewerText(const MaterialViewer *viewer)
{
    return childNamed<QPlainTextEdit>(viewer, "viewerText");
}

// Changes some of the pane's viewer settings and keeps the rest.
template <class Change> void changeViewerSettings(DetailPane *pane, Change change)
{
    DetailPane::ViewerSettings settings = pane->viewerSettings();
    change(settings);
    pane->setViewerSettings(settings);
}
} // namespace

class TestDetailPane : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SKIP_WITHOUT_TEST_SERVER(); }
    void cleanup() { closeViewers(); }

    void extremeFontValuesAreDrawnSafely_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("size");
        QTest::newRow("smallest height") << std::numeric_limits<int>::min() << 0;
        QTest::newRow("largest height") << std::numeric_limits<int>::max() << 0;
        QTest::newRow("largest size") << -12 << std::numeric_limits<int>::max();
    }
    void extremeFontValuesAreDrawnSafely()
    {
        QFETCH(int, height);
        QFETCH(int, size);
        ViewerFontValues values;
        values.height = height;
        values.size = size;
        const QFont font = ViewerLook::fontOf(values);
        const int drawn = font.pointSize() > 0 ? font.pointSize() : font.pixelSize();
        QVERIFY2(drawn >= 1 && drawn <= 500, qPrintable(QString::number(drawn)));
    }

    void preview_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("value");
        const QString blanks = QStringLiteral("...     ");
        QTest::newRow("exactly 30 bytes") << QStringList{QString(28, QLatin1Char('x'))} << 30
                                          << QString(28, QLatin1Char('x')) + QStringLiteral("\r\n") + blanks;
        QTest::newRow("31 bytes") << QStringList{QString(29, QLatin1Char('x'))} << 30
                                  << QString(29, QLatin1Char('x')) + QStringLiteral("\r") + blanks;
        QTest::newRow("two-byte character at the limit")
            << QStringList{QString(29, QLatin1Char('a')) + QStringLiteral("中")} << 30
            << QString(29, QLatin1Char('a')) + blanks;
        QTest::newRow("nothing cut, dots all the same")
            << QStringList{QStringLiteral("ab")} << 30 << QStringLiteral("ab\r\n") + blanks;
        QTest::newRow("description limit 60")
            << QStringList{QString(70, QLatin1Char('d'))} << 60 << QString(60, QLatin1Char('d')) + blanks;
        QTest::newRow("empty body") << QStringList() << 30 << blanks;
    }
    void preview()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, limit);
        QFETCH(QString, value);
        QCOMPARE(DetailRows::preview(lines, limit), value);
    }

    void childrenValues()
    {
        QCOMPARE(DetailRows::childrenValue({}), QStringLiteral("0个"));
        QCOMPARE(DetailRows::childrenValue({QStringLiteral("B")}), QStringLiteral("共1个  它们是：B"));
        QCOMPARE(DetailRows::childrenValue({QStringLiteral("X"), QStringLiteral("Y")}),
                 QStringLiteral("共2个  它们是：X， Y"));
    }

    void countStatements()
    {
        QCOMPARE(DetailRows::countStatementOfKind(QStringLiteral("文字资料")),
                 QStringLiteral("select id from textfile"));
        QCOMPARE(DetailRows::countStatementOfKind(QStringLiteral("实例资料")),
                 QStringLiteral("select id from exefile"));
        QCOMPARE(DetailRows::countStatementOfCategory(QStringLiteral("文字资料"), QStringLiteral("B"),
                                                      QStringLiteral("A")),
                 QStringLiteral("select id from textfile where classname='B' and bigclassname='A'"));
        QCOMPARE(DetailRows::countStatementOfCategory(QStringLiteral("实例资料"), QStringLiteral("it's"),
                                                      QString()),
                 QStringLiteral("select id from exefile where bigclassname='it''s'"));
    }

    void categoryRows()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("1"), QStringLiteral("A"));
        fixture.addText(QStringLiteral("2"), QStringLiteral("A"), QStringLiteral("B"));
        fixture.addText(QStringLiteral("3"), QStringLiteral("Two"), QStringLiteral("X"));
        fixture.addInstance(QStringLiteral("4"), QStringLiteral("Tools"));

        // The top level counts every row of its table.
        fixture.selectRow(0);
        QCOMPARE(rowTexts(fixture.detail()),
                 QStringList({QStringLiteral("类型:|总目录"),
                              QStringLiteral("拥有子分类：|共3个  它们是：A， Two， Empty"),
                              QStringLiteral("拥有资料数：|共3个")}));
        fixture.selectRow(1);
        QCOMPARE(rowTexts(fixture.detail()).last(), QStringLiteral("拥有资料数：|共1个"));

        fixture.click(QStringLiteral("文字资料"));
        fixture.selectRow(fixture.rowOf(QStringLiteral("A")));
        QCOMPARE(rowTexts(fixture.detail()), QStringList({QStringLiteral("类型:|分类目录"),
                                                          QStringLiteral("拥有子分类：|共1个  它们是：B"),
                                                          QStringLiteral("拥有资料数：|共2个")}));
        fixture.selectRow(fixture.rowOf(QStringLiteral("Empty")));
        QCOMPARE(rowTexts(fixture.detail()).mid(1),
                 QStringList({QStringLiteral("拥有子分类：|0个"), QStringLiteral("拥有资料数：|共0个")}));

        // A second-level category counts its own pair.
        fixture.click(QStringLiteral("A"));
        fixture.selectRow(fixture.rowOf(QStringLiteral("B")));
        QCOMPARE(rowTexts(fixture.detail()).last(), QStringLiteral("拥有资料数：|共1个"));
    }

    void failedCountIsSaidSo()
    {
        SKIP_ON_TEST_SERVER();
        MainWindowFixture fixture(Tree);
        fixture.click(QStringLiteral("文字资料"));
        fixture.folder.remove(QStringLiteral("Data.QBD"));
        fixture.selectRow(0);
        QCOMPARE(rowTexts(fixture.detail()).last(), QStringLiteral("拥有资料数：|无法统计"));
        QVERIFY(fixture.statusLine()->text().endsWith(Material::FatalSuffix));
    }

    void textMaterialRowsAndLink_data()
    {
        QTest::addColumn<int>("browseInNewWindow");
        QTest::addColumn<QString>("link");
        QTest::newRow("main window") << 0 << QStringLiteral("在当前窗口浏览");
        QTest::newRow("new window") << 1 << QStringLiteral("在新窗口中浏览");
    }
    void textMaterialRowsAndLink()
    {
        QFETCH(int, browseInNewWindow);
        QFETCH(QString, link);
        MainWindowFixture fixture(Tree);
        fixture.window->show();
        changeViewerSettings(fixture.detailPane(), [&](DetailPane::ViewerSettings &settings) {
            settings.browseInNewWindow = browseInNewWindow == 1;
        });
        const qint64 id = fixture.addText(QStringLiteral("it's"), QStringLiteral("A"), QStringLiteral("B"),
                                          QStringLiteral("2026-02-03 04:05:06"), QStringLiteral("a:b\r\nc"),
                                          QStringLiteral("W"));
        fixture.click(QStringLiteral("B"));
        fixture.selectRow(0);
        QCOMPARE(rowTexts(fixture.detail()),
                 QStringList({QStringLiteral("名称:|it's"), QStringLiteral("分类:|A--->B"),
                              QStringLiteral("作者:|W"), QStringLiteral("创建时间:|2026-02-03 04:05:06"),
                              QStringLiteral("内容:|a:b c ...     ")}));
        const QList<ActionLink *> links = fixture.detailPane()->links();
        QCOMPARE(links.size(), 1);
        QCOMPARE(links.first()->text(), link);
        QCOMPARE(links.first()->tag(), id);
        const QRect row = fixture.detail()->visualItemRect(fixture.detail()->topLevelItem(4));
        QCOMPARE(links.first()->pos(), QPoint(100 + row.left() + 300, row.top() + 1));
        QCOMPARE(links.first()->palette().color(links.first()->foregroundRole()), QColor(255, 0, 0));

        // Deselecting removes the links and keeps the rows.
        fixture.listView()->clearSelection();
        QVERIFY(fixture.detailPane()->links().isEmpty());
        QCOMPARE(fixture.detail()->topLevelItemCount(), 5);
    }

    void linksTakeTheirClicksAndSelectedRowsStayReadable()
    {
        MainWindowFixture fixture(Tree);
        fixture.window->show();
        fixture.addText(QStringLiteral("t"), QStringLiteral("A"), QStringLiteral("B"),
                        QStringLiteral("2026-01-01"), QString(200, QLatin1Char('x')), QStringLiteral("W"));
        fixture.click(QStringLiteral("B"));
        fixture.selectRow(0);
        ActionLink *link = fixture.detailPane()->links().first();
        QSignalSpy clicks(link, &ActionLink::clicked);
        QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
        QCOMPARE(clicks.count(), 1);
        QVERIFY(fixture.detail()->selectedItems().isEmpty());
        QVERIFY(link->autoFillBackground());

        // A selected row's text stands out from its background.
        QTreeWidgetItem *row = fixture.detail()->topLevelItem(4);
        fixture.detail()->setCurrentItem(row);
        const QRect rowRect = fixture.detail()->visualItemRect(row);
        const int valueLeft = fixture.detail()->header()->sectionViewportPosition(1);
        const QRect cell(valueLeft + 4, rowRect.top() + 3, 250, rowRect.height() - 6);
        const QImage image = fixture.detail()->viewport()->grab(cell).toImage();
        const QColor background = image.pixelColor(image.width() - 1, image.height() / 2);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                inked += qAbs(pixel.lightness() - background.lightness()) > 80;
            }
        }
        QVERIFY2(inked > 10, qPrintable(QStringLiteral("%1 pixels of text").arg(inked)));
    }

    void instanceRowsAndRun()
    {
        MainWindowFixture fixture(Tree);
        const qint64 id =
            fixture.addInstance(QStringLiteral("tool"), QStringLiteral("Tools"), QString(),
                                QStringLiteral("/nonexistent/zindrel/tool"), QStringLiteral("about it"));
        fixture.click(QStringLiteral("Tools"));
        fixture.selectRow(0);
        const QStringList rows = rowTexts(fixture.detail());
        QCOMPARE(rows.mid(4), QStringList({QStringLiteral("简介:|about it ...     "),
                                           QStringLiteral("资料路径:|/nonexistent/zindrel/tool")}));
        QCOMPARE(fixture.detailPane()->runPath(), QStringLiteral("/nonexistent/zindrel/tool"));
        const QList<ActionLink *> links = fixture.detailPane()->links();
        QCOMPARE(links.size(), 2);
        QCOMPARE(links.at(0)->text(), QStringLiteral("在新窗口浏览简介"));
        QCOMPARE(links.at(0)->tag(), id);
        QCOMPARE(links.at(1)->text(), QStringLiteral("运行资料"));
        QCOMPARE(links.at(1)->tag(), 0);

        ModalDriver driver;
        emit links.at(1)->clicked(links.at(1));
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("资料路径有错，不存在该路径，请修改。")});
    }

    void viewInThisWindow()
    {
        MainWindowFixture fixture(Tree);
        fixture.window->show();
        changeViewerSettings(fixture.detailPane(),
                             [](DetailPane::ViewerSettings &settings) { settings.backColor = 0x0000FF; });
        fixture.addText(QStringLiteral("t"), QStringLiteral("A"), QString(), QStringLiteral("2026-01-01"),
                        QStringLiteral("line 1\r\nline 2"), QStringLiteral("W"));
        fixture.addText(QStringLiteral("empty"), QStringLiteral("A"), QString(),
                        QStringLiteral("2026-01-02"));
        fixture.click(QStringLiteral("A"));
        fixture.selectRow(fixture.rowOf(QStringLiteral("t")));
        ActionLink *link = fixture.detailPane()->links().first();
        emit link->clicked(link);
        QPlainTextEdit *viewer = fixture.detailPane()->viewer()->sourceView();
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->toPlainText(),
                 QStringLiteral("作者：W\n\n所属分类：A--->\n\n创建时间：2026-01-01\n\nline 1\nline 2"));
        QCOMPARE(viewer->palette().color(QPalette::Base), QColor(255, 0, 0));
        QCOMPARE(viewer->font().pointSize(), 9);
        // Shown in an installed face even where the settings' "宋体" is missing.
        QVERIFY2(QFontDatabase::hasFamily(viewer->font().family()), qPrintable(viewer->font().family()));

        // A material without a body ends after the empty sixth line.
        emit fixture.list()->clicked();
        QVERIFY(fixture.detailPane()->viewer()->isHidden());
        fixture.selectRow(fixture.rowOf(QStringLiteral("empty")));
        link = fixture.detailPane()->links().first();
        emit link->clicked(link);
        QCOMPARE(viewer->toPlainText(),
                 QStringLiteral("作者：\n\n所属分类：A--->\n\n创建时间：2026-01-02\n"));
    }

    void oneViewerIsReused()
    {
        MainWindowFixture fixture(Tree);
        changeViewerSettings(fixture.detailPane(), [](DetailPane::ViewerSettings &settings) {
            settings.browseInNewWindow = true;
            settings.windowPerMaterial = false;
        });
        fixture.addText(QStringLiteral("first"), QStringLiteral("A"), QString(), QStringLiteral("2026-01-01"),
                        QStringLiteral("one"));
        fixture.addText(QStringLiteral("second"), QStringLiteral("A"), QString(),
                        QStringLiteral("2026-01-02"), QStringLiteral("two"));
        fixture.click(QStringLiteral("A"));
        auto open = [&fixture](const QString &title) {
            fixture.selectRow(fixture.rowOf(title));
            ActionLink *link = fixture.detailPane()->links().first();
            emit link->clicked(link);
        };
        open(QStringLiteral("first"));
        open(QStringLiteral("second"));
        QCOMPARE(openViewers().size(), 1);
        MaterialViewer *viewer = openViewers().first();
        QCOMPARE(viewer->windowTitle(), QStringLiteral("second"));
        QVERIFY(viewerText(viewer)->toPlainText().endsWith(QStringLiteral("two")));
        QVERIFY(viewer->windowFlags() & Qt::WindowStaysOnTopHint);
        // The pane remembers the viewer it filled last, so the next material goes there too.
        open(QStringLiteral("first"));
        QCOMPARE(openViewers(), QList<MaterialViewer *>{viewer});
        QCOMPARE(viewer->windowTitle(), QStringLiteral("first"));

        viewer->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        open(QStringLiteral("first"));
        QCOMPARE(openViewers().size(), 1);
        QCOMPARE(openViewers().first()->windowTitle(), QStringLiteral("first"));
    }

    void aViewerPerMaterial()
    {
        MainWindowFixture fixture(Tree);
        changeViewerSettings(fixture.detailPane(), [](DetailPane::ViewerSettings &settings) {
            settings.browseInNewWindow = true;
            settings.windowPerMaterial = true;
        });
        fixture.addInstance(QStringLiteral("tool"), QStringLiteral("Tools"), QString(), QString(),
                            QStringLiteral("desc: line"));
        fixture.click(QStringLiteral("Tools"));
        fixture.selectRow(0);
        ActionLink *link = fixture.detailPane()->links().first();
        for (int i = 0; i < 3; ++i)
            emit link->clicked(link);
        QCOMPARE(openViewers().size(), 3);
        QCOMPARE(openViewers().first()->windowTitle(), QStringLiteral("tool的简介"));
        QCOMPARE(viewerText(openViewers().first())->toPlainText(), QStringLiteral("desc: line"));
    }

    void viewerSelectAllAndCopy()
    {
        MainWindowFixture fixture(Tree);
        const qint64 id = fixture.addText(QStringLiteral("t"), QStringLiteral("A"), QString(),
                                          QStringLiteral("2026-01-01"), QStringLiteral("copy me"));
        MaterialViewer viewer(std::make_shared<HighlightDefinitions>(), DetailRows::ViewInNewWindow, id,
                              16777215);
        viewer.selectAll();
        QCOMPARE(viewerText(&viewer)->textCursor().selectedText().size(),
                 viewerText(&viewer)->toPlainText().size());
        QCOMPARE(childNamed<QToolButton>(&viewer, "selectAllButton")->toolTip(), QStringLiteral("全选"));
        QCOMPARE(childNamed<QToolButton>(&viewer, "copyButton")->toolTip(), QStringLiteral("复制"));
    }
};

QTEST_MAIN(TestDetailPane)
#include "tst_detailpane.moc"
