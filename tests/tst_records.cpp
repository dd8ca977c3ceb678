#include "FixedClock.h"
#include "TestFolder.h"
#include "TestServer.h"

#include "base/Clock.h"
#include "store/Database.h"
#include "store/InstanceMaterial.h"
#include "store/SqlText.h"
#include "store/TextMaterial.h"

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
    void initTestCase() { SKIP_WITHOUT_TEST_SERVER(); }
    void init()
    {
        m_folder.reset(new TestFolder);
        m_data.reset(new Database);
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
        TextMaterial record;
        record.title = SqlText::toTokens(QStringLiteral("it's a:b"), false);
        record.author = QStringLiteral("O'Brien");
        record.category = QStringLiteral("数据库");
        record.body = {SqlText::toTokens(QStringLiteral("x:'y'"), true), QStringLiteral("第二行😀")};
        QVERIFY(record.insert());
        QCOMPARE(record.resultMessage(), Material::AddedText);
        QCOMPARE(m_folder->value(QStringLiteral("select main from textfile")).toString(),
                 QStringLiteral("x+(MH)++(DYH)+y+(DYH)+\r\n第二行😀\r\n"));
        QCOMPARE(m_folder->value(QStringLiteral("select title from textfile")).toString(),
                 QStringLiteral("it+(DYH)+s a:b"));
        QCOMPARE(m_folder->value(QStringLiteral("select createtime from textfile")).toString(),
                 QStringLiteral("2026-03-09 14:05:07"));

        TextMaterial loaded;
        QVERIFY(loaded.resultMessage().isEmpty());
        QVERIFY(loaded.load(lastId(*m_folder, QStringLiteral("textfile"))));
        QCOMPARE(loaded.resultMessage(), Material::DoneText);
        QCOMPARE(loaded.title, QStringLiteral("it's a:b"));
        QCOMPARE(loaded.author, QStringLiteral("O'Brien"));
        QCOMPARE(loaded.category, QStringLiteral("数据库"));
        QCOMPARE(loaded.subcategory, QString());
        QCOMPARE(loaded.body, QStringList({QStringLiteral("x:'y'"), QStringLiteral("第二行😀")}));
    }

    void failedLoadKeepsFields()
    {
        TextMaterial record;
        record.title = QStringLiteral("before");
        record.body = {QStringLiteral("old")};
        QVERIFY(!record.load(4711));
        QVERIFY(record.resultMessage().startsWith(Material::FailurePrefix));
        QCOMPARE(record.title, QStringLiteral("before"));
        QVERIFY(record.body.isEmpty());
    }

    // Saved over a material that is gone (another machine deleted it while it was being edited):
    // refused with a clear message, never saved as a new material.
    void updateOfADeletedMaterialFails()
    {
        TextMaterial record;
        record.title = QStringLiteral("t");
        QVERIFY(record.insert());
        const qint64 id = lastId(*m_folder, QStringLiteral("textfile"));
        QVERIFY(m_folder->exec(QStringLiteral("delete from textfile where id=%1").arg(id)));
        record.body = {QStringLiteral("typed meanwhile")};
        QVERIFY(!record.update(id));
        QVERIFY(record.resultMessage().startsWith(Material::FailurePrefix));
        QVERIFY(record.resultMessage().contains(QStringLiteral("已被删除")));
        QCOMPARE(m_folder->value(QStringLiteral("select count(*) from textfile")).toInt(), 0);
    }

    void missingDatabaseFails()
    {
        SKIP_ON_TEST_SERVER();
        m_folder->remove(QStringLiteral("Data.QBD"));
        InstanceMaterial record;
        record.title = QStringLiteral("t");
        QVERIFY(!record.insert());
        QVERIFY(record.resultMessage().startsWith(Material::FailurePrefix));
        QVERIFY(!QFile::exists(m_folder->filePath(QStringLiteral("Data.QBD"))));
    }

private:
    QScopedPointer<TestFolder> m_folder;
    QScopedPointer<Database> m_data;
    FixedClock m_clock;
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
