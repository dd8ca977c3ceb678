#include "FileSizeLimit.h"
#include "FixedClock.h"
#include "TestFolder.h"

#include "exchange/ExportWriter.h"
#include "exchange/ImportPlan.h"
#include "exchange/MaterialImporter.h"
#include "store/Database.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {
const QVector<ExportWriter::Part> WholeText{{{QStringLiteral("文字资料")}, {}, {}, false}};

// While it lives the process acts as a user without rights to root's files, when it runs as
// root (which may write anywhere).
struct WithoutRootRights
{
    const bool dropped = geteuid() == 0 && seteuid(65534) == 0; // nobody
    ~WithoutRootRights() { QVERIFY(!dropped || seteuid(0) == 0); }
};

QStringList entriesOf(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}
} // namespace

class TestExchangeFailures : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        Clock::setInstance(&m_clock);
        m_folder = std::make_unique<TestFolder>();
        m_database = std::make_unique<Database>();
        QVERIFY(
            m_folder->exec(QStringLiteral("insert into textfile(title,bigclassname,main) values('small','A',"
                                          "'x\r\n'),('big','A','%1\r\n'),('after','A','y\r\n')")
                               .arg(QString(200 * 1024, QLatin1Char('b')))));
    }
    void cleanup()
    {
        m_database.reset();
        m_folder.reset();
        Clock::setInstance(nullptr);
    }

    void exportWithoutWritePermission()
    {
        QTemporaryDir target;
        // The base stays readable for the user without rights (who keeps root's group).
        const auto readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        const auto enterable = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(m_folder->path(), readable | enterable | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(m_folder->filePath(QStringLiteral("Data.QBD")),
                                      readable | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(target.path(), readable | enterable));
        ExchangeReport report;
        bool madeFolder = true;
        {
            WithoutRootRights user;
            ExportWriter writer(WholeText);
            report = writer.run(target.path(), [](int, int) { return true; });
            madeFolder = writer.madeFolder();
        }
        QFile::setPermissions(target.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(report.outcome, ExchangeReport::Failed);
        QVERIFY2(report.error.contains(QStringLiteral("没有在文件夹")), qPrintable(report.error));
        QVERIFY(!madeFolder);
        QCOMPARE(entriesOf(target.path()), QStringList());
    }

    // A disk that fills up in the middle: no file is left, least of all a half-written one
    // under a name that looks complete; the base is as it was.
    void exportOntoFullDisk()
    {
        QTemporaryDir target;
        ExchangeReport report;
        {
            const FileSizeLimit limit(64 * 1024);
            ExportWriter writer(WholeText);
            report = writer.run(target.path(), [](int, int) { return true; });
        }
        QCOMPARE(report.outcome, ExchangeReport::Failed);
        QVERIFY2(report.error.contains(QStringLiteral("磁盘可能已满")), qPrintable(report.error));
        QCOMPARE(entriesOf(target.path()), QStringList());
        QCOMPARE(m_folder->value(QStringLiteral("select count(*) from textfile")).toInt(), 3);
    }

    // The unfinished folder of a killed export goes with the next export into the same place;
    // one whose export still runs (its lock held) stays.
    void abandonedExportsAreRemoved()
    {
        QTemporaryDir target;
        const QString abandoned = QStringLiteral("Zindrel 导出 2026-01-01 00-00-00（未完成）");
        const QString running = QStringLiteral("Zindrel 导出 2026-01-01 00-00-01（未完成）");
        const QString own = QStringLiteral("Zindrel 导出 我的（未完成）笔记");
        for (const QString &name : {abandoned, running, own})
            QVERIFY(QDir(target.path()).mkpath(name + QStringLiteral("/文字资料")));
        QLockFile lock(target.filePath(running + QStringLiteral("/.zindrel-export.lock")));
        QVERIFY(lock.tryLock(0));
        ExportWriter writer(WholeText);
        QCOMPARE(writer.run(target.path(), [](int, int) { return true; }).outcome, ExchangeReport::Done);
        QStringList left{QStringLiteral("Zindrel 导出 2026-03-09 14-05-07"), running, own};
        left.sort();
        QCOMPARE(entriesOf(target.path()), left);
        QCOMPARE(entriesOf(writer.folder()),
                 (QStringList{QStringLiteral("index.md"), QStringLiteral("文字资料")}));
    }

    void cancelledExportLeavesNothing()
    {
        QTemporaryDir target;
        ExportWriter writer(WholeText);
        const ExchangeReport report = writer.run(target.path(), [](int done, int) { return done < 2; });
        QCOMPARE(report.outcome, ExchangeReport::Cancelled);
        QCOMPARE(entriesOf(target.path()), QStringList());
    }

    // An import that fills the disk is rolled back whole.
    void importOntoFullDisk()
    {
        QTemporaryDir notes;
        for (int i = 0; i < 40; ++i) {
            QFile file(notes.path() + QStringLiteral("/n%1.md").arg(i));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(20 * 1024, 'n'));
        }
        ImportPlan plan(notes.path(), {QStringLiteral("文字资料"), QStringLiteral("A")},
                        {{QStringLiteral("文字资料"), 0, {{QStringLiteral("A"), 1, {}}}}});
        QVERIFY(plan.scan([](int) { return true; }));
        const qint64 size = QFileInfo(m_folder->filePath(QStringLiteral("Data.QBD"))).size();
        ExchangeReport report;
        {
            const FileSizeLimit limit(static_cast<rlim_t>(size + 8192));
            report = MaterialImporter(plan).run([](int, int) { return true; });
        }
        QCOMPARE(report.outcome, ExchangeReport::Failed);
        QVERIFY(!report.error.isEmpty());
        QCOMPARE(m_folder->value(QStringLiteral("select count(*) from textfile")).toInt(), 3);
        QCOMPARE(m_folder->value(QStringLiteral("pragma integrity_check")).toString(), QStringLiteral("ok"));
    }

private:
    FixedClock m_clock;
    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<Database> m_database;
};

QTEST_GUILESS_MAIN(TestExchangeFailures)
#include "tst_exchange_failures.moc"
