// Every input path stores hostile text and shows it back exactly (a literal token in a title or
// body reads back as the character it stands for, by design), and touches no other row.
#include "ComboBoxes.h"
#include "HostileTexts.h"
#include "InputAnswers.h"
#include "MainFormFixture.h"
#include "ModalDriver.h"

#include "browse/DetailPane.h"
#include "capture/TAcceptExeForm.h"
#include "capture/TAcceptTextForm.h"
#include "capture/TDragForm.h"
#include "edit/TAddFileExeFrm.h"
#include "edit/TAddFileForm.h"
#include "search/TSerchForm.h"
#include "shell/TMainForm.h"
#include "store/ResultMessage.h"
#include "store/SqlText.h"
#include "store/TFileExe.h"
#include "store/TFileText.h"
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
    return UnquoteFromSql(QuoteForSql(typed, false), false);
}

QString storedBody(const QString &typed)
{
    return UnquoteFromSql(QuoteForSql(typed, true), true);
}

// Two materials that no operation on another row may change.
void addBystanders(MainFormFixture &fixture)
{
    fixture.addText(QStringLiteral("bystander"), QStringLiteral("Other"), QString(),
                    QStringLiteral("2020-01-01"), QStringLiteral("keep: me"), QStringLiteral("nobody"));
    fixture.addInstance(QStringLiteral("bystander"), QStringLiteral("T"), QString(), QStringLiteral("/keep"),
                        QStringLiteral("keep"));
}

QList<QVariantList> bystanders(const MainFormFixture &fixture)
{
    return fixture.folder.rows(QStringLiteral("select * from textfile where title='bystander'")) +
           fixture.folder.rows(QStringLiteral("select * from exefile where title='bystander'"));
}

QString detailValue(const TMainForm &form, const QString &caption)
{
    for (int i = 0; i < form.MainDetail->topLevelItemCount(); ++i) {
        if (form.MainDetail->topLevelItem(i)->text(0) == caption)
            return form.MainDetail->topLevelItem(i)->text(1);
    }
    return QStringLiteral("<no row>");
}

qint64 lastId(const MainFormFixture &fixture, const QString &table)
{
    return fixture.folder.value(QStringLiteral("select max(id) from ") + table).toLongLong();
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
        MainFormFixture fixture(Tree);
        addBystanders(fixture);
        const QList<QVariantList> before = bystanders(fixture);
        auto dialog = TAddFileForm::CreateForAdd(
            fixture.form.get(), {QStringLiteral("文字资料"), QStringLiteral("A"), QString()});
        dialog->title->setText(text);
        dialog->writer->setText(text);
        dialog->MainText->setPlainText(text);
        ModalDriver driver;
        dialog->AddBtnClick();
        QCOMPARE(driver.texts(), QStringList{ResultText::Added});

        const qint64 id = lastId(fixture, QStringLiteral("textfile"));
        TFileText record;
        QVERIFY(record.LoadRecord(id));
        QCOMPARE(record.title, storedTitle(text));
        QCOMPARE(record.writer, text);
        QCOMPARE(record.main.join(QLatin1Char('\n')), storedBody(text));
        QCOMPARE(record.bigclassname, QStringLiteral("A"));

        fixture.click(QStringLiteral("A"));
        QCOMPARE(fixture.captions(), QStringList{storedTitle(text)});
        fixture.selectRow(0);
        QCOMPARE(detailValue(*fixture.form, QStringLiteral("名称:")), storedTitle(text));
        QCOMPARE(detailValue(*fixture.form, QStringLiteral("作者:")), text);
        QCOMPARE(bystanders(fixture), before);
    }

    void instanceMaterial_data() { addHostileRows(); }
    void instanceMaterial()
    {
        QFETCH(QString, text);
        MainFormFixture fixture(Tree);
        addBystanders(fixture);
        const QList<QVariantList> before = bystanders(fixture);
        auto dialog = TAddFileExeFrm::CreateForAdd(
            fixture.form.get(), {QStringLiteral("实例资料"), QStringLiteral("T"), QString()});
        dialog->title->setText(QStringLiteral("instance"));
        dialog->MainText->setPlainText(text);
        dialog->PathEdit->setText(text);
        ModalDriver driver;
        dialog->AddBtnClick();
        QCOMPARE(driver.texts(), QStringList{ResultText::Added});
        TFileExe record;
        QVERIFY(record.LoadRecord(lastId(fixture, QStringLiteral("exefile"))));
        QCOMPARE(record.about.join(QLatin1Char('\n')), storedBody(text));
        QCOMPARE(record.fpath, text);
        fixture.click(QStringLiteral("T"));
        fixture.selectRow(fixture.rowOf(QStringLiteral("instance")));
        QCOMPARE(detailValue(*fixture.form, QStringLiteral("资料路径:")), text);
        QCOMPARE(RunPath, text);
        QCOMPARE(bystanders(fixture), before);
    }

    void search_data() { addHostileRows(); }
    void search()
    {
        QFETCH(QString, text);
        MainFormFixture fixture(Tree);
        addBystanders(fixture);
        const qint64 id = fixture.addText(text, QStringLiteral("A"), QString(), QStringLiteral("2026-01-01"),
                                          QStringLiteral("b"), text);
        const QList<QVariantList> before = fixture.folder.rows(QStringLiteral("select * from textfile")) +
                                           fixture.folder.rows(QStringLiteral("select * from exefile"));
        for (const bool byAuthor : {false, true}) {
            TSerchForm dialog(fixture.form->MainTreeView, fixture.form->StoreItemView, fixture.form.get());
            choose(dialog.FWComBox, QStringLiteral("文字资料"));
            choose(dialog.BigComBox, QStringLiteral("A"));
            choose(dialog.SmallComBox, SearchStatement::AllCategories);
            (byAuthor ? dialog.AuthorKey : dialog.TitleKey)->setText(text);
            ModalDriver driver;
            dialog.SerchBtnClick();
            if (!byAuthor && text.size() > 50000) {
                // Longer than the database takes as a pattern: said so, nothing searched.
                QCOMPARE(driver.texts(), QStringList{QStringLiteral("标题关键字太长了，请缩短后再搜索。")});
                continue;
            }
            QVERIFY2(driver.boxes.isEmpty(), qPrintable(driver.texts().join(QLatin1Char('\n')).left(300)));
            QCOMPARE(fixture.form->StoreItemView->entries(),
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
        MainFormFixture fixture(Tree);
        addBystanders(fixture);
        const QList<QVariantList> before = bystanders(fixture);
        QVERIFY(QTest::qWaitFor([] { return !DragForm.isNull(); }));
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(DragForm, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(DragForm, &drop);
        QVERIFY(AcceptTextForm);
        QCOMPARE(AcceptTextForm->MainMemo->toPlainText(), text);
        AcceptTextForm->NameEdit->setText(text);
        AcceptTextForm->AuthorEdit->setText(text);
        ModalDriver driver;
        AcceptTextForm->OkBtnClick();
        QCOMPARE(driver.texts(), QStringList{ResultText::Added});
        TFileText record;
        QVERIFY(record.LoadRecord(lastId(fixture, QStringLiteral("textfile"))));
        QCOMPARE(record.title, storedTitle(text));
        QCOMPARE(record.writer, text);
        QCOMPARE(record.main.join(QLatin1Char('\n')), storedBody(text));

        DragForm->handOverPath(text);
        QVERIFY(AcceptExeForm);
        AcceptExeForm->NameEdit->setText(QStringLiteral("captured"));
        AcceptExeForm->MainMemo->setPlainText(text);
        AcceptExeForm->OkBtnClick();
        TFileExe instance;
        QVERIFY(instance.LoadRecord(lastId(fixture, QStringLiteral("exefile"))));
        QCOMPARE(instance.fpath, text);
        QCOMPARE(instance.about.join(QLatin1Char('\n')), storedBody(text));
        QCOMPARE(bystanders(fixture), before);
    }

    void categoryNames_data() { addHostileRows(); }
    void categoryNames()
    {
        QFETCH(QString, text);
        MainFormFixture fixture(Tree);
        addBystanders(fixture);
        const QList<QVariantList> before = bystanders(fixture);
        ModalDriver driver;
        QList<InputRecord> inputs;
        CategoryTree::selectNode(fixture.form->MainTreeView, fixture.form->MainTreeView->topLevelItem(0));
        driver.queue(answerInput(&inputs, text));
        if (!CategoryNames::refusal(text, {}).isEmpty()) {
            // Refused with a message, then cancelled: nothing changes.
            driver.answerNextBox(QMessageBox::Ok);
            driver.queue(answerInput(&inputs, text, false));
            fixture.form->AddNewItem();
            QCOMPARE(driver.boxes.size(), 1);
            QCOMPARE(fixture.form->MainTreeView->topLevelItem(0)->childCount(), 2);
            return;
        }
        fixture.form->AddNewItem();
        QTreeWidgetItem *added = fixture.form->MainTreeView->topLevelItem(0)->child(2);
        QVERIFY(added);
        QCOMPARE(added->text(0), text);

        fixture.addText(QStringLiteral("filed"), text);
        CategoryTree::selectNode(fixture.form->MainTreeView, added);
        const QString renamed = text + QStringLiteral("2");
        driver.queue(answerInput(&inputs, renamed));
        fixture.form->ReNameItem();
        QCOMPARE(added->text(0), renamed);
        fixture.clickNode(added);
        QCOMPARE(fixture.captions(), QStringList{QStringLiteral("filed")});
        QCOMPARE(fixture.form->CurrentLocation.names(), QStringList({QStringLiteral("文字资料"), renamed}));
        // The tree file keeps the name.
        TreeFile file;
        QCOMPARE(file.load().first().children.at(2).name, renamed);
        QCOMPARE(bystanders(fixture), before);
        QVERIFY(driver.boxes.isEmpty());
    }
};

QTEST_MAIN(TestHostileInput)
#include "tst_hostile.moc"
