// Killing the program right after a change made through its windows loses nothing: a child
// process runs the main window on a program folder, makes the change, reports it, and is killed;
// the main window started again on that folder finds tree and materials in agreement.
#include "InputAnswers.h"
#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "TestFolder.h"

#include "base/ProgramFolder.h"
#include "browse/MaterialList.h"
#include "browse/Navigator.h"
#include "edit/MaterialCommands.h"
#include "edit/TextMaterialDialog.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "tree/CategoryCommands.h"
#include "tree/CategoryTree.h"
#include "tree/TreeFile.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTreeWidget>
#include <QtTest>

#include <csignal>
#include <cstdio>

namespace {
const QStringList Tree{QStringLiteral("文字资料0"), QStringLiteral("+A1"),       QStringLiteral("++B2"),
                       QStringLiteral("+Keep1"),    QStringLiteral("实例资料0"), QStringLiteral("搜索结果0")};

void report(const char *line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The child: the main window on the folder, one change through it, then waiting to be killed.
int runChild(const QString &folder, const QString &action)
{
    ProgramFolder::setPathForTesting(folder);
    MainWindow window;
    Database database;
    window.attachDatabase(&database);
    window.show();
    ModalDriver driver(QMessageBox::Yes);
    QList<InputRecord> inputs;
    auto select = [&window](const QString &name) {
        QTreeWidget *tree = window.categoryTree();
        CategoryTree::selectNode(tree, CategoryTree::findByText(tree, name));
        window.navigator()->visitSelectedCategory();
    };
    QTimer::singleShot(0, &window, [&] {
        if (action == QLatin1String("add-category")) {
            select(QStringLiteral("文字资料"));
            driver.queue(answerInput(&inputs, QStringLiteral("Fresh")));
            window.categoryCommands()->addCategory();
        } else if (action == QLatin1String("rename-category")) {
            select(QStringLiteral("A"));
            driver.queue(answerInput(&inputs, QStringLiteral("Renamed")));
            window.categoryCommands()->renameCategory();
        } else if (action == QLatin1String("delete-category")) {
            select(QStringLiteral("A"));
            window.categoryCommands()->deleteCategory();
        } else if (action == QLatin1String("add-material")) {
            select(QStringLiteral("Keep"));
            driver.queue([](QWidget *modal) {
                auto *dialog = qobject_cast<TextMaterialDialog *>(modal);
                childNamed<QLineEdit>(dialog, "titleEdit")->setText(QStringLiteral("saved before the kill"));
                childNamed<QPlainTextEdit>(dialog, "bodyEdit")->setPlainText(QStringLiteral("body"));
                dialog->saveMaterial();
            });
            // The save's message is answered; the dialog stays open, as it does in add mode.
            driver.queue([](QWidget *modal) {
                qobject_cast<QMessageBox *>(modal)->accept();
                report("done");
            });
            window.materialCommands()->addMaterial();
            return;
        }
        report("done");
    });
    return QApplication::exec();
}
} // namespace

class TestPersistence : public QObject
{
    Q_OBJECT
private slots:
    void killedAfterAChange_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("add a category") << QStringLiteral("add-category");
        QTest::newRow("rename a category") << QStringLiteral("rename-category");
        QTest::newRow("delete a category") << QStringLiteral("delete-category");
        QTest::newRow("save a material") << QStringLiteral("add-material");
    }
    void killedAfterAChange()
    {
        QFETCH(QString, action);
        TestFolder folder;
        folder.writeLines(QStringLiteral("MTS.qb"), Tree);
        for (const char *title : {"one", "two"}) {
            folder.exec(
                QStringLiteral("insert into textfile(title,classname,bigclassname) values('%1','B','A')")
                    .arg(QLatin1String(title)));
        }
        folder.exec(
            QStringLiteral("insert into textfile(title,classname,bigclassname) values('kept','','Keep')"));

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), folder.path(), action});
        QVERIFY(child.waitForStarted());
        QByteArray output;
        while (!output.contains("done\n")) {
            QVERIFY2(child.waitForReadyRead(20000), output.constData());
            output += child.readAllStandardOutput();
        }
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));

        // Started again on the same folder.
        MainWindow again;
        Database database;
        again.attachDatabase(&database);
        QVERIFY(again.isCreated());
        const QStringList lines = TreeFile::format(CategoryTree::collect(again.categoryTree()));
        auto captionsOf = [&again](const QString &name) {
            CategoryTree::selectNode(again.categoryTree(),
                                     CategoryTree::findByText(again.categoryTree(), name));
            again.navigator()->visitSelectedCategory();
            QStringList captions;
            for (const ListEntry &entry : again.materialList()->model()->entries())
                captions.append(entry.caption);
            return captions;
        };
        auto count = [&folder](const QString &where) {
            return folder.value(QStringLiteral("select count(*) from textfile where ") + where).toInt();
        };
        if (action == QLatin1String("add-category")) {
            QVERIFY(lines.contains(QStringLiteral("+Fresh1")));
        } else if (action == QLatin1String("rename-category")) {
            QVERIFY(lines.contains(QStringLiteral("+Renamed1")));
            QVERIFY(!lines.contains(QStringLiteral("+A1")));
            QCOMPARE(count(QStringLiteral("bigclassname='Renamed' and classname='B'")), 2);
            QCOMPARE(captionsOf(QStringLiteral("B")),
                     QStringList({QStringLiteral("one"), QStringLiteral("two")}));
        } else if (action == QLatin1String("delete-category")) {
            QVERIFY(!lines.contains(QStringLiteral("+A1")));
            QVERIFY(!lines.contains(QStringLiteral("++B2")));
            QCOMPARE(count(QStringLiteral("bigclassname='A'")), 0);
        } else {
            QCOMPARE(captionsOf(QStringLiteral("Keep")),
                     QStringList({QStringLiteral("kept"), QStringLiteral("saved before the kill")}));
        }
        QCOMPARE(folder.value(QStringLiteral("pragma integrity_check")).toString(), QStringLiteral("ok"));
        QCOMPARE(count(QStringLiteral("bigclassname='Keep'")),
                 action == QLatin1String("add-material") ? 2 : 1);
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return runChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestPersistence test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_process_persistence.moc"
