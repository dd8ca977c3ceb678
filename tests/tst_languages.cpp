#include "FixedClock.h"
#include "TestFolder.h"

#include "code/CodeFence.h"
#include "code/HighlightDefinitions.h"
#include "code/LanguageGuess.h"
#include "code/SourceHighlighter.h"
#include "exchange/ExportIndex.h"
#include "exchange/ExportLayout.h"
#include "exchange/ImportPlan.h"
#include "exchange/MaterialFile.h"
#include "exchange/MaterialImporter.h"
#include "store/Database.h"
#include "store/MaterialLanguages.h"
#include "tree/TreeFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

#include <yaml-cpp/yaml.h>

namespace {
// The front matter of a file as a YAML document, read by a reader that refuses repeated keys
// and anything else YAML does not allow.
YAML::Node frontMatterOf(const QByteArray &file)
{
    const qsizetype end = file.indexOf("\n---\n", 3);
    return YAML::Load(file.mid(4, end - 3).toStdString());
}

QString qs(const YAML::Node &node)
{
    return QString::fromStdString(node.as<std::string>());
}

// The spans of the block that have a colour of their own.
QStringList colouredSpans(const QTextBlock &block)
{
    QStringList spans;
    for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        if (range.format.hasProperty(QTextFormat::ForegroundBrush))
            spans.append(block.text().mid(range.start, range.length));
    }
    return spans;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}
} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT
private slots:
    void guess_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("language");
        auto row = [](const char *name, const QString &title, const QString &body, const char *language) {
            QTest::newRow(name) << title << body << QString::fromLatin1(language);
        };
        row("extension", QStringLiteral("quicksort.cpp"), QStringLiteral("# not a heading\n- x\n- y"), "cpp");
        row("shell extension", QStringLiteral("backup.sh"), QString(), "sh");
        row("Markdown extension", QStringLiteral("部署笔记.md"), QStringLiteral("纯文字"), "markdown");
        row("upper-case C", QStringLiteral("old.C"), QString(), "cpp");
        row("Makefile", QStringLiteral("Makefile"), QString(), "makefile");
        row("version is no extension", QStringLiteral("Qt 6.4 笔记"), QStringLiteral("内容"), "text");
        row("env python", QStringLiteral("tool"), QStringLiteral("#!/usr/bin/env python3\nprint(1)"),
            "python");
        row("env with options", QStringLiteral("t"), QStringLiteral("#!/usr/bin/env -S perl -w\n"), "perl");
        row("bash", QStringLiteral("t"), QStringLiteral("#!/bin/bash\necho"), "sh");
        row("php", QStringLiteral("t"), QStringLiteral("<?php echo 1; ?>"), "php");
        row("xml", QStringLiteral("t"), QStringLiteral("<?xml version=\"1.0\"?>\n<a/>"), "xml");
        row("emacs", QStringLiteral("t"), QStringLiteral("// -*- mode: c++; indent-tabs-mode: nil -*-"),
            "cpp");
        row("emacs after #!", QStringLiteral("t"), QStringLiteral("#!/opt/x/run\n# -*- python -*-"),
            "python");
        row("vim", QStringLiteral("t"), QStringLiteral("# vim: set ft=sh:\nls"), "sh");
        row("one fence", QStringLiteral("t"), QStringLiteral("\n```sql\nselect 1;\n```\n"), "sql");
        row("two fences", QStringLiteral("t"), QStringLiteral("```sql\na\n```\ntext\n```sql\nb\n```"),
            "markdown");
        row("markdown", QStringLiteral("t"), QStringLiteral("# 标题\n\n- 一\n- 二\n"), "markdown");
        row("python comments", QStringLiteral("t"), QStringLiteral("# 计算\n# 平均数\nx = 1"), "text");
        row("numbered note", QStringLiteral("t"), QStringLiteral("1. 买菜\n2. 做饭"), "text");
        row("empty", QString(), QString(), "text");
    }
    void guess()
    {
        QFETCH(QString, title);
        QFETCH(QString, body);
        QFETCH(QString, language);
        QCOMPARE(LanguageGuess::of(title, body.isEmpty() ? QStringList() : body.split(QLatin1Char('\n'))),
                 language);
    }

    // What the export fences comes back out of its fence exactly, also after an editor turned
    // its line ends into CR LF; blocks that are not one fence stay as they are.
    void fences_data()
    {
        QTest::addColumn<QString>("body");
        QTest::newRow("empty") << QString();
        QTest::newRow("one empty line") << QStringLiteral("\n");
        QTest::newRow("backticks inside") << QStringLiteral("a ``` b\n````\n`x`");
        QTest::newRow("fence at the end") << QStringLiteral("code\n```");
        QTest::newRow("tildes and blanks") << QStringLiteral("~~~\n\n   \n");
    }
    void fences()
    {
        QFETCH(QString, body);
        const QString block = CodeFence::fenced(body, QStringLiteral("cpp"));
        for (const QString &written :
             {block, QString(block).replace(QLatin1Char('\n'), QStringLiteral("\r\n"))}) {
            QString info;
            QString text;
            QVERIFY(CodeFence::unwrap(written, &info, &text));
            QCOMPARE(info, QStringLiteral("cpp"));
            QCOMPARE(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")), body);
        }
        QString info;
        QString text;
        QVERIFY(!CodeFence::unwrap(block + QStringLiteral("\nafter"), &info, &text));
        QVERIFY(!CodeFence::unwrap(QStringLiteral("```\na\n```\n```\nb\n```"), &info, &text));
    }

    // A comment or a string over several lines stays coloured on every line; the lines before
    // the code are left alone; a line too long for the expressions stays plain and the lines after
    // it are coloured.
    void highlighterKeepsStateAcrossLines()
    {
        HighlightDefinitions definitions;
        QTextDocument document;
        SourceHighlighter highlighter(&definitions, &document);
        const QString longLine = QStringLiteral("int x = ") + QString(SourceHighlighter::LongestLine, u'1');
        document.setPlainText(QStringLiteral("作者：O'Brien \"\n/* one\ntwo */ int a;\n") + longLine +
                              QStringLiteral("\nreturn \"中文\";"));
        QVERIFY(highlighter.setLanguage(QStringLiteral("cpp"), false, 1));
        QTRY_VERIFY(highlighter.isFinished());
        QCOMPARE(colouredSpans(document.findBlockByNumber(0)), QStringList());
        QCOMPARE(colouredSpans(document.findBlockByNumber(1)), QStringList{QStringLiteral("/* one")});
        QCOMPARE(colouredSpans(document.findBlockByNumber(2)),
                 (QStringList{QStringLiteral("two */"), QStringLiteral("int")}));
        QCOMPARE(colouredSpans(document.findBlockByNumber(3)), QStringList());
        QCOMPARE(colouredSpans(document.findBlockByNumber(4)),
                 (QStringList{QStringLiteral("return"), QStringLiteral("\"中文\"")}));

        // A Python string of three quotes, coloured in slices on the event loop.
        QString lines = QStringLiteral("s = '''\n");
        for (int i = 0; i < 3000; ++i)
            lines += QStringLiteral("inside %1\n").arg(i);
        document.setPlainText(lines + QStringLiteral("'''\nimport os"));
        QVERIFY(highlighter.setLanguage(QStringLiteral("python"), true));
        QVERIFY(!highlighter.isFinished());
        QTRY_VERIFY(highlighter.isFinished());
        QCOMPARE(colouredSpans(document.findBlockByNumber(2000)), QStringList{QStringLiteral("inside 1999")});
        QCOMPARE(colouredSpans(document.lastBlock()), QStringList{QStringLiteral("import")});
    }

    // A definition that is missing or broken, and a language nobody knows: plain text and why.
    void highlighterSaysWhyNot()
    {
        QTemporaryDir folder;
        write(folder.filePath(QStringLiteral("cpp.lang")), "keyword = \"unclosed\n(((");
        HighlightDefinitions definitions(folder.path());
        QTextDocument document(QStringLiteral("int a;"));
        SourceHighlighter highlighter(&definitions, &document);
        QVERIFY(!highlighter.setLanguage(QStringLiteral("cpp"), false));
        QVERIFY2(highlighter.problem().contains(QStringLiteral("cpp.lang")),
                 qPrintable(highlighter.problem()));
        QVERIFY(!highlighter.setLanguage(QStringLiteral("python"), false));
        QVERIFY2(highlighter.problem().contains(QStringLiteral("找不到")), qPrintable(highlighter.problem()));
        QVERIFY(!highlighter.setLanguage(QStringLiteral("kotlin-9"), false));
        QCOMPARE(colouredSpans(document.firstBlock()), QStringList());
    }

    // Every front matter the export writes is YAML that a strict reader takes, with the values
    // it was given.
    void frontMatterIsYaml_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("marks") << QStringLiteral("it's: a \"test\" # not \\ a comment");
        QTest::newRow("rule") << QStringLiteral("---");
        QTest::newRow("breaks and tabs") << QStringLiteral("two\nlines\r\n\twith tab");
        QTest::newRow("controls") << QStringLiteral("bell\a esc\x1b del\x7f nel\u0085");
        QTest::newRow("separators") << QStringLiteral("a\u2028b\u2029c\uFEFFd");
        QTest::newRow("wide") << QStringLiteral("中文😀 and blanks  ");
    }
    void frontMatterIsYaml()
    {
        QFETCH(QString, title);
        MaterialFile material;
        material.title = title;
        material.author = title;
        material.created = QStringLiteral("2026-12-09 10:00:00");
        material.kind = MaterialFile::InstanceKind;
        material.path = title;
        const YAML::Node fields = frontMatterOf(material.text().toUtf8());
        QCOMPARE(qs(fields["title"]), title);
        QCOMPARE(qs(fields["path"]), title);
        QCOMPARE(qs(fields["language"]), QStringLiteral("text"));

        ExportLayout layout;
        const int top = layout.addTop({QStringLiteral("文字资料")});
        layout.child(top, title);
        layout.child(top, QStringLiteral("folder"));
        const QByteArray index = ExportIndex().toUtf8(layout, QStringLiteral("2026-12-09 10:00:00"));
        const YAML::Node categories = frontMatterOf(index)["categories"];
        QCOMPARE(categories.size(), std::size_t(3));
        QCOMPARE(qs(categories[1]["name"]), title);
        QCOMPARE(ExportIndex::folderNames(QString::fromUtf8(index)).at(1).second, title);
    }

    // Source files become text materials titled by their names, in their languages; a Markdown
    // file names its language and has its fence taken off when the two agree.
    void importsSourceFiles()
    {
        FixedClock clock;
        Clock::setInstance(&clock);
        TestFolder folder;
        Database database;
        QTemporaryDir notes;
        write(notes.filePath(QStringLiteral("quicksort.cpp")), "int main() {}\n");
        write(notes.filePath(QStringLiteral("config.yaml")), "---\nkey: value\n");
        write(notes.filePath(QStringLiteral("script.md")),
              "---\ntitle: \"script\"\nlanguage: \"sql\"\n---\n\n```sql\nselect 1;\n```\n");
        write(notes.filePath(QStringLiteral("mismatch.md")),
              "---\ntitle: \"mismatch\"\nlanguage: \"sh\"\n---\n\n```sql\nselect 1;\n```\n");
        const QVector<TreeNode> tree{{QStringLiteral("文字资料"), 0, {{QStringLiteral("X"), 1, {}}}},
                                     {QStringLiteral("实例资料"), 0, {}},
                                     {QStringLiteral("搜索结果"), 0, {}}};
        ImportPlan plan(notes.path(), {QStringLiteral("文字资料"), QStringLiteral("X")}, tree);
        QVERIFY(plan.scan([](int) { return true; }));
        QCOMPARE(MaterialImporter(plan).run([](int, int) { return true; }).materials, 4);
        QCOMPARE(folder.rows(QStringLiteral("select title,main from textfile order by title")),
                 (QList<QVariantList>{
                     {QStringLiteral("config.yaml"), QStringLiteral("---\r\nkey+(MH)+ value\r\n")},
                     {QStringLiteral("mismatch"), QStringLiteral("```sql\r\nselect 1;\r\n```\r\n")},
                     {QStringLiteral("quicksort.cpp"), QStringLiteral("int main() {}\r\n")},
                     {QStringLiteral("script"), QStringLiteral("select 1;\r\n")}}));
        // Only what differs from the guess is kept: the file's name says the rest.
        QCOMPARE(
            folder.rows(QStringLiteral("select t.title,l.language from textfile_language l join textfile t "
                                       "on t.id=l.id order by t.title")),
            (QList<QVariantList>{{QStringLiteral("mismatch"), QStringLiteral("sh")},
                                 {QStringLiteral("script"), QStringLiteral("sql")}}));
        Clock::setInstance(nullptr);
    }
};

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
