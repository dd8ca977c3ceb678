#include "search/SearchStatement.h"

#include <QtTest>

namespace {
const QString All = QStringLiteral("全部类别");

SearchStatement textSearch(const QString &big, const QString &small, const QString &keyword,
                           const QString &author)
{
    SearchStatement search;
    search.kind = QStringLiteral("文字资料");
    search.category = big;
    search.subcategory = small;
    search.keyword = keyword;
    search.author = author;
    return search;
}
} // namespace

class TestSearch : public QObject
{
    Q_OBJECT
private slots:
    void conditionTexts_data()
    {
        QTest::addColumn<QString>("big");
        QTest::addColumn<QString>("small");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("condition");
        const QString B = QStringLiteral("数据库");
        const QString S = QStringLiteral("SQL");
        const QString T = QStringLiteral("ADO");
        const QString A = QStringLiteral("张三");
        QTest::newRow("all all T") << All << All << T << QString() << QStringLiteral("title like '%ADO%'");
        QTest::newRow("all all T A") << All << All << T << A
                                     << QStringLiteral("title like '%ADO%' and writer='张三'");
        QTest::newRow("all all A") << All << All << QString() << A << QStringLiteral("writer='张三'");
        QTest::newRow("B all T") << B << All << T << QString()
                                 << QStringLiteral("bigclassname='数据库' and title like '%ADO%'");
        QTest::newRow("B all T A") << B << All << T << A
                                   << QStringLiteral(
                                          "bigclassname='数据库' and title like '%ADO%' and writer='张三'");
        QTest::newRow("B all A, two blanks")
            << B << All << QString() << A << QStringLiteral("bigclassname='数据库'  and writer='张三'");
        QTest::newRow("B S T") << B << S << T << QString()
                               << QStringLiteral(
                                      "bigclassname='数据库' and classname='SQL' and title like '%ADO%'");
        QTest::newRow("B S T A")
            << B << S << T << A
            << QStringLiteral(
                   "bigclassname='数据库' and classname='SQL' and title like '%ADO%' and writer='张三'");
        QTest::newRow("B S A, two blanks")
            << B << S << QString() << A
            << QStringLiteral("bigclassname='数据库' and classname='SQL'  and writer='张三'");
        // Apostrophes: the keyword takes the stored title form, every value is escaped.
        QTest::newRow("keyword with apostrophe") << All << All << QStringLiteral("it's") << QString()
                                                 << QStringLiteral("title like '%it+(DYH)+s%'");
        QTest::newRow("hostile author and categories")
            << QStringLiteral("O'B") << QStringLiteral("x' or '1'='1") << QString()
            << QStringLiteral("a' or 1=1 --")
            << QStringLiteral(
                   "bigclassname='O''B' and classname='x'' or ''1''=''1'  and writer='a'' or 1=1 --'");
        QTest::newRow("wildcards kept") << All << All << QStringLiteral("50%_off") << QString()
                                        << QStringLiteral("title like '%50%_off%'");
    }
    void conditionTexts()
    {
        QFETCH(QString, big);
        QFETCH(QString, small);
        QFETCH(QString, keyword);
        QFETCH(QString, author);
        QFETCH(QString, condition);
        const SearchStatement search = textSearch(big, small, keyword, author);
        QCOMPARE(search.refusal(), QString());
        QCOMPARE(search.condition(), condition);
        QCOMPARE(search.text(), QStringLiteral("select id,title from textfile where ") + condition);
    }

    void datePiece_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QDate>("begin");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QString>("condition");
        const QString base = QStringLiteral("bigclassname='数据库' and title like '%ADO%'");
        QTest::newRow("window") << true << QDate(2003, 7, 1) << QDate(2003, 7, 31)
                                << base + QStringLiteral(
                                              " and createtime<'2003-07-31' and createtime>'2003-07-01'");
        QTest::newRow("one day apart")
            << true << QDate(2003, 12, 31) << QDate(2004, 1, 1)
            << base + QStringLiteral(" and createtime<'2004-01-01' and createtime>'2003-12-31'");
        QTest::newRow("begin equals end") << true << QDate(2003, 7, 1) << QDate(2003, 7, 1) << base;
        QTest::newRow("begin after end") << true << QDate(2003, 8, 1) << QDate(2003, 7, 1) << base;
        QTest::newRow("not ticked") << false << QDate(2003, 7, 1) << QDate(2003, 7, 31) << base;
    }
    void datePiece()
    {
        QFETCH(bool, ticked);
        QFETCH(QDate, begin);
        QFETCH(QDate, end);
        QFETCH(QString, condition);
        SearchStatement search = textSearch(QStringLiteral("数据库"), All, QStringLiteral("ADO"), QString());
        search.dateWindow = ticked;
        search.begin = begin;
        search.end = end;
        QCOMPARE(search.condition(), condition);
    }

    void instanceKind()
    {
        SearchStatement search = textSearch(All, All, QString(), QStringLiteral("我"));
        search.kind = QStringLiteral("实例资料");
        QCOMPARE(search.text(), QStringLiteral("select id,title from exefile where writer='我'"));
        QCOMPARE(search.hitImage(), 5);
        search.kind = QStringLiteral("文字资料");
        QCOMPARE(search.hitImage(), 4);
    }

    void checksInOrder_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("big");
        QTest::addColumn<QString>("small");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("message");
        const QString scope = QStringLiteral("请选择搜索范围！");
        const QString input = QStringLiteral("标题关键字和作者至少填写一样！");
        const QString kind = QStringLiteral("文字资料");
        QTest::newRow("nothing") << QString() << QString() << QString() << QString() << QString() << scope;
        QTest::newRow("no kind") << QString() << All << All << "T" << QString() << scope;
        QTest::newRow("no first level") << kind << QString() << All << "T" << QString() << scope;
        QTest::newRow("no second level, even beside all")
            << kind << All << QString() << "T" << QString() << scope;
        QTest::newRow("no keyword, no author") << kind << All << All << QString() << QString() << input;
        QTest::newRow("keyword only") << kind << All << All << "T" << QString() << QString();
        QTest::newRow("author only") << kind << All << All << QString() << "A" << QString();
    }
    void checksInOrder()
    {
        QFETCH(QString, kind);
        QFETCH(QString, big);
        QFETCH(QString, small);
        QFETCH(QString, keyword);
        QFETCH(QString, author);
        QFETCH(QString, message);
        SearchStatement search = textSearch(big, small, keyword, author);
        search.kind = kind;
        QCOMPARE(search.refusal(), message);
    }
};

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
