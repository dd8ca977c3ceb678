#include "FixedClock.h"
#include "TestFolder.h"

#include "base/Clock.h"
#include "store/ResultMessage.h"
#include "store/SqlText.h"
#include "store/TFileExe.h"
#include "store/TFileText.h"
#include "store/TMainData.h"

#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QtTest>

namespace {
qint64 lastId(const TestFolder &folder, const QString &table)
{
    return folder.value(QStringLiteral("select max(id) from ") + table).toLongLong();
}
} // namespace

class TestRecords : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder.reset(new TestFolder);
        m_data.reset(new TMainData);
        Clock::setInstance(&m_clock);
    }
    void cleanup()
    {
        Clock::setInstance(nullptr);
        m_data.reset();
        m_folder.reset();
    }

    void insertAndLoadText()
    {
        TFileText record;
        record.title = QuoteForSql(QStringLiteral("it's a:b"), false);
        record.writer = QStringLiteral("O'Brien");
        record.bigclassname = QStringLiteral("数据库");
        record.main = {QuoteForSql(QStringLiteral("x:'y'"), true), QStringLiteral("第二行😀")};
        QVERIFY(record.InsertRecord());
        QCOMPARE(ResultMessage, ResultText::Added);
        QCOMPARE(m_folder->value(QStringLiteral("select main from textfile")).toString(),
                 QStringLiteral("x+(MH)++(DYH)+y+(DYH)+\r\n第二行😀\r\n"));
        QCOMPARE(m_folder->value(QStringLiteral("select title from textfile")).toString(),
                 QStringLiteral("it+(DYH)+s a:b"));
        QCOMPARE(m_folder->value(QStringLiteral("select createtime from textfile")).toString(),
                 QStringLiteral("2026-03-09 14:05:07"));

        TFileText loaded;
        QVERIFY(ResultMessage.isEmpty());
        QVERIFY(loaded.LoadRecord(lastId(*m_folder, QStringLiteral("textfile"))));
        QCOMPARE(ResultMessage, ResultText::Done);
        QCOMPARE(loaded.title, QStringLiteral("it's a:b"));
        QCOMPARE(loaded.writer, QStringLiteral("O'Brien"));
        QCOMPARE(loaded.bigclassname, QStringLiteral("数据库"));
        QCOMPARE(loaded.classname, QString());
        QCOMPARE(loaded.main, QStringList({QStringLiteral("x:'y'"), QStringLiteral("第二行😀")}));
    }

    void failedLoadKeepsFields()
    {
        TFileText record;
        record.title = QStringLiteral("before");
        record.main = {QStringLiteral("old")};
        QVERIFY(!record.LoadRecord(4711));
        QVERIFY(ResultMessage.startsWith(ResultText::FailurePrefix));
        QCOMPARE(record.title, QStringLiteral("before"));
        QVERIFY(record.main.isEmpty());
    }

    void missingDatabaseFails()
    {
        m_folder->remove(QStringLiteral("Data.QBD"));
        TFileExe record;
        record.title = QStringLiteral("t");
        QVERIFY(!record.InsertRecord());
        QVERIFY(ResultMessage.startsWith(ResultText::FailurePrefix));
        QVERIFY(!QFile::exists(m_folder->filePath(QStringLiteral("Data.QBD"))));
    }

private:
    QScopedPointer<TestFolder> m_folder;
    QScopedPointer<TMainData> m_data;
    FixedClock m_clock;
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
