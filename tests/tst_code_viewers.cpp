#include "MainWindowFixture.h"
#include "TestServer.h"

#include "browse/DetailPane.h"
#include "browse/MaterialReader.h"
#include "browse/MaterialViewer.h"
#include "code/LanguageBar.h"
#include "code/MaterialTextView.h"
#include "shell/MainWindow.h"
#include "widgets/ActionLink.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>
#include <QtTest>

namespace {
const QStringList Tree{QStringLiteral("文字资料0"), QStringLiteral("+A1"), QStringLiteral("实例资料0"),
                       QStringLiteral("+Tools1"), QStringLiteral("搜索结果0")};
const QString Created = QStringLiteral("2026-01-01 10:00:00");

// Opens the material through its detail-pane link.
void open(MainWindowFixture &fixture, const QString &title)
{
    fixture.selectRow(fixture.rowOf(title));
    ActionLink *link = fixture.detailPane()->links().first();
    emit link->clicked(link);
}

bool isFixedPitch(const QWidget *view)
{
    return view->font().family() == QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

void choose(MaterialReader *reader, const QString &language)
{
    QComboBox *box = reader->languageBar()->languageBox();
    const int index = box->findData(language);
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
    emit box->activated(index);
}
} // namespace

class TestCodeViewers : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SKIP_WITHOUT_TEST_SERVER(); }

    // Code fixed-pitch and coloured past the first lines, prose in the configured face, Markdown
    // rendered with its source a click away; the language a reader sets is kept for the material
    // and shown by the separate viewer too.
    void eachLanguageHasItsLook()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("quicksort.cpp"), QStringLiteral("A"), QString(), Created,
                        QStringLiteral("int main() {\r\n\treturn 0; // done\r\n}\r\n"),
                        QStringLiteral("O'Brien \""));
        fixture.addText(QStringLiteral("部署笔记"), QStringLiteral("A"), QString(), Created,
                        QStringLiteral("# 标题\r\n\r\n- 一\r\n- 二\r\n\r\n```python\r\nx = 1\r\n```\r\n"));
        fixture.addText(QStringLiteral("读书"), QStringLiteral("A"), QString(), Created,
                        QStringLiteral("纯文字\r\n"));
        fixture.click(QStringLiteral("A"));
        MaterialReader *reader = fixture.detailPane()->viewer();
        QPlainTextEdit *source = reader->sourceView();

        open(fixture, QStringLiteral("quicksort.cpp"));
        QCOMPARE(reader->languageBar()->language(), QStringLiteral("cpp"));
        QVERIFY(isFixedPitch(source));
        QCOMPARE(source->tabStopDistance(),
                 4 * QFontMetricsF(source->font()).horizontalAdvance(QLatin1Char(' ')));
        QVERIFY(source->document()->findBlockByNumber(0).layout()->formats().isEmpty()); // "作者：O'Brien \""
        QVERIFY(!source->document()->findBlockByNumber(7).layout()->formats().isEmpty());

        open(fixture, QStringLiteral("读书"));
        QCOMPARE(reader->languageBar()->language(), QStringLiteral("text"));
        QVERIFY(!isFixedPitch(source));
        QVERIFY(!reader->languageBar()->sourceBox()->isEnabled());

        open(fixture, QStringLiteral("部署笔记"));
        QCOMPARE(reader->textView()->shownView(), reader->textView()->renderedView());
        const QString rendered = reader->textView()->renderedView()->toPlainText();
        QVERIFY2(rendered.startsWith(QStringLiteral("作者：\n")) &&
                     rendered.contains(QStringLiteral("\n标题\n")) && !rendered.contains(QLatin1Char('#')),
                 qPrintable(rendered));
        QTextBlock code = reader->textView()->renderedView()->document()->lastBlock();
        while (code.isValid() && code.text() != QStringLiteral("x = 1"))
            code = code.previous();
        QVERIFY(!code.layout()->formats().isEmpty());
        reader->languageBar()->sourceBox()->click();
        QCOMPARE(reader->textView()->shownView(), source);
        QVERIFY(source->toPlainText().contains(QStringLiteral("# 标题")));
        reader->languageBar()->sourceBox()->click();

        open(fixture, QStringLiteral("读书"));
        choose(reader, QStringLiteral("python"));
        QVERIFY(isFixedPitch(source));
        open(fixture, QStringLiteral("quicksort.cpp"));
        open(fixture, QStringLiteral("读书"));
        QCOMPARE(reader->languageBar()->language(), QStringLiteral("python"));
        fixture.detailPane()->setViewerSettings({true, true, 16777215});
        fixture.selectRow(fixture.rowOf(QStringLiteral("quicksort.cpp")));
        open(fixture, QStringLiteral("读书"));
        MaterialViewer *viewer = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            viewer = viewer ? viewer : qobject_cast<MaterialViewer *>(widget);
        QVERIFY(viewer);
        QCOMPARE(viewer->findChild<LanguageBar *>()->language(), QStringLiteral("python"));
        delete viewer;
    }

    // Text too long to render or to colour still opens, as its source, and the status line says
    // why Markdown is not rendered.
    void hugeTextsOpen()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("long.cpp"), QStringLiteral("A"), QString(), Created,
                        QStringLiteral("int x = ") + QString(1024 * 1024, QLatin1Char('1')) +
                            QStringLiteral(";\r\n"));
        fixture.addText(QStringLiteral("many.cpp"), QStringLiteral("A"), QString(), Created,
                        QStringLiteral("int x; // a line of code\r\n").repeated(40000));
        fixture.addText(QStringLiteral("huge.md"), QStringLiteral("A"), QString(), Created,
                        QString(MaterialTextView::LongestRendered / 16, QLatin1Char('x'))
                            .append(QStringLiteral("\r\n"))
                            .repeated(17));
        fixture.click(QStringLiteral("A"));
        MaterialReader *reader = fixture.detailPane()->viewer();
        open(fixture, QStringLiteral("long.cpp"));
        QVERIFY(reader->sourceView()->toPlainText().endsWith(QStringLiteral("1;")));
        // The first lines at once, the rest in parts on the event loop, coloured as they come.
        open(fixture, QStringLiteral("many.cpp"));
        QVERIFY(reader->textView()->isLoading());
        QTRY_VERIFY(!reader->textView()->isLoading());
        const QTextDocument *document = reader->sourceView()->document();
        QCOMPARE(document->blockCount(), 6 + 40000);
        QTRY_VERIFY(!document->lastBlock().previous().layout()->formats().isEmpty());
        open(fixture, QStringLiteral("huge.md"));
        QCOMPARE(reader->textView()->shownView(), reader->sourceView());
        QVERIFY2(fixture.statusLine()->text().contains(QStringLiteral("不排版显示")),
                 qPrintable(fixture.statusLine()->text()));
    }

    // "复制资料内容" and Ctrl+C in the list copy a body as a person sees it, with its own line
    // ends, or an instance material's path.
    void copiesWhatAMaterialHolds()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("t"), QStringLiteral("A"), QString(), Created,
                        QStringLiteral("it+(DYH)+s a+(MH)+ b\r\nline 2\r\n"));
        fixture.addInstance(QStringLiteral("tool"), QStringLiteral("Tools"), QString(),
                            QStringLiteral("/opt/x y/run"));
        auto *copy = fixture.window->findChild<QAction *>(QStringLiteral("copyMaterialAction"));
        QVERIFY(copy);
        QCOMPARE(copy->text(), QStringLiteral("复制资料内容"));
        QVERIFY(fixture.listView()->actions().contains(copy));
        QCOMPARE(copy->shortcut(), QKeySequence(QKeySequence::Copy));
        fixture.click(QStringLiteral("A"));
        fixture.selectRow(fixture.rowOf(QStringLiteral("t")));
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("it's a: b\r\nline 2"));
        fixture.click(QStringLiteral("Tools"));
        fixture.selectRow(0);
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("/opt/x y/run"));
    }
};

QTEST_MAIN(TestCodeViewers)
#include "tst_code_viewers.moc"
