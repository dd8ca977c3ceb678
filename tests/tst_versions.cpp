#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "TestServer.h"

#include "base/AnsiText.h"
#include "browse/MaterialList.h"
#include "edit/MaterialCommands.h"
#include "edit/MaterialDialog.h"
#include "history/HistoryCommands.h"
#include "history/LineDiff.h"
#include "history/MaterialVersions.h"
#include "history/VersionHistoryDialog.h"
#include "shell/MainWindow.h"
#include "store/SqlText.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QStringList Tree =
    QStringLiteral("文字资料0 +A1 ++B2 +Keep1 实例资料0 +Tools1 搜索结果0").split(QLatin1Char(' '));

QStringList versionTitles(Database &database, bool instance, qint64 id)
{
    QVector<VersionEntry> entries;
    QString error;
    if (!MaterialVersions(database, instance, id).list(&entries, &error))
        qWarning("%s", qPrintable(error));
    QStringList titles;
    for (const VersionEntry &entry : entries)
        titles.append(entry.title);
    return titles;
}

KeptMaterial newestVersion(Database &database, bool instance, qint64 id)
{
    QVector<VersionEntry> entries;
    QString error;
    KeptMaterial version;
    bool found = false;
    MaterialVersions versions(database, instance, id);
    if (versions.list(&entries, &error) && !entries.isEmpty())
        versions.read(entries.first().seq, &version, &found, &error);
    return version;
}
} // namespace

class TestVersions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SKIP_WITHOUT_TEST_SERVER(); }

    // Whoever updates a material, the row it had is kept, stamped with the time in UTC.
    void everyUpdateKeepsTheRowBefore_data()
    {
        QTest::addColumn<bool>("instance");
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QStringList>("versions");
        QTest::addColumn<QStringList>("compared");
        const QStringList textLines{QStringLiteral("it's"), QStringLiteral("a:b")};
        const QStringList instanceLines{QStringLiteral("实例路径：/bin/old"), QString(),
                                        QStringLiteral("about")};
        QTest::newRow("text, the modify dialog")
            << false << QStringLiteral("dialog") << QStringList{QStringLiteral("old 'one'")} << textLines;
        QTest::newRow("instance, the modify dialog")
            << true << QStringLiteral("dialog") << QStringList{QStringLiteral("old 'one'")} << instanceLines;
        QTest::newRow("text, another program")
            << false << QStringLiteral("outside") << QStringList{QStringLiteral("old 'one'")} << textLines;
        QTest::newRow("instance, another program")
            << true << QStringLiteral("outside") << QStringList{QStringLiteral("old 'one'")} << instanceLines;
        QTest::newRow("an update that changes nothing")
            << false << QStringLiteral("unchanged") << QStringList() << QStringList();
    }
    void everyUpdateKeepsTheRowBefore()
    {
        QFETCH(bool, instance);
        QFETCH(QString, writer);
        MainWindowFixture fixture(Tree);
        const QString title = QStringLiteral("old 'one'");
        const qint64 id =
            instance ? fixture.addInstance(title, QStringLiteral("Tools"), QString(),
                                           QStringLiteral("/bin/old"), QStringLiteral("about"))
                     : fixture.addText(title, QStringLiteral("Keep"), QString(), QStringLiteral("2026-01-01"),
                                       QStringLiteral("it's\r\na:b\r\n"));
        const QString table = instance ? QStringLiteral("exefile") : QStringLiteral("textfile");
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        if (writer == QLatin1String("dialog")) {
            fixture.click(instance ? QStringLiteral("Tools") : QStringLiteral("Keep"));
            fixture.selectRow(0);
            ModalDriver driver;
            driver.queue([](QWidget *modal) {
                auto *dialog = qobject_cast<MaterialDialog *>(modal);
                QVERIFY(dialog);
                childNamed<QLineEdit>(dialog, "titleEdit")->setText(QStringLiteral("new"));
                childNamed<QPlainTextEdit>(dialog, "bodyEdit")->setPlainText(QStringLiteral("changed"));
                dialog->saveMaterial();
            });
            fixture.window->materialCommands()->modifySelectedMaterial();
        } else {
            QVERIFY(fixture.folder.execSeenByTriggers(QStringLiteral("update %1 set title=%2 where id=%3")
                                                          .arg(table, writer == QLatin1String("outside")
                                                                          ? QStringLiteral("'new'")
                                                                          : QStringLiteral("title"))
                                                          .arg(id)));
        }
        QTEST(versionTitles(*fixture.database, instance, id), "versions");
        const KeptMaterial version = newestVersion(*fixture.database, instance, id);
        QTEST(version.comparedLines(), "compared");
        if (version.seq != 0) {
            QDateTime kept = QDateTime::fromString(version.keptTime, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            kept.setTimeSpec(Qt::UTC);
            QVERIFY2(kept >= before && kept <= QDateTime::currentDateTimeUtc(), qPrintable(version.keptTime));
            QCOMPARE(version.id, id);
        }
    }

    void theLastFiftyVersionsAreKept()
    {
        MainWindowFixture fixture(Tree);
        const qint64 id = fixture.addText(QStringLiteral("v0"), QStringLiteral("Keep"));
        for (int round = 1; round <= 55; ++round)
            QVERIFY(fixture.folder.execSeenByTriggers(
                QStringLiteral("update textfile set title='v%1' where id=%2").arg(round).arg(id)));
        const QStringList titles = versionTitles(*fixture.database, false, id);
        QCOMPARE(titles.size(), 50);
        QCOMPARE(titles.first(), QStringLiteral("v54"));
        QCOMPARE(titles.last(), QStringLiteral("v5"));
    }

    // "恢复此版本" in the dialog: the version becomes the current row (in the categories it names,
    // grown back into the tree or, when they cannot be, in the root's rescue category), and the
    // text it replaces becomes a version.
    void restoringAVersion_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("restoredTo");
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("report");
        QTest::newRow("its own category")
            << QStringLiteral("A") << QStringLiteral("A/B") << QStringLiteral("B") << QString();
        QTest::newRow("a category that is gone") << QStringLiteral("Gone") << QStringLiteral("Gone/B")
                                                 << QStringLiteral("Gone") << QStringLiteral("重新建立");
        QTest::newRow("a root's name")
            << QStringLiteral("文字资料") << QStringLiteral("恢复的资料/") << QStringLiteral("恢复的资料")
            << QStringLiteral("“文字资料”是根目录的名字");
    }
    void restoringAVersion()
    {
        QFETCH(QString, category);
        MainWindowFixture fixture(Tree);
        const qint64 id =
            fixture.addText(QStringLiteral("old"), category, QStringLiteral("B"),
                            QStringLiteral("2026-01-01"), QStringLiteral("same\r\nold line\r\n"));
        QVERIFY(fixture.folder.execSeenByTriggers(
            QStringLiteral(
                "update textfile set title='new',bigclassname='A',main='same\r\nnew line\r\nadded\r\n' "
                "where id=%1")
                .arg(id)));
        fixture.click(QStringLiteral("B"));
        fixture.selectRow(0);
        ModalDriver driver;
        int versionsAfter = 0;
        driver.queue([&](QWidget *modal) {
            auto *dialog = qobject_cast<VersionHistoryDialog *>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("历史版本 - new"));
            auto *list = childNamed<QTreeWidget>(dialog, "versionList");
            QCOMPARE(list->topLevelItemCount(), 1);
            QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("old"));
            // "old line" is gone from the current text; "new line" and "added" came.
            QCOMPARE(childNamed<QPlainTextEdit>(dialog, "versionText")->extraSelections().size(), 1);
            QCOMPARE(childNamed<QPlainTextEdit>(dialog, "currentText")->extraSelections().size(), 2);
            driver.answerNextBox(QMessageBox::Yes);
            dialog->restoreSelectedVersion();
            versionsAfter = list->topLevelItemCount();
            dialog->reject();
        });
        fixture.window->historyCommands()->showVersionsOfSelected();
        QCOMPARE(versionsAfter, 2);
        QCOMPARE(fixture.folder.value(QStringLiteral("select title||'|'||main from textfile")).toString(),
                 QStringLiteral("old|same\r\nold line\r\n"));
        QTEST(fixture.folder.value(QStringLiteral("select bigclassname||'/'||classname from textfile"))
                  .toString(),
              "restoredTo");
        QCOMPARE(versionTitles(*fixture.database, false, id),
                 QStringList({QStringLiteral("new"), QStringLiteral("old")}));
        QFETCH(QString, node);
        QVERIFY(fixture.node(node));
        QVERIFY(AnsiText::decode(fixture.folder.treeBytes()).contains(node));
        QFETCH(QString, report);
        const QStringList reports = driver.texts().filter(QStringLiteral("已恢复此版本"));
        QCOMPARE(reports.size(), report.isEmpty() ? 0 : 1);
        if (!report.isEmpty())
            QVERIFY2(reports.first().contains(report), qPrintable(reports.first()));
        // The list shows what B holds now: the material stays selected where it still is.
        QCOMPARE(fixture.list()->selectedEntry().id, node == QLatin1String("B") ? id : 0);
    }

    void lineDiffMarksTheChangedLines_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QList<int>>("removed");
        QTest::addColumn<QList<int>>("added");
        QTest::newRow("equal") << "a b c"
                               << "a b c" << QList<int>() << QList<int>();
        QTest::newRow("one line changed") << "a b c d"
                                          << "a x c d" << QList<int>{1} << QList<int>{1};
        QTest::newRow("lines added at the end") << "a b"
                                                << "a b c d" << QList<int>() << QList<int>{2, 3};
        QTest::newRow("a line removed at the start") << "a b c"
                                                     << "b c" << QList<int>{0} << QList<int>();
        QTest::newRow("from nothing") << ""
                                      << "a b" << QList<int>() << QList<int>{0, 1};
        QTest::newRow("to nothing") << "a b"
                                    << "" << QList<int>{0, 1} << QList<int>();
        QTest::newRow("two places") << "a b c d e"
                                    << "a x c d y" << QList<int>{1, 4} << QList<int>{1, 4};
    }
    void lineDiffMarksTheChangedLines()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const LineDiff diff(before.split(QLatin1Char(' '), Qt::SkipEmptyParts),
                            after.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        QTEST(QList<int>(diff.removed().cbegin(), diff.removed().cend()), "removed");
        QTEST(QList<int>(diff.added().cbegin(), diff.added().cend()), "added");
    }
};

QTEST_MAIN(TestVersions)
#include "tst_versions.moc"
