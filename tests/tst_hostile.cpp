// Every input path stores hostile text and shows it back exactly (a literal token in a title or
// body reads back as the character it stands for, by design), and touches no other row.
#include "ComboBoxes.h"
#include "HostileTexts.h"
#include "InputAnswers.h"
#include "MainWindowFixture.h"
#include "ModalDriver.h"

#include "base/ShownText.h"
#include "browse/DetailPane.h"
#include "browse/MaterialList.h"
#include "browse/Navigator.h"
#include "capture/DropWindow.h"
#include "capture/QuickInstanceDialog.h"
#include "capture/QuickTextDialog.h"
#include "edit/InstanceMaterialDialog.h"
#include "edit/TextMaterialDialog.h"
#include "search/SearchDialog.h"
#include "shell/MainWindow.h"
#include "store/InstanceMaterial.h"
#include "store/SqlText.h"
#include "store/TextMaterial.h"
#include "tree/CategoryCommands.h"
#include "tree/CategoryNames.h"
#include "tree/CategoryTree.h"

#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QStringList Tree{QStringLiteral("文字资料0"), QStringLiteral("+A1"), QStringLiteral("+Other1"),
                       QStringLiteral("实例资料0"), QStringLiteral("+T1"), QStringLiteral("搜索结果0")};

QString storedTitle(const QString &typed)
{
    return SqlText::fromTokens(SqlText::toTokens(typed, false), false);
}

QString storedBody(const QString &typed)
{
    return SqlText::fromTokens(SqlText::toTokens(typed, true), true);
}

// Two materials that no operation on another row may change.
void addBystanders(MainWindowFixture &fixture)
{
    fixture.addText(QStringLiteral("bystander"), QStringLiteral("Other"), QString(),
                    QStringLiteral("2020-01-01"), QStringLiteral("keep: me"), QStringLiteral("nobody"));
    fixture.addInstance(QStringLiteral("bystander"), QStringLiteral("T"), QString(), QStringLiteral("/keep"),
                        QStringLiteral("keep"));
}

QList<QVariantList> bystanders(const MainWindowFixture &fixture)
{
    return fixture.folder.rows(QStringLiteral("select * from textfile where title='bystander'")) +
           fixture.folder.rows(QStringLiteral("select * from exefile where title='bystander'"));
}

QString shown(const QString &value)
{
    return ShownText::shortened(value, ShownText::ValueCharacters);
}

QString detailValue(const MainWindow &window, const QString &caption)
{
    const QTreeWidget *rows = window.detailPane()->rows();
    for (int i = 0; i < rows->topLevelItemCount(); ++i) {
        if (rows->topLevelItem(i)->text(0) == caption)
            return rows->topLevelItem(i)->text(1);
    }
    return QStringLiteral("<no row>");
}

qint64 lastId(const MainWindowFixture &fixture, const QString &table)
{
    return fixture.folder.value(QStringLiteral("select max(id) from ") + table).toLongLong();
}

// The dialogs' controls, by object name.
QLineEdit *titleEdit(const QWidget *dialog)
{
    return childNamed<QLineEdit>(dialog, "titleEdit");
}
QLineEdit *authorEdit(const QWidget *dialog)
{
    return childNamed<QLineEdit>(dialog, "authorEdit");
}
QLineEdit *pathEdit(const QWidget *dialog)
{
    return childNamed<QLineEdit>(dialog, "pathEdit");
}
QPlainTextEdit *bodyEdit(const QWidget *dialog)
{
    return childNamed<QPlainTextEdit>(dialog, "bodyEdit");
}
QPlainTextEdit *memoOf(const QWidget *dialog)
{
    return childNamed<QPlainTextEdit>(dialog, "memo");
}
QLineEdit *titleKeywordEdit(const QWidget *dialog)
{
    return childNamed<QLineEdit>(dialog, "titleKeywordEdit");
}
QComboBox *combo(const QWidget *dialog, const char *name)
{
    return childNamed<QComboBox>(dialog, name);
}
} // namespace

class TestHostileInput : public QObject
{
    Q_OBJECT
private slots:
    void textMaterial_data() { addHostileRows(); }
    void textMaterial()
    {
        QFETCH(QString, text);
        MainWindowFixture fixture(Tree);
        addBystanders(fixture);
        const QList<QVariantList> before = bystanders(fixture);
        auto dialog = TextMaterialDialog::createForAdd(
            fixture.window.get(), {QStringLiteral("文字资料"), QStringLiteral("A"), QString()});
        titleEdit(dialog.get())->setText(text);
        authorEdit(dialog.get())->setText(text);
        bodyEdit(dialog.get())->setPlainText(text);
        ModalDriver driver;
        dialog->saveMaterial();
        QCOMPARE(driver.texts(), QStringList{Material::AddedText});

        const qint64 id = lastId(fixture, QStringLiteral("textfile"));
        TextMaterial record;
        QVERIFY(record.load(id));
        QCOMPARE(record.title, storedTitle(text));
        QCOMPARE(record.author, text);
        QCOMPARE(record.body.join(QLatin1Char('\n')), storedBody(text));
        QCOMPARE(record.category, QStringLiteral("A"));

        fixture.click(QStringLiteral("A"));
        QCOMPARE(fixture.captions(), QStringList{storedTitle(text)});
        fixture.selectRow(0);
        // The pane draws at most a bounded beginning of a value.
        QCOMPARE(detailValue(*fixture.window, QStringLiteral("名称:")), shown(storedTitle(text)));
        QCOMPARE(detailValue(*fixture.window, QStringLiteral("作者:")), shown(text));
        QCOMPARE(bystanders(fixture), before);
    }

    void instanceMaterial_data() { addHostileRows(); }
    void instanceMaterial()
    {
        QFETCH(QString, text);
        MainWindowFixture fixture(Tree);
        addBystanders(fixture);
        const QList<QVariantList> before = bystanders(fixture);
        auto dialog = InstanceMaterialDialog::createForAdd(
            fixture.window.get(), {QStringLiteral("实例资料"), QStringLiteral("T"), QString()});
        titleEdit(dialog.get())->setText(QStringLiteral("instance"));
        bodyEdit(dialog.get())->setPlainText(text);
        pathEdit(dialog.get())->setText(text);
        ModalDriver driver;
        dialog->saveMaterial();
        QCOMPARE(driver.texts(), QStringList{Material::AddedText});
        InstanceMaterial record;
        QVERIFY(record.load(lastId(fixture, QStringLiteral("exefile"))));
        QCOMPARE(record.description.join(QLatin1Char('\n')), storedBody(text));
        QCOMPARE(record.path, text);
        fixture.click(QStringLiteral("T"));
        fixture.selectRow(fixture.rowOf(QStringLiteral("instance")));
        QCOMPARE(detailValue(*fixture.window, QStringLiteral("资料路径:")), shown(text));
        QCOMPARE(fixture.detailPane()->runPath(), text);
        QCOMPARE(bystanders(fixture), before);
    }

    void search_data() { addHostileRows(); }
    void search()
    {
        QFETCH(QString, text);
        MainWindowFixture fixture(Tree);
        addBystanders(fixture);
        const qint64 id = fixture.addText(text, QStringLiteral("A"), QString(), QStringLiteral("2026-01-01"),
                                          QStringLiteral("b"), text);
        const QList<QVariantList> before = fixture.folder.rows(QStringLiteral("select * from textfile")) +
                                           fixture.folder.rows(QStringLiteral("select * from exefile"));
        for (const bool byAuthor : {false, true}) {
            SearchDialog dialog(fixture.tree(), fixture.list()->searchResults(), fixture.window.get());
            choose(combo(&dialog, "kindCombo"), QStringLiteral("文字资料"));
            choose(combo(&dialog, "categoryCombo"), QStringLiteral("A"));
            choose(combo(&dialog, "subcategoryCombo"), SearchStatement::AllCategories);
            (byAuthor ? authorEdit(&dialog) : titleKeywordEdit(&dialog))->setText(text);
            ModalDriver driver;
            dialog.search();
            if (!byAuthor && text.size() > 50000) {
                // Longer than the database takes as a pattern: said so, nothing searched.
                QCOMPARE(driver.texts(), QStringList{QStringLiteral("标题关键字太长了，请缩短后再搜索。")});
                continue;
            }
            QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join(QLatin1Char('\n')).left(300)));
            QCOMPARE(fixture.list()->searchResults()->entries(),
                     QVector<ListEntry>({{storedTitle(text), ListEntry::TextMaterial, id}}));
        }
        QCOMPARE(fixture.folder.rows(QStringLiteral("select * from textfile")) +
                     fixture.folder.rows(QStringLiteral("select * from exefile")),
                 before);
    }

    void droppedTextAndCapture_data() { addHostileRows(); }
    void droppedTextAndCapture()
    {
        QFETCH(QString, text);
        MainWindowFixture fixture(Tree);
        addBystanders(fixture);
        const QList<QVariantList> before = bystanders(fixture);
        QVERIFY(QTest::qWaitFor([&fixture] { return fixture.window->dropWindow() != nullptr; }));
        DropWindow *dropWindow = fixture.window->dropWindow();
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dropWindow, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dropWindow, &drop);
        QVERIFY(dropWindow->textDialog());
        QCOMPARE(memoOf(dropWindow->textDialog())->toPlainText(), text);
        titleEdit(dropWindow->textDialog())->setText(text);
        authorEdit(dropWindow->textDialog())->setText(text);
        ModalDriver driver;
        dropWindow->textDialog()->addMaterial();
        QCOMPARE(driver.texts(), QStringList{Material::AddedText});
        TextMaterial record;
        QVERIFY(record.load(lastId(fixture, QStringLiteral("textfile"))));
        QCOMPARE(record.title, storedTitle(text));
        QCOMPARE(record.author, text);
        QCOMPARE(record.body.join(QLatin1Char('\n')), storedBody(text));

        dropWindow->handOverPath(text);
        QVERIFY(dropWindow->instanceDialog());
        titleEdit(dropWindow->instanceDialog())->setText(QStringLiteral("captured"));
        memoOf(dropWindow->instanceDialog())->setPlainText(text);
        dropWindow->instanceDialog()->addMaterial();
        InstanceMaterial instance;
        QVERIFY(instance.load(lastId(fixture, QStringLiteral("exefile"))));
        QCOMPARE(instance.path, text);
        QCOMPARE(instance.description.join(QLatin1Char('\n')), storedBody(text));
        QCOMPARE(bystanders(fixture), before);
    }

    void categoryNames_data() { addHostileRows(); }
    void categoryNames()
    {
        QFETCH(QString, text);
        MainWindowFixture fixture(Tree);
        addBystanders(fixture);
        const QList<QVariantList> before = bystanders(fixture);
        ModalDriver driver;
        QList<InputRecord> inputs;
        CategoryTree::selectNode(fixture.tree(), fixture.tree()->topLevelItem(0));
        driver.queue(answerInput(&inputs, text));
        if (!CategoryNames::refusal(text, {}).isEmpty()) {
            // Refused with a message, then cancelled: nothing changes.
            driver.answerNextBox(QMessageBox::Ok);
            driver.queue(answerInput(&inputs, text, false));
            fixture.window->categoryCommands()->addCategory();
            QCOMPARE(driver.boxes.size(), 1);
            QCOMPARE(fixture.tree()->topLevelItem(0)->childCount(), 2);
            return;
        }
        fixture.window->categoryCommands()->addCategory();
        QTreeWidgetItem *added = fixture.tree()->topLevelItem(0)->child(2);
        QVERIFY(added);
        QCOMPARE(added->text(0), text);

        fixture.addText(QStringLiteral("filed"), text);
        CategoryTree::selectNode(fixture.tree(), added);
        const QString renamed = text + QStringLiteral("2");
        driver.queue(answerInput(&inputs, renamed));
        fixture.window->categoryCommands()->renameCategory();
        QCOMPARE(added->text(0), renamed);
        fixture.clickNode(added);
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("filed")});
        QCOMPARE(fixture.navigator()->currentLocation().names(),
                 QStringList({QStringLiteral("文字资料"), renamed}));
        // The tree file keeps the name.
        TreeFile file;
        QCOMPARE(file.load().first().children.at(2).name, renamed);
        QCOMPARE(bystanders(fixture), before);
        QVERIFY(driver.boxes.isEmpty());
    }
};

QTEST_MAIN(TestHostileInput)
#include "tst_hostile.moc"
