#include "FixedClock.h"
#include "ModalDriver.h"
#include "TestFolder.h"

#include "base/Clock.h"
#include "edit/TAddFileExeFrm.h"
#include "edit/TAddFileForm.h"
#include "store/ResultMessage.h"
#include "store/TFileExe.h"
#include "store/TFileText.h"
#include "store/TMainData.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

namespace {
const QString TextMissing = QStringLiteral("有些内容是必须填写的，包括标题和正文，你可能没有填写！");
const QString InstanceMissing = QStringLiteral("有些内容是必须填写的，包括标题和实例路径，你可能没有填写！");
} // namespace

class TestMaterialDialogs : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder.reset(new TestFolder);
        m_data.reset(new TMainData);
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
        QCOMPARE(TAddFileForm::CreateForAdd(nullptr, firstLevel)->windowTitle(),
                 QStringLiteral("添加资料在:->文字资料->A->"));
        QCOMPARE(TAddFileExeFrm::CreateForAdd(
                     nullptr, {QStringLiteral("实例资料"), QStringLiteral("T"), QStringLiteral("U")})
                     ->windowTitle(),
                 QStringLiteral("添加资料在:->实例资料->T->U"));
        TFileText text;
        text.title = QStringLiteral("it's");
        text.writer = QStringLiteral("W");
        text.main = {QStringLiteral("a"), QStringLiteral("b")};
        auto modify =
            TAddFileForm::CreateForModify(nullptr, text,
                                          {QStringLiteral("文字资料"), QStringLiteral("A"),
                                           QStringLiteral("B"), QStringLiteral("it's"), QStringLiteral("7")});
        QCOMPARE(modify->windowTitle(), QStringLiteral("修改资料在:->文字资料->A->B->it's"));
        QCOMPARE(modify->title->text(), QStringLiteral("it's"));
        QCOMPARE(modify->MainText->toPlainText(), QStringLiteral("a\nb"));
        QCOMPARE(modify->EditMode, 1);
        TFileExe exe;
        exe.fpath = QStringLiteral("/bin/ls");
        auto modifyExe =
            TAddFileExeFrm::CreateForModify(nullptr, exe,
                                            {QStringLiteral("实例资料"), QStringLiteral("T"), QString(),
                                             QStringLiteral("t"), QStringLiteral("1")});
        QCOMPARE(modifyExe->windowTitle(), QStringLiteral("修改资料在:->实例资料->T->->t"));
        QCOMPARE(modifyExe->PathEdit->text(), QStringLiteral("/bin/ls"));
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
            << false << QStringLiteral("t") << QStringLiteral("   ") << QString() << ResultText::Added;
        QTest::newRow("instance: empty path")
            << true << QStringLiteral("t") << QStringLiteral("b") << QString() << InstanceMissing;
        QTest::newRow("instance: empty title")
            << true << QString() << QString() << QStringLiteral("/bin/ls") << InstanceMissing;
        QTest::newRow("instance: no description needed")
            << true << QStringLiteral("t") << QString() << QStringLiteral("/bin/ls") << ResultText::Added;
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
        std::unique_ptr<TAddFileForm> dialog =
            instance ? std::unique_ptr<TAddFileForm>(TAddFileExeFrm::CreateForAdd(nullptr, context))
                     : TAddFileForm::CreateForAdd(nullptr, context);
        dialog->title->setText(title);
        dialog->MainText->setPlainText(body);
        if (instance)
            static_cast<TAddFileExeFrm *>(dialog.get())->PathEdit->setText(path);
        ModalDriver driver;
        dialog->AddBtnClick();
        QCOMPARE(driver.texts(), QStringList{message});
        const int rows = m_folder
                             ->value(instance ? QStringLiteral("select count(*) from exefile")
                                              : QStringLiteral("select count(*) from textfile"))
                             .toInt();
        QCOMPARE(rows, message == ResultText::Added ? 1 : 0);
    }

    void addModeStoresAndStaysOpenEmpty()
    {
        auto dialog =
            TAddFileForm::CreateForAdd(nullptr, {QStringLiteral("文字资料"), QStringLiteral("A"), QString()});
        dialog->show();
        dialog->title->setText(QStringLiteral("it's: a title"));
        dialog->writer->setText(QStringLiteral("O'Brien"));
        dialog->MainText->setPlainText(QStringLiteral("x:'y'\nline two"));
        ModalDriver driver;
        QString titleWhileShown;
        driver.queue([&titleWhileShown, &dialog, &driver](QWidget *modal) {
            titleWhileShown = dialog->title->text();
            driver.boxes.append(ModalDriver::describe(qobject_cast<QMessageBox *>(modal)));
            qobject_cast<QMessageBox *>(modal)->accept();
        });
        dialog->AddBtnClick();
        QCOMPARE(driver.texts(), QStringList{ResultText::Added});
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
        QVERIFY(dialog->title->text().isEmpty() && dialog->writer->text().isEmpty() &&
                dialog->MainText->toPlainText().isEmpty());
        dialog->AddBtnClick();
        QCOMPARE(driver.texts().last(), TextMissing);
    }

    void modifyWritesTheTimeOfSavingAndCloses()
    {
        m_folder->exec(
            QStringLiteral("insert into exefile(title,classname,bigclassname,writer,createtime,about,fpath) "
                           "values('old','U','T','w','2020-01-01','desc','/old')"));
        TFileExe loaded;
        QVERIFY(loaded.LoadRecord(1));
        auto dialog = TAddFileExeFrm::CreateForModify(nullptr, loaded,
                                                      {QStringLiteral("实例资料"), loaded.bigclassname,
                                                       loaded.classname, loaded.title, QStringLiteral("1")});
        dialog->show();
        dialog->title->setText(QStringLiteral("new"));
        dialog->PathEdit->setText(QStringLiteral("/usr/bin/it's here"));
        ModalDriver driver;
        dialog->AddBtnClick();
        QCOMPARE(driver.texts(), QStringList{ResultText::Done});
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
        auto dialog = mode == 0 ? TAddFileForm::CreateForAdd(nullptr, context)
                                : TAddFileForm::CreateForModify(nullptr, TFileText(), context);
        dialog->show();
        dialog->title->setText(QStringLiteral("it's"));
        dialog->writer->setText(QStringLiteral("me"));
        dialog->MainText->setPlainText(QStringLiteral("a:b"));
        ModalDriver driver;
        dialog->AddBtnClick();
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY(driver.boxes.first().text.startsWith(ResultText::FailurePrefix));
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->title->text(), QStringLiteral("it's"));
        QCOMPARE(dialog->writer->text(), QStringLiteral("me"));
        QCOMPARE(dialog->MainText->toPlainText(), QStringLiteral("a:b"));
    }

    void pastesTheClipboardAtTheCaret()
    {
        auto dialog =
            TAddFileForm::CreateForAdd(nullptr, {QStringLiteral("文字资料"), QStringLiteral("A"), QString()});
        dialog->MainText->setPlainText(QStringLiteral("before after"));
        QTextCursor cursor = dialog->MainText->textCursor();
        cursor.setPosition(7);
        cursor.setPosition(12, QTextCursor::KeepAnchor);
        dialog->MainText->setTextCursor(cursor);
        QApplication::clipboard()->setText(QStringLiteral("剪贴板"));
        dialog->readClick();
        QCOMPARE(dialog->MainText->toPlainText(), QStringLiteral("before 剪贴板"));
    }

private:
    QScopedPointer<TestFolder> m_folder;
    QScopedPointer<TMainData> m_data;
    FixedClock m_clock;
};

QTEST_MAIN(TestMaterialDialogs)
#include "tst_materialdialogs.moc"
