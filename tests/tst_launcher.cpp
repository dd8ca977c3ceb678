#include "ModalDriver.h"

#include "browse/InstanceLauncher.h"
#include "browse/LaunchPlan.h"

#include <QAbstractButton>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

namespace {
void write(const QString &path, const QByteArray &bytes, QFileDevice::Permissions permissions)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QVERIFY(file.setPermissions(permissions));
}

constexpr QFileDevice::Permissions ReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions Executable = ReadWrite | QFileDevice::ExeOwner;
} // namespace

// What runs and what opens, and what is said when it cannot.
class TestLauncher : public QObject
{
    Q_OBJECT
private slots:
    void plans_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("action");
        QTest::newRow("program") << "run.sh" << int(LaunchPlan::Run);
        QTest::newRow("document") << "notes.xyz" << int(LaunchPlan::Open);
        QTest::newRow("folder") << "folder" << int(LaunchPlan::OpenFolder);
        QTest::newRow("missing") << "gone" << int(LaunchPlan::Missing);
        QTest::newRow("empty path") << "" << int(LaunchPlan::Missing);
    }
    void plans()
    {
        QFETCH(QString, name);
        QFETCH(int, action);
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("run.sh")), "#!/bin/sh\n", Executable);
        write(dir.filePath(QStringLiteral("notes.xyz")), "?", ReadWrite);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const LaunchPlan plan = LaunchPlan::of(name.isEmpty() ? name : dir.filePath(name));
        QCOMPARE(int(plan.action), action);
        if (action == LaunchPlan::Run)
            QCOMPARE(plan.workingFolder, dir.path());
    }

    // A program runs in its own folder once the person agreed, not before.
    void programRunsAfterTheQuestion_data()
    {
        QTest::addColumn<bool>("agree");
        QTest::newRow("run") << true;
        QTest::newRow("cancel") << false;
    }
    void programRunsAfterTheQuestion()
    {
        QFETCH(bool, agree);
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("make note.sh"));
        write(program, "#!/bin/sh\necho ran > made.txt\n", Executable);
        QWidget window;
        InstanceLauncher launcher(&window);
        ModalDriver driver;
        driver.answerNextBox(agree ? QMessageBox::Yes : QMessageBox::Cancel);
        launcher.launch(program);
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes.first().text, QStringLiteral("要运行程序“%1”吗？").arg(program));
        if (agree)
            QTRY_VERIFY(QFile::exists(dir.filePath(QStringLiteral("made.txt"))));
        QTest::qWait(agree ? 0 : 200);
        QCOMPARE(QFile::exists(dir.filePath(QStringLiteral("made.txt"))), agree);
    }

    // Files and folders go to the desktop's opener; what it cannot open is said, with the reason.
    void openerIsAskedAndItsStatusRead_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("said");
        const QString records = QStringLiteral("printf %s \"$1\" > \"$0\"");
        QTest::newRow("file opened") << "notes.xyz" << records << QString();
        QTest::newRow("folder opened") << "folder" << records << QString();
        QTest::newRow("no handler") << "notes.xyz"
                                    << "exit 3"
                                    << "系统中没有能打开这种文件的程序";
        QTest::newRow("no opener") << "notes.xyz"
                                   << ""
                                   << "系统中没有打开文件的工具";
        QTest::newRow("missing") << "gone" << records << "资料路径有错";
    }
    void openerIsAskedAndItsStatusRead()
    {
        QFETCH(QString, target);
        QFETCH(QString, opener);
        QFETCH(QString, said);
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("notes.xyz")), "?", ReadWrite);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString record = dir.filePath(QStringLiteral("opened"));
        QWidget window;
        InstanceLauncher launcher(&window);
        launcher.setOpener(
            opener.isEmpty() ? QStringList{dir.filePath(QStringLiteral("no-such-opener"))}
                             : QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"), opener, record});
        QSignalSpy finished(&launcher, &InstanceLauncher::openerFinished);
        ModalDriver driver;
        launcher.launch(dir.filePath(target));
        if (target != QLatin1String("gone"))
            QTRY_COMPARE(finished.size(), 1);
        if (said.isEmpty()) {
            QVERIFY(driver.boxes.isEmpty());
            QFile file(record);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(file.readAll()), dir.filePath(target));
        } else {
            QCOMPARE(driver.boxes.size(), 1);
            QVERIFY2(driver.boxes.first().text.contains(said), qPrintable(driver.boxes.first().text));
        }
    }
};

QTEST_MAIN(TestLauncher)
#include "tst_launcher.moc"
