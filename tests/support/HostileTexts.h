#pragma once

#include <QString>
#include <QtTest>

// Texts that have broken programs like this one: quotes, SQL, wildcards, the stored tokens,
// the history separator, characters outside GBK, a tab, and a very long text.
inline void addHostileRows()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("apostrophe") << QStringLiteral("'");
    QTest::newRow("two apostrophes") << QStringLiteral("''");
    QTest::newRow("it's") << QStringLiteral("it's");
    QTest::newRow("sql") << QStringLiteral("x'); delete from textfile; --");
    QTest::newRow("percent") << QStringLiteral("%");
    QTest::newRow("underscore") << QStringLiteral("_");
    QTest::newRow("backslash") << QStringLiteral("\\");
    QTest::newRow("apostrophe token") << QStringLiteral("+(DYH)+");
    QTest::newRow("colon token") << QStringLiteral("+(MH)+");
    QTest::newRow("colon") << QStringLiteral(":");
    QTest::newRow("dash") << QStringLiteral("-");
    QTest::newRow("null") << QStringLiteral("null");
    QTest::newRow("outside GBK") << QStringLiteral("😀𠀀€");
    QTest::newRow("tab") << QStringLiteral("a\tb");
    QString longText;
    while (longText.size() < 100000)
        longText += QStringLiteral("x'%_:\\中😀");
    QTest::newRow("100000 characters") << longText.left(100000);
}
