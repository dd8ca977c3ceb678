// Another copy changes the shared base's tree while this one files materials into it: a save or a
// move into a category that copy removed is refused, an import joins the tree it left.
#include "FolderAnswers.h"
#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "TestFolder.h"
#include "TestServer.h"

#include "base/AnsiText.h"
#include "edit/MaterialCommands.h"
#include "edit/MaterialDialog.h"
#include "edit/MaterialMover.h"
#include "exchange/ExchangeCommands.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "tree/CategoryCheck.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"
#include "tree/ServerTree.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QStringList Tree =
    QStringLiteral("文字资料0 +A1 ++C2 +Z1 +Keep1 实例资料0 +Tools1 搜索结果0").split(QLatin1Char(' '));
} // namespace

class TestSharedBaseCategories : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        REQUIRE_TEST_SERVER();
        if (!TestServer::selected())
            QSKIP("runs with ZINDREL_TEST_STORE=postgresql, as its CTest entry sets it");
    }

    // Another copy changes the tree while this one files a material: a category the tree no longer
    // holds is refused with its name, what was typed stays; any other change is taken in.
    void aMaterialGoesOnlyIntoACategoryTheTreeHolds_data()
    {
        QTest::addColumn<bool>("move");
        QTest::addColumn<QString>("otherChange"); // the category deleted, renamed to Other, or Fresh added
        QTest::addColumn<bool>("refused");
        QTest::newRow("add, deleted") << false << QStringLiteral("delete") << true;
        QTest::newRow("add, renamed") << false << QStringLiteral("rename") << true;
        QTest::newRow("add, another added") << false << QStringLiteral("add") << false;
        QTest::newRow("move, deleted") << true << QStringLiteral("delete") << true;
    }
    void aMaterialGoesOnlyIntoACategoryTheTreeHolds()
    {
        QFETCH(bool, move);
        QFETCH(QString, otherChange);
        QFETCH(bool, refused);
        MainWindowFixture fixture(Tree);
        ServerTree otherTree(fixture.database.get());
        QVector<TreeNode> theirs = otherTree.load();
        const QString target = QStringLiteral("Z"); // the text root's second category
        const auto otherCopyChanges = [&] {
            QVector<TreeNode> &categories = theirs[0].children;
            if (otherChange == QLatin1String("delete"))
                categories.removeAt(1);
            else if (otherChange == QLatin1String("rename"))
                categories[1].name = QStringLiteral("Other");
            else
                categories.append({QStringLiteral("Fresh"), 1, {}});
            QVERIFY(otherTree.save(theirs));
        };
        ModalDriver driver;
        if (move) {
            fixture.addText(QStringLiteral("wanderer"), QStringLiteral("Keep"));
            fixture.click(QStringLiteral("Keep"));
            fixture.selectRow(0);
            fixture.window->mover()->rebuildMoveMenu();
            QAction *into = nullptr;
            for (QAction *action : fixture.window->mover()->moveMenu()->actions())
                into = action->text() == target ? action : into;
            QVERIFY(into);
            otherCopyChanges();
            fixture.window->mover()->moveSelectedMaterial(into);
        } else {
            fixture.click(target);
            driver.queue([&](QWidget *modal) {
                auto *dialog = qobject_cast<MaterialDialog *>(modal);
                QVERIFY(dialog);
                childNamed<QLineEdit>(dialog, "titleEdit")->setText(QStringLiteral("typed"));
                childNamed<QPlainTextEdit>(dialog, "bodyEdit")->setPlainText(QStringLiteral("body"));
                otherCopyChanges();
                dialog->saveMaterial();
                // Refused, the dialog keeps what was typed for another try.
                QCOMPARE(childNamed<QLineEdit>(dialog, "titleEdit")->text(),
                         refused ? QStringLiteral("typed") : QString());
                dialog->reject();
            });
            fixture.window->materialCommands()->addMaterial();
        }
        const QString where =
            QStringLiteral("select string_agg(title||':'||bigclassname, '|' order by title) "
                           "from textfile");
        if (refused) {
            QVERIFY2(driver.texts().contains(CategoryCheck::refusal({NodeRules::TextRootText, target, {}})),
                     qPrintable(driver.texts().join(QLatin1Char('\n'))));
            QCOMPARE(fixture.folder.value(where).toString(),
                     move ? QStringLiteral("wanderer:Keep") : QString());
        } else {
            QCOMPARE(fixture.folder.value(where).toString(), QStringLiteral("typed:Z"));
            QVERIFY(fixture.node(QStringLiteral("Fresh"))); // the other copy's tree, shown
        }
    }

    // An import into a tree that another copy changed meanwhile: its categories, the empty ones
    // too, join that tree in the order of their folders, and the report counts what is there.
    void anImportJoinsTheTreeAnotherCopyChanged()
    {
        MainWindowFixture fixture(Tree);
        QTemporaryDir source;
        for (const QString &folder :
             {QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("d")})
            QVERIFY(QDir(source.path()).mkdir(folder));
        for (const QString &file : {QStringLiteral("b/one.md"), QStringLiteral("d/two.md")}) {
            QFile out(source.filePath(file));
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write("text") == 4);
        }
        ServerTree otherTree(fixture.database.get());
        QVector<TreeNode> theirs = otherTree.load();
        theirs[0].children.append({QStringLiteral("Fresh"), 1, {}});
        QVERIFY(otherTree.save(theirs));

        CategoryTree::selectNode(fixture.tree(), fixture.node(QStringLiteral("Z")));
        ModalDriver driver;
        driver.queue(chooseFolder(source.path()));
        fixture.window->exchangeCommands()->importMaterials();
        QVERIFY2(driver.texts().value(0).startsWith(QStringLiteral("导入完成：2份资料，新建4个分类。")),
                 qPrintable(driver.texts().join(QLatin1Char('\n'))));
        const QStringList saved = AnsiText::splitLines(AnsiText::decode(fixture.folder.treeBytes()));
        QCOMPARE(saved.mid(1, saved.indexOf(QStringLiteral("实例资料0")) - 1).join(QLatin1Char(' ')),
                 QStringLiteral("+A1 ++C2 +Z1 ++a2 ++b2 ++c2 ++d2 +Keep1 +Fresh1"));
        QVERIFY(fixture.node(QStringLiteral("Fresh")));
        QVERIFY(fixture.node(QStringLiteral("c")));
    }
};

QTEST_MAIN(TestSharedBaseCategories)
#include "tst_sharedbase_categories.moc"
