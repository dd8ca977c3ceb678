#include "MainWindowFixture.h"
#include "ModalDriver.h"

#include "base/AnsiText.h"
#include "capture/DropRules.h"
#include "capture/DropWindow.h"
#include "capture/DroppedTextFile.h"
#include "capture/QuickInstanceDialog.h"
#include "capture/QuickTextDialog.h"
#include "shell/MainWindow.h"
#include "shell/MainWindowTray.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

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

// The capture dialogs' controls, by object name.
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
QComboBox *categoryCombo(const QWidget *dialog)
{
    return childNamed<QComboBox>(dialog, "categoryCombo");
}
QPlainTextEdit *memoOf(const QWidget *dialog)
{
    return childNamed<QPlainTextEdit>(dialog, "memo");
}
QPushButton *cancelButton(const QWidget *dialog)
{
    return childNamed<QPushButton>(dialog, "cancelButton");
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
                                      << int(DropAction::TextFile) << QStringLiteral("<path>");
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

    void textFilesThatAreNoNotesAreRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QStringLiteral("missing") << QStringLiteral("无法打开文件");
        QTest::newRow("a pipe, which would block")
            << QStringLiteral("fifo") << QStringLiteral("不是普通文件");
        QTest::newRow("a link to an endless device")
            << QStringLiteral("zero") << QStringLiteral("不是普通文件");
        QTest::newRow("a folder") << QStringLiteral("folder") << QStringLiteral("不是普通文件");
        QTest::newRow("too large") << QStringLiteral("large") << QStringLiteral("有16.0 MB，超过了16.0 MB");
    }
    void textFilesThatAreNoNotesAreRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("note.txt"));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QLatin1String("zero"))
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("note.txt")));
        else if (kind == QLatin1String("large")) {
            QFile large(path);
            QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(DroppedTextFile::MaximumBytes + 1));
        }
        QString text;
        QString error;
        QVERIFY(!DroppedTextFile::read(path, &text, &error));
        QVERIFY2(error.contains(path) && error.contains(reason), qPrintable(error));
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

    // The window: opened by the main window when its start is over.
    void floatingWindowOpens()
    {
        MainWindowFixture fixture;
        QVERIFY(fixture.window->dropWindow());
        QPointer<DropWindow> dropWindow = fixture.window->dropWindow();
        QVERIFY(dropWindow->isVisible());
        QVERIFY(fixture.window->tray()->floatingItem()->isChecked());
        QCOMPARE(dropWindow->size(), QSize(40, 40));
        QCOMPARE(childNamed<QLabel>(dropWindow, "icon")->geometry(), QRect(4, 4, 32, 32));
        const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
        QCOMPARE(dropWindow->pos(), QPoint(screenWidth - 100, 50));
        QCOMPARE(qRound(dropWindow->windowOpacity() * 255), 160);
        const Qt::WindowFlags flags = dropWindow->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!dropWindow->parentWidget());
        QVERIFY(dropWindow->acceptDrops());
        fixture.window.reset();
        QVERIFY(!dropWindow); // the main window ends it
    }

    void textDropOpensTextDialog()
    {
        MainWindowFixture fixture;
        QTRY_VERIFY(fixture.window->dropWindow());
        DropWindow *dropWindow = fixture.window->dropWindow();
        const auto data = textData(QStringLiteral("SELECT 1;\r\n-- 注释"));
        const DropResult result = dropOn(dropWindow, data.get());
        QVERIFY(result.entered);
        QCOMPARE(result.action, Qt::CopyAction); // the source keeps its text
        QVERIFY(dropWindow->textDialog());
        QVERIFY(!dropWindow->instanceDialog());
        QVERIFY(dropWindow->textDialog()->isVisible());
        QCOMPARE(dropWindow->textDialog()->parentWidget(), dropWindow);
        QCOMPARE(dropWindow->textDialog()->windowTitle(), QStringLiteral("添加文字资料"));
        QCOMPARE(memoOf(dropWindow->textDialog())->toPlainText(), QStringLiteral("SELECT 1;\n-- 注释"));
        QCOMPARE(titleEdit(dropWindow->textDialog())->text(), QStringLiteral("SELECT 1; "));
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
        MainWindowFixture fixture;
        QTRY_VERIFY(fixture.window->dropWindow());
        DropWindow *dropWindow = fixture.window->dropWindow();
        QTemporaryDir dir;
        const QString path = writeFile(dir, name, bytes);
        const auto data = filesData({path});
        QCOMPARE(dropOn(dropWindow, data.get()).action, Qt::CopyAction);
        if (toText) {
            QTRY_VERIFY(dropWindow->textDialog()); // read in the background
            QVERIFY(!dropWindow->instanceDialog());
            QCOMPARE(memoOf(dropWindow->textDialog())->toPlainText(), memo);
            QCOMPARE(titleEdit(dropWindow->textDialog())->text(), title);
        } else {
            QVERIFY(!dropWindow->textDialog());
            QVERIFY(dropWindow->instanceDialog());
            QVERIFY(dropWindow->instanceDialog()->isVisible());
            QCOMPARE(dropWindow->instanceDialog()->windowTitle(), QStringLiteral("添加实例资料"));
            QCOMPARE(pathEdit(dropWindow->instanceDialog())->text(), QDir::toNativeSeparators(path));
            QVERIFY(titleEdit(dropWindow->instanceDialog())->text().isEmpty());
            QVERIFY(memoOf(dropWindow->instanceDialog())->toPlainText().isEmpty());
        }
    }

    void twoFilesDoNothing()
    {
        MainWindowFixture fixture;
        QTRY_VERIFY(fixture.window->dropWindow());
        DropWindow *dropWindow = fixture.window->dropWindow();
        QTemporaryDir dir;
        const auto data = filesData(
            {writeFile(dir, QStringLiteral("a.txt"), "a"), writeFile(dir, QStringLiteral("b.sh"), "b")});
        dropOn(dropWindow, data.get());
        QVERIFY(!dropWindow->textDialog());
        QVERIFY(!dropWindow->instanceDialog());
    }

    void dragWithoutTextIsRefused()
    {
        MainWindowFixture fixture;
        QTRY_VERIFY(fixture.window->dropWindow());
        DropWindow *dropWindow = fixture.window->dropWindow();
        QMimeData data;
        data.setData(QStringLiteral("image/png"), QByteArray("\x89PNG"));
        QVERIFY(!dropOn(dropWindow, &data).entered);
        QVERIFY(!dropWindow->textDialog());
    }

    void unreadableFileReportsAndHandsNothing()
    {
        MainWindowFixture fixture;
        QTRY_VERIFY(fixture.window->dropWindow());
        DropWindow *dropWindow = fixture.window->dropWindow();
        ModalDriver driver;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("gone.txt"));
        const auto data = filesData({path});
        dropOn(dropWindow, data.get());
        QTRY_COMPARE(driver.boxes.size(), 1);
        QVERIFY(driver.boxes.first().text.contains(path));
        QCOMPARE(driver.boxes.first().icon, QMessageBox::Critical);
        QVERIFY(!dropWindow->textDialog());
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
        MainWindowFixture fixture;
        QTRY_VERIFY(fixture.window->dropWindow());
        DropWindow *dropWindow = fixture.window->dropWindow();
        dropOn(dropWindow, textData(QStringLiteral("first text")).get());
        QPointer<QuickTextDialog> dialog = dropWindow->textDialog();
        QVERIFY(dialog);
        titleEdit(dialog)->setText(QStringLiteral("my title"));
        authorEdit(dialog)->setText(QStringLiteral("me"));
        categoryCombo(dialog)->setCurrentIndex(1);
        dialog->categoryChosen();
        if (hiddenByCaptionClose) {
            dialog->close();
            QCoreApplication::processEvents();
            QVERIFY(dialog);
            QVERIFY(!dialog->isVisible());
        }

        dropOn(dropWindow, textData(QStringLiteral("second text")).get());
        QCOMPARE(dropWindow->textDialog(), dialog.data());
        QVERIFY(dialog->isVisible());
        QCOMPARE(memoOf(dialog)->toPlainText(), QStringLiteral("second text"));
        QCOMPARE(titleEdit(dialog)->text(), QStringLiteral("my title"));
        QCOMPARE(authorEdit(dialog)->text(), QStringLiteral("me"));
        QCOMPARE(categoryCombo(dialog)->currentIndex(), 1);

        // A file of the other kind opens the other dialog beside it.
        QTemporaryDir dir;
        dropOn(dropWindow, filesData({writeFile(dir, QStringLiteral("tool.sh"), "x")}).get());
        QVERIFY(dropWindow->instanceDialog());
        QCOMPARE(dropWindow->textDialog(), dialog.data());
        const QString firstPath = pathEdit(dropWindow->instanceDialog())->text();
        titleEdit(dropWindow->instanceDialog())->setText(QStringLiteral("tool"));
        dropOn(dropWindow, filesData({writeFile(dir, QStringLiteral("other.sh"), "y")}).get());
        QVERIFY(pathEdit(dropWindow->instanceDialog())->text() != firstPath);
        QVERIFY(pathEdit(dropWindow->instanceDialog())->text().endsWith(QStringLiteral("other.sh")));
        QCOMPARE(titleEdit(dropWindow->instanceDialog())->text(), QStringLiteral("tool"));
    }

    void cancelledDialogMakesRoomForANewOne()
    {
        MainWindowFixture fixture;
        QTRY_VERIFY(fixture.window->dropWindow());
        DropWindow *dropWindow = fixture.window->dropWindow();
        dropOn(dropWindow, textData(QStringLiteral("first")).get());
        QPointer<QuickTextDialog> first = dropWindow->textDialog();
        cancelButton(first)->click();
        QVERIFY(!first->isVisible());
        QTRY_VERIFY(!first);
        QVERIFY(!dropWindow->textDialog());
        dropOn(dropWindow, textData(QStringLiteral("second")).get());
        QVERIFY(dropWindow->textDialog());
        QCOMPARE(memoOf(dropWindow->textDialog())->toPlainText(), QStringLiteral("second"));
        QCOMPARE(titleEdit(dropWindow->textDialog())->text(), QStringLiteral("second"));
    }
};

QTEST_MAIN(TestCaptureDrop)
#include "tst_capture_drop.moc"
