#include "MainFormFixture.h"
#include "ModalDriver.h"

#include "base/AnsiText.h"
#include "capture/DropRules.h"
#include "capture/DroppedTextFile.h"
#include "capture/TAcceptExeForm.h"
#include "capture/TAcceptTextForm.h"
#include "capture/TDragForm.h"
#include "shell/TMainForm.h"

#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray utf8(const char *text)
{
    return QByteArray(text);
}

QByteArray gb18030(const char *text)
{
    return AnsiText::encode(QString::fromUtf8(text));
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

// The mime data of a drag of local files, as a file manager offers it: the URLs and their text.
std::unique_ptr<QMimeData> filesData(const QStringList &paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    QStringList texts;
    for (const QString &path : paths) {
        urls.append(QUrl::fromLocalFile(path));
        texts.append(urls.last().toString());
    }
    data->setUrls(urls);
    data->setText(texts.join(QLatin1Char('\n')));
    return data;
}

std::unique_ptr<QMimeData> textData(const QString &text)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    return data;
}

struct DropResult
{
    bool entered = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

// A drag that enters the window offering copy and move, then drops.
DropResult dropOn(QWidget *target, const QMimeData *data)
{
    const QPoint pos(20, 20);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(pos, offered, data, Qt::LeftButton, Qt::NoModifier);
    enter.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &enter);
    DropResult result;
    result.entered = enter.isAccepted();
    if (!result.entered)
        return result;
    QDropEvent drop(QPointF(pos), offered, data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &drop);
    result.action = drop.dropAction();
    return result;
}
} // namespace

class TestCaptureDrop : public QObject
{
    Q_OBJECT
private slots:
    void joinedLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("last line without break") << QStringLiteral("abc") << QStringLiteral("abc\r\n");
        QTest::newRow("crlf lines") << QStringLiteral("a\r\nb\r\n") << QStringLiteral("a\r\nb\r\n");
        QTest::newRow("lf lines") << QStringLiteral("a\nb") << QStringLiteral("a\r\nb\r\n");
        QTest::newRow("lone cr dropped") << QStringLiteral("a\rb\n") << QStringLiteral("ab\r\n");
        QTest::newRow("cr at the end") << QStringLiteral("a\r") << QStringLiteral("a\r\n");
        QTest::newRow("empty lines kept") << QStringLiteral("\r\n\nx") << QStringLiteral("\r\n\r\nx\r\n");
        const QString ctrlZ(QChar(0x1A));
        QTest::newRow("ctrl-z where a line begins ends the text")
            << QStringLiteral("a\r\n") + ctrlZ + QStringLiteral("b\r\nc") << QStringLiteral("a\r\n");
        QTest::newRow("ctrl-z first") << ctrlZ + QStringLiteral("abc") << QString();
        QTest::newRow("ctrl-z inside a line stays") << QStringLiteral("a") + ctrlZ + QStringLiteral("b")
                                                    << QStringLiteral("a") + ctrlZ + QStringLiteral("b\r\n");
    }
    void joinedLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(DroppedTextFile::joinedLines(text), expected);
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ascii") << QByteArray("plain text") << QStringLiteral("plain text");
        QTest::newRow("utf-8") << utf8("中文资料") << QStringLiteral("中文资料");
        QTest::newRow("utf-8 with byte-order mark")
            << QByteArray("\xEF\xBB\xBF") + utf8("中文") << QStringLiteral("中文");
        QTest::newRow("gb18030") << gb18030("编程语言") << QStringLiteral("编程语言");
        QTest::newRow("gb18030 four-byte character") << gb18030("表情😀") << QStringLiteral("表情😀");
        QTest::newRow("gb18030 that is no utf-8 after an ascii start")
            << QByteArray("int x; // ") + gb18030("注释") << QStringLiteral("int x; // 注释");
    }
    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(DroppedTextFile::decode(bytes), expected);
    }

    void readFile()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("a.txt"), gb18030("第一行\r\n第二行"));
        QString text;
        QString error;
        QVERIFY(DroppedTextFile::read(path, &text, &error));
        QCOMPARE(text, QStringLiteral("第一行\r\n第二行\r\n"));

        const QString missing = dir.filePath(QStringLiteral("missing.txt"));
        QVERIFY(!DroppedTextFile::read(missing, &text, &error));
        QVERIFY2(error.contains(missing), qPrintable(error));
    }

    void interpret_data()
    {
        QTest::addColumn<QStringList>("files"); // names inside a temporary folder
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("content"); // "<path>" stands for the one file's path
        QTest::newRow("text") << QStringList() << QStringLiteral("dragged text") << int(DropAction::Text)
                              << QStringLiteral("dragged text");
        QTest::newRow("one txt file") << QStringList{QStringLiteral("note.txt")} << QString()
                                      << int(DropAction::Text) << QStringLiteral("第一行\r\n第二行\r\n");
        QTest::newRow("upper-case TXT is an instance")
            << QStringList{QStringLiteral("NOTE.TXT")} << QString() << int(DropAction::Instance)
            << QStringLiteral("<path>");
        QTest::newRow("mixed-case Txt is an instance")
            << QStringList{QStringLiteral("note.Txt")} << QString() << int(DropAction::Instance)
            << QStringLiteral("<path>");
        QTest::newRow("program") << QStringList{QStringLiteral("build.sh")} << QString()
                                 << int(DropAction::Instance) << QStringLiteral("<path>");
        QTest::newRow("two files") << QStringList{QStringLiteral("a.txt"), QStringLiteral("b.sh")}
                                   << QString() << int(DropAction::Nothing) << QString();
        QTest::newRow("nothing") << QStringList() << QString() << int(DropAction::Nothing) << QString();
    }
    void interpret()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, content);
        QTemporaryDir dir;
        QStringList paths;
        for (const QString &name : files)
            paths.append(writeFile(dir, name, gb18030("第一行\n第二行")));
        std::unique_ptr<QMimeData> data = files.isEmpty() ? textData(text) : filesData(paths);
        if (files.isEmpty() && text.isEmpty())
            data = std::make_unique<QMimeData>();
        const DropAction action = DropRules::interpret(data.get());
        QCOMPARE(int(action.kind), kind);
        QCOMPARE(action.content, content == QLatin1String("<path>") ? paths.value(0) : content);
        QCOMPARE(DropRules::accepts(data.get()), !files.isEmpty() || !text.isEmpty());
    }

    void unreadableTextFileFails()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("gone.txt"));
        const auto data = filesData({path});
        const DropAction action = DropRules::interpret(data.get());
        QCOMPARE(action.kind, DropAction::Failed);
        QVERIFY2(action.content.contains(path), qPrintable(action.content));
    }

    void webLinkIsText()
    {
        QMimeData data;
        data.setUrls({QUrl(QStringLiteral("https://example.org/page"))});
        data.setText(QStringLiteral("https://example.org/page"));
        const DropAction action = DropRules::interpret(&data);
        QCOMPARE(action.kind, DropAction::Text);
        QCOMPARE(action.content, QStringLiteral("https://example.org/page"));
    }

    void titleOf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("ascii cut at ten") << QStringLiteral("abcdefghijklmn") << QStringLiteral("abcdefghij");
        QTest::newRow("shorter text is the whole title") << QStringLiteral("abc") << QStringLiteral("abc");
        QTest::newRow("five chinese characters")
            << QStringLiteral("一二三四五六七") << QStringLiteral("一二三四五");
        QTest::newRow("two-byte character at the limit left out")
            << QStringLiteral("abcdefghi中文") << QStringLiteral("abcdefghi");
        QTest::newRow("two-byte character ending at the limit kept")
            << QStringLiteral("abcdefgh中文") << QStringLiteral("abcdefgh中");
        QTest::newRow("four-byte character") << QStringLiteral("ab😀cdefgh") << QStringLiteral("ab😀cdef");
        QTest::newRow("line breaks become blanks")
            << QStringLiteral("ab\r\ncd\nef\rgh") << QStringLiteral("ab cd ef g");
        QTest::newRow("empty") << QString() << QString();
    }
    void titleOf()
    {
        QFETCH(QString, text);
        QFETCH(QString, title);
        QCOMPARE(DropRules::titleOf(text), title);
        QVERIFY(AnsiText::byteLength(DropRules::titleOf(text)) <= DropRules::TitleBytes);
    }

    // The window: opened by the main window once its loop runs.
    void floatingWindowOpens()
    {
        MainFormFixture fixture;
        QVERIFY(!DragForm);
        QTRY_VERIFY(DragForm);
        QVERIFY(DragForm->isVisible());
        QVERIFY(fixture.form->N341->isChecked());
        QCOMPARE(DragForm->size(), QSize(40, 40));
        QCOMPARE(DragForm->Image1->geometry(), QRect(4, 4, 32, 32));
        const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
        QCOMPARE(DragForm->pos(), QPoint(screenWidth - 100, 50));
        QCOMPARE(qRound(DragForm->windowOpacity() * 255), 160);
        const Qt::WindowFlags flags = DragForm->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!DragForm->parentWidget());
        QVERIFY(DragForm->acceptDrops());
        fixture.form.reset();
        QVERIFY(!DragForm); // the main window ends it
    }

    void textDropOpensTextDialog()
    {
        MainFormFixture fixture;
        QTRY_VERIFY(DragForm);
        const auto data = textData(QStringLiteral("SELECT 1;\r\n-- 注释"));
        const DropResult result = dropOn(DragForm, data.get());
        QVERIFY(result.entered);
        QCOMPARE(result.action, Qt::CopyAction); // the source keeps its text
        QVERIFY(AcceptTextForm);
        QVERIFY(!AcceptExeForm);
        QVERIFY(AcceptTextForm->isVisible());
        QCOMPARE(AcceptTextForm->parentWidget(), DragForm.data());
        QCOMPARE(AcceptTextForm->windowTitle(), QStringLiteral("添加文字资料"));
        QCOMPARE(AcceptTextForm->MainMemo->toPlainText(), QStringLiteral("SELECT 1;\n-- 注释"));
        QCOMPARE(AcceptTextForm->NameEdit->text(), QStringLiteral("SELECT 1; "));
    }

    void fileDrops_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("toText");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("title");
        QTest::newRow("gb18030 txt, last line without break")
            << QStringLiteral("gbk.txt") << gb18030("第一行\r\n第二行") << true
            << QStringLiteral("第一行\n第二行\n") << QStringLiteral("第一行 第");
        QTest::newRow("utf-8 txt") << QStringLiteral("utf8.txt") << utf8("第一行\n第二行\n") << true
                                   << QStringLiteral("第一行\n第二行\n") << QStringLiteral("第一行 第");
        QTest::newRow("empty txt") << QStringLiteral("empty.txt") << QByteArray() << true << QString()
                                   << QString();
        QTest::newRow("ctrl-z txt") << QStringLiteral("old.txt") << QByteArray("end\r\n\x1Ajunk") << true
                                    << QStringLiteral("end\n") << QStringLiteral("end ");
        QTest::newRow("upper-case TXT")
            << QStringLiteral("README.TXT") << QByteArray("x") << false << QString() << QString();
        QTest::newRow("program") << QStringLiteral("tool.sh") << QByteArray("#!/bin/sh") << false << QString()
                                 << QString();
    }
    void fileDrops()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, toText);
        QFETCH(QString, memo);
        QFETCH(QString, title);
        MainFormFixture fixture;
        QTRY_VERIFY(DragForm);
        QTemporaryDir dir;
        const QString path = writeFile(dir, name, bytes);
        const auto data = filesData({path});
        QCOMPARE(dropOn(DragForm, data.get()).action, Qt::CopyAction);
        if (toText) {
            QVERIFY(AcceptTextForm);
            QVERIFY(!AcceptExeForm);
            QCOMPARE(AcceptTextForm->MainMemo->toPlainText(), memo);
            QCOMPARE(AcceptTextForm->NameEdit->text(), title);
        } else {
            QVERIFY(!AcceptTextForm);
            QVERIFY(AcceptExeForm);
            QVERIFY(AcceptExeForm->isVisible());
            QCOMPARE(AcceptExeForm->windowTitle(), QStringLiteral("添加实例资料"));
            QCOMPARE(AcceptExeForm->PathEdit->text(), QDir::toNativeSeparators(path));
            QVERIFY(AcceptExeForm->NameEdit->text().isEmpty());
            QVERIFY(AcceptExeForm->MainMemo->toPlainText().isEmpty());
        }
    }

    void twoFilesDoNothing()
    {
        MainFormFixture fixture;
        QTRY_VERIFY(DragForm);
        QTemporaryDir dir;
        const auto data = filesData(
            {writeFile(dir, QStringLiteral("a.txt"), "a"), writeFile(dir, QStringLiteral("b.sh"), "b")});
        dropOn(DragForm, data.get());
        QVERIFY(!AcceptTextForm);
        QVERIFY(!AcceptExeForm);
    }

    void dragWithoutTextIsRefused()
    {
        MainFormFixture fixture;
        QTRY_VERIFY(DragForm);
        QMimeData data;
        data.setData(QStringLiteral("image/png"), QByteArray("\x89PNG"));
        QVERIFY(!dropOn(DragForm, &data).entered);
        QVERIFY(!AcceptTextForm);
    }

    void unreadableFileReportsAndHandsNothing()
    {
        MainFormFixture fixture;
        QTRY_VERIFY(DragForm);
        ModalDriver driver;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("gone.txt"));
        const auto data = filesData({path});
        dropOn(DragForm, data.get());
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY(driver.boxes.first().text.contains(path));
        QCOMPARE(driver.boxes.first().icon, QMessageBox::Critical);
        QVERIFY(!AcceptTextForm);
    }

    // A second drop of the same kind refills the one dialog; title, author and categories stay.
    void secondDropRefills_data()
    {
        QTest::addColumn<bool>("hiddenByCaptionClose");
        QTest::newRow("open") << false;
        QTest::newRow("hidden by the caption bar") << true;
    }
    void secondDropRefills()
    {
        QFETCH(bool, hiddenByCaptionClose);
        MainFormFixture fixture;
        QTRY_VERIFY(DragForm);
        dropOn(DragForm, textData(QStringLiteral("first text")).get());
        QPointer<TAcceptTextForm> dialog = AcceptTextForm;
        QVERIFY(dialog);
        dialog->NameEdit->setText(QStringLiteral("my title"));
        dialog->AuthorEdit->setText(QStringLiteral("me"));
        dialog->BigClassCombo->setCurrentIndex(1);
        dialog->BigClassComboChange();
        if (hiddenByCaptionClose) {
            dialog->close();
            QCoreApplication::processEvents();
            QVERIFY(dialog);
            QVERIFY(!dialog->isVisible());
        }

        dropOn(DragForm, textData(QStringLiteral("second text")).get());
        QCOMPARE(AcceptTextForm.data(), dialog.data());
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->MainMemo->toPlainText(), QStringLiteral("second text"));
        QCOMPARE(dialog->NameEdit->text(), QStringLiteral("my title"));
        QCOMPARE(dialog->AuthorEdit->text(), QStringLiteral("me"));
        QCOMPARE(dialog->BigClassCombo->currentIndex(), 1);

        // A file of the other kind opens the other dialog beside it.
        QTemporaryDir dir;
        dropOn(DragForm, filesData({writeFile(dir, QStringLiteral("tool.sh"), "x")}).get());
        QVERIFY(AcceptExeForm);
        QCOMPARE(AcceptTextForm.data(), dialog.data());
        const QString firstPath = AcceptExeForm->PathEdit->text();
        AcceptExeForm->NameEdit->setText(QStringLiteral("tool"));
        dropOn(DragForm, filesData({writeFile(dir, QStringLiteral("other.sh"), "y")}).get());
        QVERIFY(AcceptExeForm->PathEdit->text() != firstPath);
        QVERIFY(AcceptExeForm->PathEdit->text().endsWith(QStringLiteral("other.sh")));
        QCOMPARE(AcceptExeForm->NameEdit->text(), QStringLiteral("tool"));
    }

    void cancelledDialogMakesRoomForANewOne()
    {
        MainFormFixture fixture;
        QTRY_VERIFY(DragForm);
        dropOn(DragForm, textData(QStringLiteral("first")).get());
        QPointer<TAcceptTextForm> first = AcceptTextForm;
        first->CancelBtn->click();
        QVERIFY(!first->isVisible());
        QTRY_VERIFY(!first);
        QVERIFY(!AcceptTextForm);
        dropOn(DragForm, textData(QStringLiteral("second")).get());
        QVERIFY(AcceptTextForm);
        QCOMPARE(AcceptTextForm->MainMemo->toPlainText(), QStringLiteral("second"));
        QCOMPARE(AcceptTextForm->NameEdit->text(), QStringLiteral("second"));
    }
};

QTEST_MAIN(TestCaptureDrop)
#include "tst_capture_drop.moc"
