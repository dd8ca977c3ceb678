#include "TestFolder.h"

#include "base/ProgramFolder.h"
#include "shell/UserDataFolder.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// The data folder an installed program makes on its first start, from the installed defaults.
class TestUserData : public QObject
{
    Q_OBJECT
private slots:
    void firstStartMakesTheFolder()
    {
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral(".local/share/Zindrel"));
        QString error;
        QVERIFY2(UserDataFolder::prepare(folder, TestFolder::installedFile(QString()), &error),
                 qPrintable(error));
        // Nobody but its owner: no group or other bits.
        QCOMPARE(QFile::permissions(folder) & 0x0777,
                 QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
        for (const char *name : {"MTS.qb", "QB.ini"}) {
            QFile made(QDir(folder).filePath(QString::fromLatin1(name)));
            QFile installed(TestFolder::installedFile(QString::fromLatin1(name)));
            QVERIFY(made.open(QIODevice::ReadOnly) && installed.open(QIODevice::ReadOnly));
            QCOMPARE(made.readAll(), installed.readAll());
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("made"));
            db.setDatabaseName(QDir(folder).filePath(QStringLiteral("Data.QBD")));
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("select count(*) from textfile")) && query.next());
            QCOMPARE(query.value(0).toInt(), 0);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("made"));

        // A later start keeps what the person filed; missing defaults are said, not half made.
        QFile tree(QDir(folder).filePath(QStringLiteral("MTS.qb")));
        QVERIFY(tree.open(QIODevice::WriteOnly) && tree.write("mine") == 4);
        tree.close();
        QVERIFY(UserDataFolder::prepare(folder, TestFolder::installedFile(QString()), &error));
        QVERIFY(tree.open(QIODevice::ReadOnly));
        QCOMPARE(tree.readAll(), QByteArray("mine"));
        QVERIFY(!UserDataFolder::prepare(home.filePath(QStringLiteral("other")),
                                         home.filePath(QStringLiteral("none")), &error));
        QVERIFY2(error.contains(QStringLiteral("MTS.qb")), qPrintable(error));
    }

    // This build keeps its files beside its executable, as ./run, the tests and the benchmark do.
    void aFolderOfItsOwnKeepsItsFilesThere()
    {
        QVERIFY(!ProgramFolder::isInstalledLayout());
        ProgramFolder::setPathForTesting(QString());
        QCOMPARE(ProgramFolder::path(), QCoreApplication::applicationDirPath());
        QCOMPARE(ProgramFolder::installedDataPath(), QCoreApplication::applicationDirPath());
    }
};

QTEST_MAIN(TestUserData)
#include "tst_userdata.moc"
