#include "base/AnsiText.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class TestAnsiText : public QObject
{
    Q_OBJECT
private slots:
    void splitLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("no break") << QStringLiteral("a") << QStringList{QStringLiteral("a")};
        QTest::newRow("CR LF, last one too")
            << QStringLiteral("a\r\nb\r\n") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("lone CR") << QStringLiteral("a\rb")
                                 << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("lone LF") << QStringLiteral("a\nb")
                                 << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("empty line kept") << QStringLiteral("a\r\n\r\nb")
                                         << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")};
        QTest::newRow("LF then CR is two breaks")
            << QStringLiteral("a\n\rb") << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")};
        QTest::newRow("only a break") << QStringLiteral("\r\n") << QStringList{QString()};
    }
    void splitLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(AnsiText::splitLines(text), lines);
    }

    void joinLinesEndsEveryLine()
    {
        QCOMPARE(AnsiText::joinLines({}), QString());
        QCOMPARE(AnsiText::joinLines({QStringLiteral("a"), QString(), QStringLiteral("b")}),
                 QStringLiteral("a\r\n\r\nb\r\n"));
    }

    void leftBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("cut");
        QTest::newRow("ascii") << QStringLiteral("abcdef") << 4 << QStringLiteral("abcd");
        QTest::newRow("shorter than the limit") << QStringLiteral("ab") << 30 << QStringLiteral("ab");
        QTest::newRow("chinese whole") << QStringLiteral("中文字") << 4 << QStringLiteral("中文");
        QTest::newRow("chinese straddling") << QStringLiteral("中文字") << 5 << QStringLiteral("中文");
        QTest::newRow("two-byte at the limit") << QStringLiteral("a中b") << 2 << QStringLiteral("a");
        QTest::newRow("outside GBK is four bytes") << QStringLiteral("😀x") << 4 << QStringLiteral("😀");
        QTest::newRow("four-byte straddling") << QStringLiteral("a😀") << 4 << QStringLiteral("a");
        QTest::newRow("zero") << QStringLiteral("x") << 0 << QString();
    }
    void leftBytes()
    {
        QFETCH(QString, text);
        QFETCH(int, limit);
        QFETCH(QString, cut);
        QCOMPARE(AnsiText::leftBytes(text, limit), cut);
        QVERIFY(AnsiText::byteLength(cut) <= limit);
    }

    void encodesGbkBytesAndKeepsOtherCharacters()
    {
        QCOMPARE(AnsiText::encode(QStringLiteral("文字资料")).toHex(), QByteArray("cec4d7d6d7cac1cf"));
        const QString beyond = QStringLiteral("😀𠀀€");
        QCOMPARE(AnsiText::decode(AnsiText::encode(beyond)), beyond);
    }

    void lineFileRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.txt"));
        const QStringList lines{QStringLiteral("文字资料3"), QString(), QStringLiteral("😀")};
        QVERIFY(AnsiText::writeLineFile(path, lines));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), AnsiText::encode(QStringLiteral("文字资料3\r\n\r\n😀\r\n")));
        QStringList read;
        QVERIFY(AnsiText::readLineFile(path, &read));
        QCOMPARE(read, lines);
    }

    // An unchanged file is not replaced: at the end, on a full disk, there is nothing to fail.
    void unchangedLineFileIsLeftAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.txt"));
        const QStringList lines{QStringLiteral("文字资料0")};
        QVERIFY(AnsiText::writeLineFile(path, lines));
        const QString link = dir.filePath(QStringLiteral("same"));
        QVERIFY(::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()) == 0);
        QVERIFY(AnsiText::writeLineFile(path, lines));
        struct stat first
        {
        };
        struct stat second
        {
        };
        QVERIFY(::stat(QFile::encodeName(path).constData(), &first) == 0);
        QVERIFY(::stat(QFile::encodeName(link).constData(), &second) == 0);
        QCOMPARE(first.st_ino, second.st_ino);
        // A change is written, as a new file.
        QVERIFY(AnsiText::writeLineFile(path, {QStringLiteral("文字资料1")}));
        QVERIFY(::stat(QFile::encodeName(path).constData(), &first) == 0);
        QVERIFY(first.st_ino != second.st_ino);
    }

    void unreadableFileIsAnError()
    {
        QStringList lines;
        QString error;
        QVERIFY(!AnsiText::readLineFile(QStringLiteral("/nonexistent/zindrel/file"), &lines, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAnsiText)
#include "tst_ansitext.moc"
