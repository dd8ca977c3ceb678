#include "TestFolder.h"

#include "store/Database.h"
#include "store/FullTextIndex.h"
#include "store/FullTextQuery.h"
#include "store/FullTextTokenizer.h"
#include "store/Material.h"
#include "store/SqlText.h"
#include "store/Statements.h"
#include "store/TextMaterial.h"

#include <QRandomGenerator>
#include <QtTest>

#include <set>

namespace {
using Hit = std::pair<int, qint64>; // kind, id

// A material as stored, and what a person sees of it.
struct Stored
{
    int kind;
    qint64 id;
    QStringList shown;
};

QString lowered(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        if (c.unicode() < 128)
            c = c.toLower();
    }
    return result;
}

// The reference: a plain substring scan of every shown text.
std::set<Hit> scan(const QList<Stored> &materials, const QStringList &terms)
{
    std::set<Hit> hits;
    for (const Stored &material : materials) {
        const bool all = std::all_of(terms.cbegin(), terms.cend(), [&material](const QString &term) {
            return std::any_of(material.shown.cbegin(), material.shown.cend(), [&term](const QString &text) {
                return lowered(text).contains(lowered(term));
            });
        });
        if (all && !terms.isEmpty())
            hits.insert({material.kind, material.id});
    }
    return hits;
}

QList<Stored> readMaterials(const TestFolder &folder)
{
    QList<Stored> materials;
    for (const QVariantList &row :
         folder.rows(QStringLiteral("select 0,id,title,main,'' from textfile union all "
                                    "select 1,id,title,about,fpath from exefile")))
        materials.append({row.at(0).toInt(),
                          row.at(1).toLongLong(),
                          {SqlText::fromTokens(row.at(2).toString(), false),
                           SqlText::fromTokens(row.at(3).toString(), true), row.at(4).toString()}});
    return materials;
}

// Stored texts in both token forms, Chinese, code with quotes, percent signs and backslashes,
// mixed case, emoji, blanks and line breaks; few distinct characters, so that short terms hit.
QString generated(QRandomGenerator &random, int length)
{
    static const QStringList pieces =
        QStringLiteral(
            "索|引|数据|库|触发器|的|Qt|sql|SELECT|it+(DYH)+s|key+(MH)+|+(MH)+(DYH)+|\"a\"|50%_|C:\\x|"
            "(*-)| |\r\n|\u3000|😀|AND|NEAR|DYH|é|{title}|^")
            .split(QLatin1Char('|'));
    QString text;
    while (text.size() < length)
        text += pieces.at(random.bounded(pieces.size()));
    return text;
}

QStringList queriesFor(const QList<Stored> &materials, QRandomGenerator &random)
{
    QStringList queries = QStringLiteral("it's|DYH|MH|\"|'|%|_|*|-|:|(|AND|a OR b|NOT sql|NEAR(a b)|\\|"
                                         "\"a\" OR|sql*|^Qt|{title}:索|key:|😀|É|qT|不存在")
                              .split(QLatin1Char('|'));
    // Pieces of the shown texts: one, two, three and more characters, alone and in pairs.
    for (int i = 0; i < 300; ++i) {
        const QString text = materials.at(random.bounded(materials.size())).shown.at(random.bounded(2));
        if (text.size() < 6)
            continue;
        const int length = 1 + random.bounded(5);
        const QString piece = text.mid(random.bounded(text.size() - length), length).simplified();
        queries.append(i % 3 == 0 && !queries.isEmpty() ? piece + QLatin1Char(' ') + queries.last() : piece);
    }
    return queries;
}
} // namespace

class TestFullText : public QObject
{
    Q_OBJECT
private slots:
    void queryTerms_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<QString>("expression");
        QTest::addColumn<bool>("refused");
        QTest::newRow("blanks of every kind")
            << QStringLiteral(" \t数据\u3000库  ") << QStringList{"数据", "库"}
            << QStringLiteral("\"数据\" \"库\"") << false;
        QTest::newRow("syntax is text")
            << QStringLiteral("a\"b OR NEAR(x") << QStringList{"a\"b", "OR", "NEAR(x"}
            << QStringLiteral("\"a\"\"b\" \"OR\" \"NEAR(x\"") << false;
        QTest::newRow("only blanks") << QStringLiteral("   \u3000 ") << QStringList{} << QString() << true;
        QTest::newRow("half a surrogate pair, NUL")
            << (QString(QChar(0xD83D)) + QChar(0) + QStringLiteral(" 😀")) << QStringList{"\uFFFD\uFFFD", "😀"}
            << QStringLiteral("\"\uFFFD\uFFFD\" \"😀\"") << false;
    }
    void queryTerms()
    {
        QFETCH(QString, typed);
        const FullTextQuery query(typed);
        QTEST(query.terms(), "terms");
        QTEST(query.matchExpression(), "expression");
        QTEST(!query.refusal().isEmpty(), "refused");
    }

    void blanksAreQtSpaces()
    {
        for (char32_t c = 0; c < 0x110000; ++c)
            QVERIFY2(FullTextTokenizer::isBlank(c) == QChar::isSpace(c), qPrintable(QString::number(c, 16)));
    }

    void contextAndOccurrences()
    {
        const FullTextQuery query(QStringLiteral("qt 数据"));
        const QString text =
            QStringLiteral("0123456789abcdefghij数据 and QT and qt, then more text to cut away");
        QCOMPARE(query.context(text), QStringLiteral("...cdefghij数据 and QT and ..."));
        QCOMPARE(query.occurrences(text).size(), 3);
        QCOMPARE(query.occurrences(text).at(1).start, text.indexOf(QLatin1String("QT")));
        QVERIFY(query.context(QStringLiteral("nothing here")).isEmpty());
    }

    // The hits are exactly a substring scan's, on a fresh index, after changes made past the
    // program with plain SQL, and after the program's own commands.
    void hitsEqualSubstringScan()
    {
        TestFolder folder;
        Database database;
        QRandomGenerator random(1147);
        auto insertRows = [&folder, &random](int count) {
            for (int i = 0; i < count; ++i) {
                folder.exec(QStringLiteral("insert into textfile(title,main) values(%1,%2)")
                                .arg(SqlText::literal(generated(random, 12)),
                                     SqlText::literal(generated(random, 200))));
                folder.exec(QStringLiteral("insert into exefile(title,about,fpath) values(%1,%2,%3)")
                                .arg(SqlText::literal(generated(random, 10)),
                                     SqlText::literal(generated(random, 60)),
                                     SqlText::literal(generated(random, 15))));
            }
        };
        auto compareAll = [&folder, &database, &random](const char *stage) {
            const QList<Stored> materials = readMaterials(folder);
            for (const QString &typed : queriesFor(materials, random)) {
                const FullTextQuery query(typed);
                QVector<FullTextHit> hits;
                qint64 counted = 0;
                QString error;
                QVERIFY2(FullTextIndex(&database).search(query, {}, &hits, &counted, &error),
                         qPrintable(typed + ": " + error));
                QCOMPARE(counted, hits.size());
                std::set<Hit> found;
                for (const FullTextHit &hit : hits)
                    found.insert({hit.kind, hit.id});
                QVERIFY2(found == scan(materials, query.terms()),
                         qPrintable(QString::fromLatin1(stage) + ": " + typed));
            }
        };
        insertRows(60);
        bool built = false;
        QString error;
        QVERIFY(FullTextIndex(&database).bringUpToDate({}, &built, &error));
        QVERIFY(built);
        compareAll("built");

        // Another program: inserts, updates of every column, deletes, a REPLACE, an id moved.
        insertRows(20);
        QVERIFY(
            folder.exec(QStringLiteral("update textfile set main=main||' 追加 it+(DYH)+s' where id%3=0")));
        QVERIFY(folder.exec(QStringLiteral("update exefile set fpath='/新/路径', about='' where id%4=1")));
        QVERIFY(folder.exec(QStringLiteral("delete from textfile where id%5=0")));
        QVERIFY(
            folder.exec(QStringLiteral("replace into textfile(id,title,main) values(1,'替换','换掉了')")));
        QVERIFY(folder.exec(QStringLiteral("update textfile set id=1000 where id=2")));
        QVERIFY(folder.exec(QStringLiteral("update or replace textfile set id=3 where id=4")));
        compareAll("changed past the program");

        // The program's own operations: add, modify, move, category rename and delete, delete.
        TextMaterial added;
        added.title = QStringLiteral("新加的 it+(DYH)+s");
        added.category = QStringLiteral("甲");
        added.body = QStringList{QStringLiteral("中间有鹦鹉学舌"), QStringLiteral("key+(MH)+value")};
        QVERIFY(added.insert());
        added.body = QStringList{QStringLiteral("改过的正文")};
        QVERIFY(added.update(folder.value(QStringLiteral("select max(id) from textfile")).toLongLong()));
        QVERIFY(Material::executeStatement(
            Statements::moveMaterial(QStringLiteral("textfile"), QStringLiteral("乙"), QString(), 11)));
        QVERIFY(Material::renameCategory(QStringLiteral("乙"), QString(), QStringLiteral("文字资料"),
                                         QStringLiteral("丙"), [] { return true; }));
        QVERIFY(folder.exec(QStringLiteral("update textfile set bigclassname='丁' where id in (6,7,8)")));
        QVERIFY(Material::deleteCategory(QStringLiteral("丁"), QString(), QStringLiteral("文字资料"),
                                         [] { return true; }));
        QVERIFY(Material::executeStatement(Statements::deleteMaterial(QStringLiteral("exefile"), 9)));
        compareAll("changed by the program");
        QCOMPARE(folder.value(QStringLiteral("select count(*) from fulltext_queue")).toInt(), 0);
    }

    // A base that lost its triggers, or whose index lost count, is built again at start.
    void damagedIndexIsBuiltAgain()
    {
        TestFolder folder;
        Database database;
        QVERIFY(folder.exec(QStringLiteral("insert into textfile(title,main) values('一','正文')")));
        bool built = false;
        QString error;
        QVERIFY(FullTextIndex(&database).bringUpToDate({}, &built, &error));
        QVERIFY(built);
        QVERIFY(FullTextIndex(&database).bringUpToDate({}, &built, &error));
        QVERIFY(!built);
        // The last: so many rows at once that building again is the quicker way.
        for (const QString &damage :
             {QStringLiteral("drop trigger fulltext_textfile_insert"),
              QStringLiteral("delete from fulltext_title"),
              QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<6000) "
                             "insert into textfile(title,main) select '批量','补上'||i from n")}) {
            QVERIFY(folder.exec(damage));
            QVERIFY(folder.exec(QStringLiteral("insert into textfile(title,main) values('二','补上的')")));
            QVERIFY(FullTextIndex(&database).bringUpToDate({}, &built, &error));
            QVERIFY2(built, qPrintable(damage));
            // Thousands of hits: all counted, the best listed.
            QVector<FullTextHit> hits;
            qint64 found = 0;
            QVERIFY(FullTextIndex(&database).search(FullTextQuery(QStringLiteral("补上")), {}, &hits, &found,
                                                    &error));
            const qint64 expected =
                folder.value(QStringLiteral("select count(*) from textfile where main like '%补上%'"))
                    .toLongLong();
            QCOMPARE(found, expected);
            QCOMPARE(hits.size(), qMin<qint64>(expected, FullTextIndex::MostHits));
        }
        // Kept among thousands: the title's hit first, then those where the term occurs most,
        // though they came last.
        QVERIFY(
            folder.exec(QStringLiteral("insert into textfile(title,main) values('多次','补上补上补上补上'),"
                                       "('标题里补上',''),('也多次','补上补上补上')")));
        QVector<FullTextHit> hits;
        qint64 found = 0;
        QVERIFY(FullTextIndex(&database).search(FullTextQuery(QStringLiteral("补上")), {}, &hits, &found,
                                                &error));
        QCOMPARE(hits.size(), FullTextIndex::MostHits);
        QCOMPARE(
            (QStringList{hits.at(0).title, hits.at(1).title, hits.at(2).title}),
            (QStringList{QStringLiteral("标题里补上"), QStringLiteral("多次"), QStringLiteral("也多次")}));
    }
};

QTEST_MAIN(TestFullText)
#include "tst_fulltext.moc"
