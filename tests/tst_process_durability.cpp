// Durability under SIGKILL at seeded random moments: the database keeps every insert that
// returned, whole; the tree file is always one whole tree or the other; and category renames
// killed anywhere between the database and the tree file leave every material under a category
// at the next start.
#include "TestFolder.h"

#include "base/AnsiText.h"
#include "base/ProgramFolder.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "store/TextMaterial.h"
#include "tree/CategoryTree.h"
#include "tree/TreeFile.h"

#include <QApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QTreeWidget>
#include <QtTest>

#include <csignal>
#include <cstdio>

namespace {
constexpr int Rounds = 12;

QVector<TreeNode> treeOf(const QString &name, int children)
{
    TreeNode root{QStringLiteral("文字资料"), 0, {}};
    for (int i = 0; i < children; ++i)
        root.children.append({name + QString::number(i), 1, {{QStringLiteral("子分类%1").arg(i), 2, {}}}});
    return {root, {QStringLiteral("实例资料"), 0, {}}, {QStringLiteral("搜索结果"), 0, {}}};
}

// Two trees of different sizes, so that a mixture or a cut could not pass for either.
QVector<TreeNode> firstTree()
{
    return treeOf(QStringLiteral("甲"), 40);
}
QVector<TreeNode> secondTree()
{
    return treeOf(QStringLiteral("乙乙乙"), 300);
}

int insertForever(const QString &folder)
{
    ProgramFolder::setPathForTesting(folder);
    Database database;
    for (int i = 0;; ++i) {
        TextMaterial record;
        record.title = QStringLiteral("title %1").arg(i);
        record.category = QStringLiteral("A");
        record.body = {QString(2000, QLatin1Char('x')), QStringLiteral("第%1条").arg(i)};
        if (record.insert()) {
            std::printf("%d\n", i);
            std::fflush(stdout);
        }
    }
}

int saveTreesForever(const QString &folder)
{
    TreeFile file(QDir(folder).filePath(QStringLiteral("MTS.qb")));
    std::printf("saving\n");
    std::fflush(stdout);
    for (int i = 0;; ++i)
        file.save(i % 2 ? secondTree() : firstTree());
}

// Renames the one first-level category again and again, each time as the category command does:
// the materials' statement committed only after the tree file was saved.
int renameForever(const QString &folder)
{
    ProgramFolder::setPathForTesting(folder);
    Database database;
    TreeFile file(QDir(folder).filePath(QStringLiteral("MTS.qb")));
    QVector<TreeNode> roots = file.load();
    std::printf("renaming\n");
    std::fflush(stdout);
    for (int i = 0;; ++i) {
        TreeNode &category = roots[0].children[0];
        const QString old = category.name;
        category.name = QStringLiteral("分类%1").arg(i);
        if (!Material::renameCategory(old, QString(), QStringLiteral("文字资料"), category.name,
                                      [&] { return file.save(roots); }))
            category.name = old;
    }
}

QProcess *startChild(QObject *parent, const QString &mode, const QString &folder)
{
    auto *child = new QProcess(parent);
    child->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode, folder});
    return child;
}

void killAfter(QProcess *child, int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
    ::kill(static_cast<pid_t>(child->processId()), SIGKILL);
    child->waitForFinished(10000);
}
} // namespace

class TestDurability : public QObject
{
    Q_OBJECT
private slots:
    void insertsSurviveKills()
    {
        QRandomGenerator random(20261208);
        TestFolder folder;
        QSet<int> printed;
        for (int round = 0; round < Rounds; ++round) {
            QProcess *child = startChild(this, QStringLiteral("insert"), folder.path());
            QVERIFY(child->waitForStarted());
            QVERIFY(child->waitForReadyRead(10000)); // inserting has begun
            killAfter(child, random.bounded(20, 300));
            for (const QByteArray &line : child->readAllStandardOutput().split('\n')) {
                if (!line.isEmpty())
                    printed.insert(line.toInt() + round * 1000000);
            }
            delete child;
            QCOMPARE(folder.value(QStringLiteral("pragma integrity_check")).toString(), QStringLiteral("ok"));
        }
        // Each round numbers its inserts from 0: tell the rounds apart by their insertion order.
        const QList<QVariantList> rows =
            folder.rows(QStringLiteral("select id,title,main from textfile order by id"));
        QMap<QString, int> stored;
        for (const QVariantList &row : rows) {
            stored[row.at(1).toString()] += 1;
            QVERIFY(row.at(2).toString().endsWith(QStringLiteral("条\r\n")));
        }
        int round = 0;
        int previous = -1;
        QSet<int> seen;
        for (const QVariantList &row : rows) {
            const int number = row.at(1).toString().mid(6).toInt();
            if (number <= previous)
                ++round;
            previous = number;
            seen.insert(number + round * 1000000);
        }
        for (int key : printed)
            QVERIFY2(seen.contains(key), qPrintable(QString::number(key)));
        QCOMPARE(seen.size(), rows.size()); // nothing stored twice within a round
        QVERIFY(printed.size() >= Rounds);
    }

    void treeFileIsAlwaysWhole()
    {
        QRandomGenerator random(8122026);
        TestFolder folder;
        const QStringList first = TreeFile::format(firstTree());
        const QStringList second = TreeFile::format(secondTree());
        for (int round = 0; round < Rounds; ++round) {
            QProcess *child = startChild(this, QStringLiteral("tree"), folder.path());
            QVERIFY(child->waitForStarted());
            QVERIFY(child->waitForReadyRead(10000));
            killAfter(child, random.bounded(5, 200));
            delete child;
            QStringList lines;
            QVERIFY(AnsiText::readLineFile(folder.filePath(QStringLiteral("MTS.qb")), &lines));
            QVERIFY2(lines == first || lines == second, qPrintable(QString::number(lines.size())));
        }
    }

    void renamedCategoriesKeepTheirMaterialsInView()
    {
        QRandomGenerator random(20261209);
        TestFolder folder;
        folder.writeLines(QStringLiteral("MTS.qb"),
                          {QStringLiteral("文字资料0"), QStringLiteral("+起点1"), QStringLiteral("实例资料0"),
                           QStringLiteral("搜索结果0")});
        for (int i = 0; i < 30; ++i)
            QVERIFY(folder.exec(
                QStringLiteral("insert into textfile(title,bigclassname) values('m%1','起点')").arg(i)));
        for (int round = 0; round < Rounds; ++round) {
            QProcess *child = startChild(this, QStringLiteral("rename"), folder.path());
            QVERIFY(child->waitForStarted());
            QVERIFY(child->waitForReadyRead(10000));
            killAfter(child, random.bounded(5, 200));
            delete child;
            QCOMPARE(folder.value(QStringLiteral("pragma integrity_check")).toString(), QStringLiteral("ok"));
        }
        QCOMPARE(folder.value(QStringLiteral("select count(*) from textfile")).toInt(), 30);
        // The next start shows every material under a category of its tree.
        MainWindow window;
        Database database;
        window.attachDatabase(&database);
        QCoreApplication::sendPostedEvents(); // the rest of the start
        const QStringList shown = CategoryTree::childNames(window.categoryTree()->topLevelItem(0));
        for (const QVariantList &row :
             folder.rows(QStringLiteral("select distinct bigclassname from textfile")))
            QVERIFY2(shown.contains(row.at(0).toString()), qPrintable(row.at(0).toString()));
    }
};

int main(int argc, char *argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--child") {
        QCoreApplication app(argc, argv);
        const QString folder = QString::fromLocal8Bit(argv[3]);
        const QByteArray mode(argv[2]);
        if (mode == "insert")
            return insertForever(folder);
        return mode == "rename" ? renameForever(folder) : saveTreesForever(folder);
    }
    QApplication app(argc, argv);
    TestDurability test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_process_durability.moc"
