// The shared base when its server hangs or restarts, reached through a relay that the tests make
// fail: an operation that waits is given up within its bound while the window goes on, and an
// idle window takes up the connection again by itself and follows other copies' changes.
#include "MainWindowFixture.h"
#include "TcpProxy.h"
#include "TestFolder.h"
#include "TestServer.h"

#include "store/Database.h"
#include "store/Material.h"
#include "store/Statements.h"
#include "store/TextMaterial.h"
#include "tree/CategoryCheck.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"
#include "tree/ServerTree.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QLabel>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {
const QStringList Tree =
    QStringLiteral("文字资料0 +A1 +Keep1 实例资料0 +Tools1 搜索结果0").split(QLatin1Char(' '));
enum Operation { ListRead, AddMaterial, TreeSave, DeleteMaterial };
} // namespace

class TestSharedBaseOutages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { REQUIRE_TEST_SERVER(); }

    // The relay holds what the program sends and answers nothing, as a hung server does.
    void aHungServerIsGivenUpWhileTheWindowGoesOn_data()
    {
        const QString notDone = QStringLiteral("无法连接共享资料库（服务器%1），这次操作没有执行");
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("said");
        QTest::newRow("list read") << int(ListRead) << notDone;
        QTest::newRow("add a material") << int(AddMaterial) << notDone;
        QTest::newRow("tree save") << int(TreeSave) << notDone;
        // A statement that commits by itself may yet reach the server and be done.
        QTest::newRow("delete a material")
            << int(DeleteMaterial)
            << QStringLiteral(
                   "共享资料库（服务器%1）没有回应，无法确定这次操作是否已经完成，请在连接恢复后查看");
    }
    void aHungServerIsGivenUpWhileTheWindowGoesOn()
    {
        QFETCH(int, operation);
        QFETCH(QString, said);
        TcpProxy proxy;
        MainWindowFixture fixture(Tree, [&proxy](const TestFolder &folder) {
            proxy.redirect(folder.filePath(QStringLiteral("Base.ini")));
        });
        // A failed check leaves no hung relay behind that the window's end would wait on.
        const auto resumed = qScopeGuard([&proxy] { proxy.resume(); });
        QCOMPARE(fixture.database->settings().port(), int(proxy.port()));
        fixture.addText(QStringLiteral("kept"), QStringLiteral("Keep"));
        fixture.addText(QStringLiteral("in A"), QStringLiteral("A"));
        QHash<QString, qint64> ids;
        if (operation == DeleteMaterial) {
            for (const QString &name : {QStringLiteral("first"), QStringLiteral("second")})
                ids.insert(name, fixture.addText(name, QStringLiteral("Keep")));
        }
        fixture.click(QStringLiteral("Keep"));
        QVERIFY(fixture.captions().contains(QStringLiteral("kept")));

        CategoryCheck check(fixture.tree(), fixture.serverTree.get(), nullptr);
        QVector<TreeNode> tree = CategoryTree::collect(fixture.tree());
        // Whether it was done, and what it said.
        auto run = [&](const QString &name) -> std::pair<bool, QString> {
            if (operation == ListRead) {
                fixture.click(QStringLiteral("A"));
                return {fixture.captions() == QStringList{QStringLiteral("in A")},
                        fixture.statusLine()->text()};
            }
            if (operation == DeleteMaterial) {
                const bool deleted = Material::executeStatement(
                    Statements::deleteMaterial(QStringLiteral("textfile"), ids.value(name)));
                return {deleted, fixture.statusLine()->text()};
            }
            QString failure;
            if (operation == AddMaterial) {
                TextMaterial record;
                record.title = name;
                record.category = QStringLiteral("Keep");
                const bool saved = check.save(
                    {NodeRules::TextRootText, record.category, QString()},
                    [&record] { return record.insert(); }, &failure);
                return {saved, failure.isEmpty() ? record.resultMessage() : failure};
            }
            tree[0].children.append({name, 1, {}});
            return {fixture.serverTree->save(tree, &failure), failure};
        };
        // The operation's change is in the base.
        auto inBase = [&](const QString &name) {
            if (operation == TreeSave)
                return fixture.folder.treeBytes().contains("+" + name.toUtf8() + "1");
            const int rows =
                fixture.folder
                    .value(QStringLiteral("select count(*) from textfile where title='%1'").arg(name))
                    .toInt();
            return rows == (operation == AddMaterial ? 1 : 0);
        };

        // The window's timers go on while the operation waits, and the status line says why.
        const QString waiting = QStringLiteral("正在连接共享资料库（服务器%1）……").arg(proxy.host());
        int ticks = 0;
        bool waitShown = false;
        QTimer ticker;
        ticker.setInterval(100);
        connect(&ticker, &QTimer::timeout, this, [&] {
            ++ticks;
            waitShown = waitShown || fixture.statusLine()->text() == waiting;
        });
        proxy.pause();
        QElapsedTimer clock;
        clock.start();
        ticker.start();
        const auto [done, saidThen] = run(QStringLiteral("first"));
        const qint64 waited = clock.elapsed();
        ticker.stop();
        QVERIFY(!done);
        QVERIFY2(saidThen.endsWith(said.arg(proxy.host())), qPrintable(saidThen));
        // A guard against a hang, not a measure of speed.
        QVERIFY2(waited < 20000, qPrintable(QString::number(waited)));
        QVERIFY2(ticks > 0 && ticks >= waited / 200,
                 qPrintable(QStringLiteral("%1 ticks in %2 ms").arg(ticks).arg(waited)));
        QVERIFY(waitShown);
        if (operation == ListRead)
            QCOMPARE(fixture.captions(), QStringList{QStringLiteral("kept")});
        else if (operation != DeleteMaterial)
            QVERIFY(!inBase(QStringLiteral("first")));

        proxy.resume();
        const auto [doneNow, saidNow] = run(QStringLiteral("second"));
        QVERIFY2(doneNow, qPrintable(saidNow));
        QVERIFY(operation == ListRead || inBase(QStringLiteral("second")));
    }

    // The server restarts while the window does nothing: the window finds the connection lost,
    // makes it again once the server answers, shows what changed while it was away and hears of
    // what changes after.
    void anIdleWindowFollowsChangesAfterTheServerRestarts()
    {
        TcpProxy proxy;
        MainWindowFixture fixture(Tree, [&proxy](const TestFolder &folder) {
            proxy.redirect(folder.filePath(QStringLiteral("Base.ini")));
        });
        fixture.click(QStringLiteral("Keep"));
        QSignalSpy changes(fixture.database.get(), &Database::changedElsewhere);
        proxy.restart(2000);
        QTRY_VERIFY_WITH_TIMEOUT(proxy.isAccepting(), 5000);
        // Another copy's changes, announced on the channel as the program's own are.
        QVERIFY(fixture.folder.execSeenByTriggers(
            QStringLiteral("insert into textfile(title,classname,bigclassname,writer,createtime,main) "
                           "values('after the restart','','Keep','','2026-01-01 10:00:00','')")));
        QTRY_VERIFY_WITH_TIMEOUT(fixture.captions().contains(QStringLiteral("after the restart")), 12000);
        QTRY_VERIFY_WITH_TIMEOUT(changes.contains({QStringLiteral("reconnected")}), 5000);
        // Heard of only by listening again.
        QVERIFY(
            fixture.folder.exec(QStringLiteral("update zindrel_state set value=value+1 where name='tree'")));
        QVERIFY(fixture.folder.execSeenByTriggers(
            QStringLiteral("insert into category values(100, 0, 99, 'Fresh')")));
        QTRY_VERIFY_WITH_TIMEOUT(fixture.node(QStringLiteral("Fresh")), 12000);
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestSharedBaseOutages test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sharedbase_outages.moc"
