#include "FixedClock.h"
#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "TestFolder.h"

#include "base/Clock.h"
#include "edit/InstanceMaterialDialog.h"
#include "edit/TextMaterialDialog.h"
#include "store/Database.h"
#include "store/InstanceMaterial.h"
#include "store/TextMaterial.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QtTest>

namespace {
const QString TextMissing = QStringLiteral("有些内容是必须填写的，包括标题和正文，你可能没有填写！");
const QString InstanceMissing = QStringLiteral("有些内容是必须填写的，包括标题和实例路径，你可能没有填写！");

// The dialogs' boxes, by object name.
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
} // namespace

class TestMaterialDialogs : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder.reset(new TestFolder);
        m_data.reset(new Database);
        m_clock.time = QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0));
        Clock::setInstance(&m_clock);
    }
    void cleanup()
    {
        Clock::setInstance(nullptr);
        m_data.reset();
        m_folder.reset();
    }

    void captions()
    {
        const QStringList firstLevel{QStringLiteral("文字资料"), QStringLiteral("A"), QString()};
        QCOMPARE(TextMaterialDialog::createForAdd(nullptr, firstLevel)->windowTitle(),
                 QStringLiteral("添加资料在:->文字资料->A->"));
        QCOMPARE(InstanceMaterialDialog::createForAdd(
                     nullptr, {QStringLiteral("实例资料"), QStringLiteral("T"), QStringLiteral("U")})
                     ->windowTitle(),
                 QStringLiteral("添加资料在:->实例资料->T->U"));
        TextMaterial text;
        text.title = QStringLiteral("it's");
        text.author = QStringLiteral("W");
        text.body = {QStringLiteral("a"), QStringLiteral("b")};
        auto modify = TextMaterialDialog::createForModify(nullptr, text,
                                                          {QStringLiteral("文字资料"), QStringLiteral("A"),
                                                           QStringLiteral("B"), QStringLiteral("it's"),
                                                           QStringLiteral("7")});
        QCOMPARE(modify->windowTitle(), QStringLiteral("修改资料在:->文字资料->A->B->it's"));
        QCOMPARE(titleEdit(modify.get())->text(), QStringLiteral("it's"));
        QCOMPARE(bodyEdit(modify.get())->toPlainText(), QStringLiteral("a\nb"));
        QCOMPARE(modify->mode(), 1);
        InstanceMaterial exe;
        exe.path = QStringLiteral("/bin/ls");
        auto modifyExe =
            InstanceMaterialDialog::createForModify(nullptr, exe,
                                                    {QStringLiteral("实例资料"), QStringLiteral("T"),
                                                     QString(), QStringLiteral("t"), QStringLiteral("1")});
        QCOMPARE(modifyExe->windowTitle(), QStringLiteral("修改资料在:->实例资料->T->->t"));
        QCOMPARE(pathEdit(modifyExe.get())->text(), QStringLiteral("/bin/ls"));
    }

    void checksInOrder_data()
    {
        QTest::addColumn<bool>("instance");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::newRow("text: empty body")
            << false << QStringLiteral("t") << QString() << QString() << TextMissing;
        QTest::newRow("text: empty title")
            << false << QString() << QStringLiteral("b") << QString() << TextMissing;
        QTest::newRow("text: blanks are a body")
            << false << QStringLiteral("t") << QStringLiteral("   ") << QString() << Material::AddedText;
        QTest::newRow("instance: empty path")
            << true << QStringLiteral("t") << QStringLiteral("b") << QString() << InstanceMissing;
        QTest::newRow("instance: empty title")
            << true << QString() << QString() << QStringLiteral("/bin/ls") << InstanceMissing;
        QTest::newRow("instance: no description needed")
            << true << QStringLiteral("t") << QString() << QStringLiteral("/bin/ls") << Material::AddedText;
    }
    void checksInOrder()
    {
        QFETCH(bool, instance);
        QFETCH(QString, title);
        QFETCH(QString, body);
        QFETCH(QString, path);
        QFETCH(QString, message);
        const QStringList context{instance ? QStringLiteral("实例资料") : QStringLiteral("文字资料"),
                                  QStringLiteral("A"), QString()};
        std::unique_ptr<MaterialDialog> dialog =
            instance ? std::unique_ptr<MaterialDialog>(InstanceMaterialDialog::createForAdd(nullptr, context))
                     : TextMaterialDialog::createForAdd(nullptr, context);
        titleEdit(dialog.get())->setText(title);
        bodyEdit(dialog.get())->setPlainText(body);
        if (instance)
            pathEdit(dialog.get())->setText(path);
        ModalDriver driver;
        dialog->saveMaterial();
        QCOMPARE(driver.texts(), QStringList{message});
        const int rows = m_folder
                             ->value(instance ? QStringLiteral("select count(*) from exefile")
                                              : QStringLiteral("select count(*) from textfile"))
                             .toInt();
        QCOMPARE(rows, message == Material::AddedText ? 1 : 0);
    }

    void addModeStoresAndStaysOpenEmpty()
    {
        auto dialog = TextMaterialDialog::createForAdd(
            nullptr, {QStringLiteral("文字资料"), QStringLiteral("A"), QString()});
        dialog->show();
        titleEdit(dialog.get())->setText(QStringLiteral("it's: a title"));
        authorEdit(dialog.get())->setText(QStringLiteral("O'Brien"));
        bodyEdit(dialog.get())->setPlainText(QStringLiteral("x:'y'\nline two"));
        ModalDriver driver;
        QString titleWhileShown;
        driver.queue([&titleWhileShown, &dialog, &driver](QWidget *modal) {
            titleWhileShown = titleEdit(dialog.get())->text();
            driver.boxes.append(ModalDriver::describe(qobject_cast<QMessageBox *>(modal)));
            qobject_cast<QMessageBox *>(modal)->accept();
        });
        dialog->saveMaterial();
        QCOMPARE(driver.texts(), QStringList{Material::AddedText});
        QCOMPARE(titleWhileShown, QStringLiteral("it+(DYH)+s: a title"));
        const QVariantList row =
            m_folder
                ->rows(QStringLiteral("select title,classname,bigclassname,writer,createtime,main "
                                      "from textfile"))
                .value(0);
        QCOMPARE(row, QVariantList({QStringLiteral("it+(DYH)+s: a title"), QString(), QStringLiteral("A"),
                                    QStringLiteral("O'Brien"), QStringLiteral("2026-12-08 09:30:00"),
                                    QStringLiteral("x+(MH)++(DYH)+y+(DYH)+\r\nline two\r\n")}));
        QVERIFY(dialog->isVisible());
        QVERIFY(titleEdit(dialog.get())->text().isEmpty() && authorEdit(dialog.get())->text().isEmpty() &&
                bodyEdit(dialog.get())->toPlainText().isEmpty());
        dialog->saveMaterial();
        QCOMPARE(driver.texts().last(), TextMissing);
    }

    void modifyWritesTheTimeOfSavingAndCloses()
    {
        m_folder->exec(
            QStringLiteral("insert into exefile(title,classname,bigclassname,writer,createtime,about,fpath) "
                           "values('old','U','T','w','2020-01-01','desc','/old')"));
        InstanceMaterial loaded;
        QVERIFY(loaded.load(1));
        auto dialog =
            InstanceMaterialDialog::createForModify(nullptr, loaded,
                                                    {QStringLiteral("实例资料"), loaded.category,
                                                     loaded.subcategory, loaded.title, QStringLiteral("1")});
        dialog->show();
        titleEdit(dialog.get())->setText(QStringLiteral("new"));
        pathEdit(dialog.get())->setText(QStringLiteral("/usr/bin/it's here"));
        ModalDriver driver;
        dialog->saveMaterial();
        QCOMPARE(driver.texts(), QStringList{Material::DoneText});
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_folder
                     ->rows(QStringLiteral(
                         "select title,classname,bigclassname,createtime,about,fpath from exefile"))
                     .value(0),
                 QVariantList({QStringLiteral("new"), QStringLiteral("U"), QStringLiteral("T"),
                               QStringLiteral("2026-12-08 09:30:00"), QStringLiteral("desc\r\n"),
                               QStringLiteral("/usr/bin/it's here")}));
    }

    void bodiesKeepTheirTextExactly_data()
    {
        QTest::addColumn<QString>("body");
        QTest::newRow("one line") << QStringLiteral("a");
        QTest::newRow("a line break at the end") << QStringLiteral("a\n");
        QTest::newRow("two at the end") << QStringLiteral("a\n\n");
        QTest::newRow("only a line break") << QStringLiteral("\n");
        QTest::newRow("lines") << QStringLiteral("a\n\nb:'c'");
    }
    void bodiesKeepTheirTextExactly()
    {
        QFETCH(QString, body);
        auto dialog = TextMaterialDialog::createForAdd(
            nullptr, {QStringLiteral("文字资料"), QStringLiteral("A"), QString()});
        titleEdit(dialog.get())->setText(QStringLiteral("t"));
        bodyEdit(dialog.get())->setPlainText(body);
        ModalDriver driver;
        dialog->saveMaterial();
        QCOMPARE(driver.texts(), QStringList{Material::AddedText});
        TextMaterial stored;
        QVERIFY(stored.load(1));
        QCOMPARE(stored.body.join(QLatin1Char('\n')), body);
    }

    void nulIsRefusedWithAClearMessage()
    {
        auto dialog = TextMaterialDialog::createForAdd(
            nullptr, {QStringLiteral("文字资料"), QStringLiteral("A"), QString()});
        dialog->show();
        const QString title = QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b");
        titleEdit(dialog.get())->setText(title);
        bodyEdit(dialog.get())->setPlainText(QStringLiteral("body"));
        ModalDriver driver;
        dialog->saveMaterial();
        QCOMPARE(driver.texts(),
                 QStringList{Material::FailurePrefix +
                             QStringLiteral("文字中含有空字符（NUL），无法保存，请删去后再试。")});
        QCOMPARE(titleEdit(dialog.get())->text(), title);
        QCOMPARE(m_folder->value(QStringLiteral("select count(*) from textfile")).toInt(), 0);
    }

    void escapeAsksBeforeTypedTextIsLost_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("add, nothing typed") << 0 << false << int(QMessageBox::NoButton) << true;
        QTest::newRow("add, typed, keep") << 0 << true << int(QMessageBox::No) << false;
        QTest::newRow("add, typed, discard") << 0 << true << int(QMessageBox::Yes) << true;
        QTest::newRow("modify, unchanged") << 1 << false << int(QMessageBox::NoButton) << true;
        QTest::newRow("modify, changed, keep") << 1 << true << int(QMessageBox::No) << false;
    }
    void escapeAsksBeforeTypedTextIsLost()
    {
        QFETCH(int, mode);
        QFETCH(bool, typed);
        QFETCH(int, answer);
        QFETCH(bool, closes);
        TextMaterial loaded;
        loaded.title = QStringLiteral("stored");
        loaded.body = {QStringLiteral("text")};
        const QStringList context{QStringLiteral("文字资料"), QStringLiteral("A"), QString(),
                                  QStringLiteral("stored"), QStringLiteral("1")};
        auto dialog = mode == 0 ? TextMaterialDialog::createForAdd(nullptr, context)
                                : TextMaterialDialog::createForModify(nullptr, loaded, context);
        dialog->show();
        if (typed)
            bodyEdit(dialog.get())->setPlainText(QStringLiteral("typed by hand"));
        ModalDriver driver;
        if (answer != QMessageBox::NoButton)
            driver.answerNextBox(QMessageBox::StandardButton(answer));
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QCOMPARE(driver.texts(), answer == QMessageBox::NoButton
                                     ? QStringList()
                                     : QStringList{QStringLiteral("放弃已输入的内容吗？")});
        QCOMPARE(dialog->isVisible(), !closes);
    }

    void failedSaveKeepsWhatWasTyped_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("add") << 0;
        QTest::newRow("modify") << 1;
    }
    void failedSaveKeepsWhatWasTyped()
    {
        QFETCH(int, mode);
        m_folder->remove(QStringLiteral("Data.QBD"));
        const QStringList context{QStringLiteral("文字资料"), QStringLiteral("A"), QString(),
                                  QStringLiteral("t"), QStringLiteral("1")};
        auto dialog = mode == 0 ? TextMaterialDialog::createForAdd(nullptr, context)
                                : TextMaterialDialog::createForModify(nullptr, TextMaterial(), context);
        dialog->show();
        titleEdit(dialog.get())->setText(QStringLiteral("it's"));
        authorEdit(dialog.get())->setText(QStringLiteral("me"));
        bodyEdit(dialog.get())->setPlainText(QStringLiteral("a:b"));
        ModalDriver driver;
        dialog->saveMaterial();
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY(driver.boxes.first().text.startsWith(Material::FailurePrefix));
        QVERIFY(dialog->isVisible());
        QCOMPARE(titleEdit(dialog.get())->text(), QStringLiteral("it's"));
        QCOMPARE(authorEdit(dialog.get())->text(), QStringLiteral("me"));
        QCOMPARE(bodyEdit(dialog.get())->toPlainText(), QStringLiteral("a:b"));
    }

    void pastesTheClipboardAtTheCaret()
    {
        auto dialog = TextMaterialDialog::createForAdd(
            nullptr, {QStringLiteral("文字资料"), QStringLiteral("A"), QString()});
        bodyEdit(dialog.get())->setPlainText(QStringLiteral("before after"));
        QTextCursor cursor = bodyEdit(dialog.get())->textCursor();
        cursor.setPosition(7);
        cursor.setPosition(12, QTextCursor::KeepAnchor);
        bodyEdit(dialog.get())->setTextCursor(cursor);
        QApplication::clipboard()->setText(QStringLiteral("剪贴板"));
        dialog->pasteFromClipboard();
        QCOMPARE(bodyEdit(dialog.get())->toPlainText(), QStringLiteral("before 剪贴板"));
    }

private:
    QScopedPointer<TestFolder> m_folder;
    QScopedPointer<Database> m_data;
    FixedClock m_clock;
};

QTEST_MAIN(TestMaterialDialogs)
#include "tst_materialdialogs.moc"
