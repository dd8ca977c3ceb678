#include "exchange/FrontMatter.h"
#include "exchange/MaterialFile.h"
#include "exchange/SafeName.h"
#include "exchange/UniqueNames.h"

#include <QtTest>

class TestExchangeFormats : public QObject
{
    Q_OBJECT
private slots:
    void safeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("safe");
        QTest::newRow("plain") << QStringLiteral("笔记 notes") << QStringLiteral("笔记 notes");
        QTest::newRow("refused characters")
            << QStringLiteral("a/b\\c:d*e?f\"g<h>i|j") << QStringLiteral("a／b＼c：d＊e？f＂g＜h＞i｜j");
        QTest::newRow("control characters") << QStringLiteral("a\nb\tc\x01\x7F") << QStringLiteral("a_b_c__");
        QTest::newRow("blanks and dots at the ends") << QStringLiteral("  x. . ") << QStringLiteral("x");
        QTest::newRow("leading dot") << QStringLiteral(".bashrc") << QStringLiteral("_bashrc");
        QTest::newRow("nothing left") << QStringLiteral(" ... ") << QStringLiteral("未命名");
        QTest::newRow("empty") << QString() << QStringLiteral("未命名");
        QTest::newRow("device") << QStringLiteral("con") << QStringLiteral("con_");
        QTest::newRow("device with extension") << QStringLiteral("LPT1.txt") << QStringLiteral("LPT1_.txt");
        QTest::newRow("superscript device") << QStringLiteral("COM¹") << QStringLiteral("COM¹_");
        QTest::newRow("not a device") << QStringLiteral("console") << QStringLiteral("console");
        // 90 bytes: 30 three-byte characters; the accent stays with its letter.
        QTest::newRow("long Chinese") << QString(40, QChar(u'长')) << QString(30, QChar(u'长'));
        QTest::newRow("accent at the cut")
            << QString(89, QLatin1Char('e')) + QStringLiteral("e\u0301") << QString(89, QLatin1Char('e'));
        QTest::newRow("emoji at the cut")
            << QString(88, QLatin1Char('x')) + QStringLiteral("😀") << QString(88, QLatin1Char('x'));
        QTest::newRow("blank before the cut")
            << QString(89, QLatin1Char('x')) + QStringLiteral(" yz") << QString(89, QLatin1Char('x'));
    }
    void safeNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, safe);
        QCOMPARE(SafeName::make(name), safe);
        QVERIFY(SafeName::make(name).toUtf8().size() <= SafeName::MaxBytes + 1);
    }

    void distinctNames()
    {
        UniqueNames names;
        names.reserve(QStringLiteral("index.md"));
        QCOMPARE(names.claim(QStringLiteral("Index"), QStringLiteral(".md")), QStringLiteral("Index (2).md"));
        QCOMPARE(names.claim(QStringLiteral("a"), QStringLiteral(".md")), QStringLiteral("a.md"));
        QCOMPARE(names.claim(QStringLiteral("A"), QStringLiteral(".md")), QStringLiteral("A (2).md"));
        QCOMPARE(names.claim(QStringLiteral("a"), QStringLiteral(".md")), QStringLiteral("a (3).md"));
        // A folder and a file of the same name collide too; composed and decomposed letters alike.
        QCOMPARE(names.claim(QStringLiteral("a.md")), QStringLiteral("a.md (2)"));
        QCOMPARE(names.claim(QStringLiteral("e\u0301")), QStringLiteral("e\u0301"));
        QCOMPARE(names.claim(QStringLiteral("\u00E9")), QStringLiteral("\u00E9 (2)"));
        // The number still fits within the byte limit.
        const QString longName(SafeName::MaxBytes, QLatin1Char('x'));
        QCOMPARE(names.claim(longName), longName);
        QCOMPARE(names.claim(longName),
                 QString(SafeName::MaxBytes - 4, QLatin1Char('x')) + QStringLiteral(" (2)"));
    }

    void quotedValuesComeBack_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("plain") << QStringLiteral("标题") << QStringLiteral("\"标题\"");
        QTest::newRow("colon and hash") << QStringLiteral("C++: #1") << QStringLiteral("\"C++: #1\"");
        QTest::newRow("quotes and backslash")
            << QStringLiteral("say \"hi\" \\o/") << QStringLiteral("\"say \\\"hi\\\" \\\\o/\"");
        QTest::newRow("blanks at the ends") << QStringLiteral("  x  ") << QStringLiteral("\"  x  \"");
        QTest::newRow("line breaks and controls")
            << QStringLiteral("a\r\nb\tc\x01") << QStringLiteral("\"a\\r\\nb\\tc\\u0001\"");
        QTest::newRow("apostrophe and dashes")
            << QStringLiteral("it's ---") << QStringLiteral("\"it's ---\"");
        QTest::newRow("empty") << QString() << QStringLiteral("\"\"");
    }
    void quotedValuesComeBack()
    {
        QFETCH(QString, value);
        QFETCH(QString, quoted);
        QCOMPARE(FrontMatter::quoted(value), quoted);
        FrontMatter fields;
        fields.append(QStringLiteral("title"), value);
        fields.append(QStringLiteral("author"), value);
        FrontMatter read;
        QString rest;
        QVERIFY(FrontMatter::split(fields.text() + QStringLiteral("body"), &read, &rest));
        QCOMPARE(read.value(QStringLiteral("title")), value);
        QCOMPARE(read.value(QStringLiteral("author")), value);
        QCOMPARE(rest, QStringLiteral("body"));
    }

    // Files from other programs, and files an editor has changed.
    void filesFromElsewhere_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("created");
        QTest::addColumn<QString>("body");
        QTest::newRow("no front matter") << QStringLiteral("# Notes\nline\n") << QString() << QString()
                                         << QString() << QStringLiteral("# Notes\nline");
        QTest::newRow("other tool's front matter")
            << QStringLiteral(
                   "---\ntitle: My note\nauthor: 'O''Neil'\ndate: 2020-01-02\ntags:\n  - a\n# c\n---\nText\n")
            << QStringLiteral("My note") << QStringLiteral("O'Neil") << QStringLiteral("2020-01-02")
            << QStringLiteral("Text");
        QTest::newRow("editor turned LF into CR LF")
            << QStringLiteral(
                   "---\r\ntitle: \"t\"\r\ncreated: \"2021-01-01 10:00:00\"\r\n---\r\n\r\na\r\n\r\n")
            << QStringLiteral("t") << QString() << QStringLiteral("2021-01-01 10:00:00")
            << QStringLiteral("a\r\n");
        QTest::newRow("a rule at the top is no front matter")
            << QStringLiteral("---\nSome text\n---\nmore") << QString() << QString() << QString()
            << QStringLiteral("---\nSome text\n---\nmore");
        QTest::newRow("never closed") << QStringLiteral("---\ntitle: x\n") << QString() << QString()
                                      << QString() << QStringLiteral("---\ntitle: x");
        QTest::newRow("ISO time, midnight")
            << QStringLiteral("---\ndate: 2020-05-06T00:00:00\n---\nx") << QString() << QString()
            << QStringLiteral("2020-05-06") << QStringLiteral("x");
        QTest::newRow("time not understood") << QStringLiteral("---\ncreated: yesterday\n---\nx") << QString()
                                             << QString() << QString() << QStringLiteral("x");
    }
    void filesFromElsewhere()
    {
        QFETCH(QString, text);
        const MaterialFile file = MaterialFile::parse(text);
        QTEST(file.title, "title");
        QTEST(file.author, "author");
        QTEST(file.storedCreateTime(), "created");
        QTEST(file.body, "body");
    }
};

QTEST_APPLESS_MAIN(TestExchangeFormats)
#include "tst_exchange_formats.moc"
