// The statement texts of every operation on materials, for plain values exactly as designed,
// and with every apostrophe of a quoted value doubled.
#include "store/InstanceMaterial.h"
#include "store/Material.h"
#include "store/Statements.h"
#include "store/TextMaterial.h"

#include <QtTest>

class TestStatements : public QObject
{
    Q_OBJECT
private slots:
    void records_data()
    {
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("insertText");
        QTest::addColumn<QString>("updateText");
        QTest::addColumn<QString>("insertExe");
        QTest::addColumn<QString>("updateExe");
        QTest::newRow("plain")
            << QStringLiteral("W")
            << QStringLiteral("insert into textfile(title,classname,bigclassname,writer,createtime,main) "
                              "values('T','','A','W','2026-01-02 03:04:05','a\r\nb\r\n')")
            << QStringLiteral("update textfile set title='T',classname='',bigclassname='A',writer='W',"
                              "createtime='2026-01-02 03:04:05',main='a\r\nb\r\n' where id=42")
            << QStringLiteral(
                   "insert into exefile(title,classname,bigclassname,writer,createtime,about,fpath) "
                   "values('T','','A','W','2026-01-02 03:04:05','a\r\nb\r\n','/bin/ls')")
            << QStringLiteral(
                   "update exefile set title='T',classname='',bigclassname='A',writer='W',"
                   "createtime='2026-01-02 03:04:05',about='a\r\nb\r\n',fpath='/bin/ls' where id=42");
        QTest::newRow("apostrophes doubled")
            << QStringLiteral("O'Brien')--")
            << QStringLiteral("insert into textfile(title,classname,bigclassname,writer,createtime,main) "
                              "values('T','','A','O''Brien'')--','2026-01-02 03:04:05','a\r\nb\r\n')")
            << QStringLiteral(
                   "update textfile set title='T',classname='',bigclassname='A',writer='O''Brien'')--',"
                   "createtime='2026-01-02 03:04:05',main='a\r\nb\r\n' where id=42")
            << QStringLiteral(
                   "insert into exefile(title,classname,bigclassname,writer,createtime,about,fpath) "
                   "values('T','','A','O''Brien'')--','2026-01-02 03:04:05','a\r\nb\r\n','/bin/ls')")
            << QStringLiteral(
                   "update exefile set title='T',classname='',bigclassname='A',writer='O''Brien'')--',"
                   "createtime='2026-01-02 03:04:05',about='a\r\nb\r\n',fpath='/bin/ls' where id=42");
    }
    void records()
    {
        QFETCH(QString, author);
        TextMaterial text;
        InstanceMaterial exe;
        for (Material *record : {static_cast<Material *>(&text), static_cast<Material *>(&exe)}) {
            record->title = QStringLiteral("T");
            record->category = QStringLiteral("A");
            record->author = author;
            record->createTime = QStringLiteral("2026-01-02 03:04:05");
        }
        text.body = {QStringLiteral("a"), QStringLiteral("b")};
        exe.description = text.body;
        exe.path = QStringLiteral("/bin/ls");
        QTEST(text.insertStatement(), "insertText");
        QTEST(text.updateStatement(42), "updateText");
        QTEST(exe.insertStatement(), "insertExe");
        QTEST(exe.updateStatement(42), "updateExe");
        QCOMPARE(text.loadStatement(7), QStringLiteral("select * from textfile where id=7"));
        QCOMPARE(exe.loadStatement(7), QStringLiteral("select * from exefile where id=7"));
    }

    void emptyBodyIsTheEmptyText()
    {
        TextMaterial text;
        text.createTime = QStringLiteral("2026-01-02");
        QCOMPARE(text.insertStatement(),
                 QStringLiteral("insert into textfile(title,classname,bigclassname,writer,createtime,main) "
                                "values('','','','','2026-01-02','')"));
    }

    void cascades_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("rename first level")
            << Material::renameStatement(QStringLiteral("A"), QString(), QStringLiteral("文字资料"),
                                         QStringLiteral("B"))
            << QStringLiteral("update textfile set bigclassname='B' where bigclassname='A'");
        QTest::newRow("rename second level")
            << Material::renameStatement(QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("文字资料"),
                                         QStringLiteral("D"))
            << QStringLiteral("update textfile set classname='D' where bigclassname='A' and classname='C'");
        QTest::newRow("delete first level")
            << Material::deleteStatement(QStringLiteral("A"), QString(), QStringLiteral("实例资料"))
            << QStringLiteral("delete from exefile where bigclassname='A'");
        QTest::newRow("delete second level")
            << Material::deleteStatement(QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("实例资料"))
            << QStringLiteral("delete from exefile where bigclassname='A' and classname='C'");
        QTest::newRow("rename with apostrophes")
            << Material::renameStatement(QStringLiteral("it's"), QString(), QStringLiteral("实例资料"),
                                         QStringLiteral("x'); delete from exefile; --"))
            << QStringLiteral("update exefile set bigclassname='x''); delete from exefile; --' where "
                              "bigclassname='it''s'");
        QTest::newRow("delete one material") << Statements::deleteMaterial(QStringLiteral("textfile"), 9)
                                             << QStringLiteral("delete from textfile where id=9");
        QTest::newRow("move to a first level")
            << Statements::moveMaterial(QStringLiteral("exefile"), QStringLiteral("A"), QString(), 9)
            << QStringLiteral("update exefile set bigclassname='A',classname='' where id=9");
        QTest::newRow("move with apostrophes")
            << Statements::moveMaterial(Statements::tableOfMaterialImage(4), QStringLiteral("O'R"),
                                        QStringLiteral("b'"), 3)
            << QStringLiteral("update textfile set bigclassname='O''R',classname='b''' where id=3");
    }
    void cascades()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(sql, expected);
    }
};

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"
