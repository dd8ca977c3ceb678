#include "MainWindowFixture.h"

#include "browse/DetailPane.h"
#include "browse/DetailRows.h"
#include "browse/MaterialList.h"
#include "browse/MaterialReader.h"
#include "browse/MaterialViewer.h"
#include "search/FullTextBox.h"
#include "search/FullTextSearch.h"
#include "shell/MainWindow.h"
#include "tree/CategoryTree.h"
#include "widgets/ActionLink.h"

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QStringList Tree{QStringLiteral("文字资料0"), QStringLiteral("+笔记1"), QStringLiteral("实例资料0"),
                       QStringLiteral("+工具1"), QStringLiteral("搜索结果0")};

FullTextBox *box(const MainWindowFixture &fixture)
{
    return childNamed<FullTextBox>(fixture.window.get(), "fullTextBox");
}

void search(MainWindowFixture &fixture, const QString &typed)
{
    box(fixture)->setText(typed);
    QTest::keyClick(box(fixture), Qt::Key_Return);
}

ActionLink *link(const MainWindowFixture &fixture, const QString &caption)
{
    for (ActionLink *link : fixture.detailPane()->links()) {
        if (link->text() == caption)
            return link;
    }
    return nullptr;
}

// The marked texts of a viewer, and whether its cursor stands at the first mark.
QStringList marks(const QPlainTextEdit *viewer)
{
    QStringList texts;
    for (const QTextEdit::ExtraSelection &mark : viewer->extraSelections())
        texts.append(mark.cursor.selectedText());
    if (!viewer->extraSelections().isEmpty() &&
        viewer->textCursor().position() != viewer->extraSelections().first().cursor.selectionStart())
        texts.append(QStringLiteral("cursor elsewhere"));
    return texts;
}
} // namespace

class TestFullTextWindow : public QObject
{
    Q_OBJECT
private slots:
    void foundShownAndMarked()
    {
        MainWindowFixture fixture(Tree);
        const QString body = QStringLiteral("开头是一段很长的文字，讲了许多别的事情。\r\n中间说到鹦鹉学舌，"
                                            "后来又是很多别的内容，鹦鹉再来一次。");
        fixture.addText(QStringLiteral("读书"), QStringLiteral("笔记"), {},
                        QStringLiteral("2026-01-01 10:00:00"), body);
        fixture.addText(QStringLiteral("鹦鹉在标题里"), QStringLiteral("笔记"));
        fixture.addInstance(QStringLiteral("工具"), QStringLiteral("工具"), {},
                            QStringLiteral("/opt/鹦鹉/run"));
        QCOMPARE(box(fixture)->placeholderText(), QStringLiteral("全文搜索"));
        QCOMPARE(box(fixture)->accessibleName(), QStringLiteral("全文搜索"));

        search(fixture, QStringLiteral("鹦鹉"));
        QCOMPARE(fixture.statusLine()->text(), QStringLiteral("恭喜，共找到3个资料"));
        QVERIFY(CategoryTree::isSearchResultNode(CategoryTree::selectedNode(fixture.tree())));
        // The title's hit first, then the better matches.
        QCOMPARE(fixture.captions().first(), QStringLiteral("鹦鹉在标题里"));
        QCOMPARE(fixture.captions().size(), 3);

        fixture.selectRow(fixture.rowOf(QStringLiteral("读书")));
        const QString preview = fixture.detail()->topLevelItem(4)->text(1);
        QVERIFY2(preview.startsWith(QStringLiteral("...")) &&
                     preview.contains(QStringLiteral("中间说到鹦鹉学舌")),
                 qPrintable(preview));
        emit link(fixture, DetailRows::ViewHere)->clicked(link(fixture, DetailRows::ViewHere));
        QCOMPARE(marks(fixture.detailPane()->viewer()->sourceView()),
                 (QStringList{QStringLiteral("鹦鹉"), QStringLiteral("鹦鹉")}));

        fixture.detailPane()->setViewerSettings({true, true, 16777215});
        fixture.listView()->clearSelection();
        fixture.selectRow(fixture.rowOf(QStringLiteral("读书")));
        emit link(fixture, DetailRows::ViewInNewWindow)->clicked(link(fixture, DetailRows::ViewInNewWindow));
        MaterialViewer *viewer = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            viewer = viewer ? viewer : qobject_cast<MaterialViewer *>(widget);
        QVERIFY(viewer);
        QCOMPARE(marks(childNamed<QPlainTextEdit>(viewer, "viewerText")).size(), 2);
        viewer->close();

        // Other hits in the store: no more marks or context.
        fixture.list()->searchResults()->setEntries({{QStringLiteral("读书"), ListEntry::TextMaterial, 2}});
        fixture.list()->refresh();
        fixture.selectRow(0);
        QVERIFY(!fixture.detail()->topLevelItem(4)->text(1).contains(QStringLiteral("鹦鹉")));
    }

    void boxKeys()
    {
        MainWindowFixture fixture(Tree);
        fixture.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
        // The floating window comes up first and takes the focus.
        QApplication::setActiveWindow(fixture.window.get());
        QVERIFY(QTest::qWaitForWindowActive(fixture.window.get()));
        box(fixture)->setText(QStringLiteral("旧的"));
        QTest::keyClick(fixture.window.get(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(box(fixture)->hasFocus());
        QCOMPARE(box(fixture)->selectedText(), QStringLiteral("旧的"));
        QTest::keyClick(box(fixture), Qt::Key_Escape);
        QVERIFY(box(fixture)->text().isEmpty());
    }

    void badInputIsAnsweredOnTheStatusLine_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("status");
        QTest::newRow("only blanks") << QStringLiteral("  \u3000 ") << QString()
                                     << QStringLiteral("请在“全文搜索”框中输入要找的文字");
        QTest::newRow("10,000 characters")
            << QString(10000, QLatin1Char('x')) << QString()
            << QStringLiteral("要找的文字太长（10000个字），最多200个字，请缩短后再试");
        QTest::newRow("outside GBK") << QStringLiteral("😀 €") << QString()
                                     << QStringLiteral("恭喜，共找到1个资料");
        QTest::newRow("missing database") << QStringLiteral("正文") << QStringLiteral("missing")
                                          << QStringLiteral("全文搜索失败：找不到数据库文件");
        QTest::newRow("locked database")
            << QStringLiteral("正文") << QStringLiteral("locked")
            << QStringLiteral("全文搜索失败：数据库正被其他程序占用，请稍后再试");
    }
    void badInputIsAnsweredOnTheStatusLine()
    {
        QFETCH(QString, typed);
        QFETCH(QString, damage);
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("符号"), QStringLiteral("笔记"), {},
                        QStringLiteral("2026-01-01 10:00:00"), QStringLiteral("正文 😀 €"));
        const QByteArray kept = fixture.folder.readBytes(QStringLiteral("Data.QBD"));
        QSqlDatabase locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        locker.setDatabaseName(fixture.folder.filePath(QStringLiteral("Data.QBD")));
        if (damage == QLatin1String("missing"))
            fixture.folder.remove(QStringLiteral("Data.QBD"));
        if (damage == QLatin1String("locked"))
            QVERIFY(locker.open() && QSqlQuery(locker).exec(QStringLiteral("begin exclusive")));
        search(fixture, typed);
        QFETCH(QString, status);
        QVERIFY2(fixture.statusLine()->text().startsWith(status), qPrintable(fixture.statusLine()->text()));
        locker.close();
        locker = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
        // Still usable: the same search once the database is back.
        if (damage == QLatin1String("missing"))
            fixture.folder.writeBytes(QStringLiteral("Data.QBD"), kept);
        search(fixture, QStringLiteral("正文"));
        QCOMPARE(fixture.statusLine()->text(), QStringLiteral("恭喜，共找到1个资料"));
    }

    // A base of today, without the index, gets it at start with its progress shown.
    void baseWithoutIndexIsBuiltAtStart()
    {
        MainWindowFixture fixture(Tree);
        QVERIFY(fixture.folder.exec(QStringLiteral(
            "with recursive n(i) as (select 1 union all select i+1 from n where i<1500) "
            "insert into textfile(title,bigclassname,main) select '第'||i||'篇','笔记','正文'||i from n")));
        QList<int> progress;
        connect(fixture.window->fullTextSearch(), &FullTextSearch::progressChanged, this,
                [&progress](int value) { progress.append(value); });
        fixture.window->fullTextSearch()->prepareIndex();
        QCOMPARE(fixture.statusLine()->text(), QStringLiteral("全文索引已建立，共1500个资料"));
        QVERIFY(progress.size() >= 3 && progress.last() == 100 &&
                std::is_sorted(progress.cbegin(), progress.cend()));
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from fulltext_title")).toInt(), 1500);
        search(fixture, QStringLiteral("正文14"));
        QCOMPARE(fixture.statusLine()->text(), QStringLiteral("恭喜，共找到111个资料"));
        // A word in nearly every material: all counted, the best listed.
        QVERIFY(fixture.folder.exec(QStringLiteral(
            "with recursive n(i) as (select 1 union all select i+1 from n where i<1000) "
            "insert into textfile(title,bigclassname,main) select '又'||i,'笔记','正文' from n")));
        search(fixture, QStringLiteral("正文"));
        QCOMPARE(fixture.statusLine()->text(), QStringLiteral("恭喜，共找到2500个资料（显示前2000个）"));
        QCOMPARE(fixture.model()->rowCount(), 2000);
    }
};

QTEST_MAIN(TestFullTextWindow)
#include "tst_fulltext_window.moc"
