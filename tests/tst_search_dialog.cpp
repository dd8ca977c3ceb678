#include "ComboBoxes.h"
#include "FixedClock.h"
#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "TestFolder.h"
#include "TestServer.h"

#include "base/Clock.h"
#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "browse/Navigator.h"
#include "search/SearchDialog.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "tree/CategoryTree.h"
#include "tree/TreeFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QString All = QStringLiteral("全部类别");
const QString TextKind = QStringLiteral("文字资料");
const QString InstanceKind = QStringLiteral("实例资料");
const QString Scope = QStringLiteral("请选择搜索范围！");

QStringList captions(const MaterialListModel &store)
{
    QStringList texts;
    for (const ListEntry &entry : store.entries())
        texts.append(entry.caption);
    texts.sort();
    return texts;
}

// The dialog's controls, by object name.
QComboBox *kindCombo(const QWidget *dialog)
{
    return childNamed<QComboBox>(dialog, "kindCombo");
}
QComboBox *categoryCombo(const QWidget *dialog)
{
    return childNamed<QComboBox>(dialog, "categoryCombo");
}
QComboBox *subcategoryCombo(const QWidget *dialog)
{
    return childNamed<QComboBox>(dialog, "subcategoryCombo");
}
QLineEdit *titleKeywordEdit(const QWidget *dialog)
{
    return childNamed<QLineEdit>(dialog, "titleKeywordEdit");
}
QLineEdit *authorEdit(const QWidget *dialog)
{
    return childNamed<QLineEdit>(dialog, "authorEdit");
}
QCheckBox *dateWindowCheck(const QWidget *dialog)
{
    return childNamed<QCheckBox>(dialog, "dateWindowCheck");
}
QDateEdit *beginDateEdit(const QWidget *dialog)
{
    return childNamed<QDateEdit>(dialog, "beginDateEdit");
}
QDateEdit *endDateEdit(const QWidget *dialog)
{
    return childNamed<QDateEdit>(dialog, "endDateEdit");
}
QLabel *searchStatusLabel(const QWidget *dialog)
{
    return childNamed<QLabel>(dialog, "searchStatusLabel");
}
QPushButton *searchButton(const QWidget *dialog)
{
    return childNamed<QPushButton>(dialog, "searchButton");
}
QPushButton *closeButton(const QWidget *dialog)
{
    return childNamed<QPushButton>(dialog, "closeButton");
}
} // namespace

class TestSearchDialog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SKIP_WITHOUT_TEST_SERVER(); }
    void init()
    {
        Clock::setInstance(&m_clock);
        m_folder.reset(new TestFolder);
        m_data.reset(new Database);
        m_tree.reset(new QTreeWidget);
        CategoryTree::fill(m_tree.get(),
                           TreeFile::parse({QStringLiteral("文字资料0"), QStringLiteral("+数据库1"),
                                            QStringLiteral("++SQL2"), QStringLiteral("++Access2"),
                                            QStringLiteral("++It's SQL2"), QStringLiteral("+编程语言1"),
                                            QStringLiteral("+其他1"), QStringLiteral("实例资料0"),
                                            QStringLiteral("搜索结果0")}));
        m_store.reset(new MaterialListModel);
        m_dialog.reset(new SearchDialog(m_tree.get(), m_store.get()));
        m_driver.reset(new ModalDriver);

        const QStringList texts{
            "'Qt+(DYH)+s ADO guide', '', '数据库', '张三', '2003-07-15 10:00:00'",
            "'ADO 入门', 'SQL', '数据库', '李四', '2003-07-01 09:00:00'",
            "'ADO 深入', 'SQL', '数据库', '张三', '2003-07-31 08:00:00'",
            "'Python', '', '编程语言', 'O''Brien', '2003-06-30'",
            "'50% off', '', '其他', '张三', '2003-07-01'",
            "'ADO 引号', 'It''s SQL', '数据库', '王五', '2003-05-05 05:05:05'",
        };
        for (const QString &values : texts)
            QVERIFY(m_folder->exec(
                QStringLiteral(
                    "insert into textfile(title,classname,bigclassname,writer,createtime) values(") +
                values + QLatin1Char(')')));
        QVERIFY(m_folder->exec(QStringLiteral("insert into exefile(title,bigclassname,writer,createtime) "
                                              "values('ADO tool','开发工具','张三','2003-07-02')")));
    }
    void cleanup()
    {
        m_driver.reset();
        m_dialog.reset();
        m_store.reset();
        m_tree.reset();
        m_data.reset();
        m_folder.reset();
        Clock::setInstance(nullptr);
    }

    void initialState()
    {
        QCOMPARE(m_dialog->windowTitle(),
                 QStringLiteral("搜索窗口     提示：搜索结果存放在左边的树形目录下"));
        QCOMPARE(m_dialog->size(), QSize(513, 186));
        QCOMPARE(itemsOf(kindCombo(m_dialog.get())), (QStringList{TextKind, InstanceKind}));
        QCOMPARE(kindCombo(m_dialog.get())->currentIndex(), -1);
        QCOMPARE(categoryCombo(m_dialog.get())->count(), 0);
        QCOMPARE(subcategoryCombo(m_dialog.get())->count(), 0);
        QVERIFY(!dateWindowCheck(m_dialog.get())->isChecked());
        for (QDateEdit *picker : {beginDateEdit(m_dialog.get()), endDateEdit(m_dialog.get())}) {
            QVERIFY(!picker->isEnabled());
            QCOMPARE(picker->date(), QDate(2026, 3, 9));
        }
        QCOMPARE(searchStatusLabel(m_dialog.get())->text(), QStringLiteral("准备就绪"));
        QStringList labels;
        for (const QLabel *label : m_dialog->findChildren<QLabel *>())
            labels.append(label->text());
        for (const char *text :
             {"搜索范围：", "资料类型", "分类名", "子分类名", "搜索标题关键字：", "搜索作者：",
              "（搜索某个作者的全部资料，可不填此项）", "（不填此项，表示搜索全部作者）", "至"})
            QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
    }

    void categoryLists()
    {
        choose(kindCombo(m_dialog.get()), TextKind);
        QCOMPARE(itemsOf(categoryCombo(m_dialog.get())), (QStringList{All, "数据库", "编程语言", "其他"}));
        QCOMPARE(categoryCombo(m_dialog.get())->currentIndex(), -1);
        choose(categoryCombo(m_dialog.get()), QStringLiteral("数据库"));
        QCOMPARE(itemsOf(subcategoryCombo(m_dialog.get())), (QStringList{All, "SQL", "Access", "It's SQL"}));
        QCOMPARE(subcategoryCombo(m_dialog.get())->currentIndex(), -1);
        choose(categoryCombo(m_dialog.get()), QStringLiteral("编程语言"));
        QCOMPARE(itemsOf(subcategoryCombo(m_dialog.get())), QStringList{All});
        choose(categoryCombo(m_dialog.get()), All);
        QCOMPARE(itemsOf(subcategoryCombo(m_dialog.get())), QStringList{All});
        QCOMPARE(subcategoryCombo(m_dialog.get())->currentIndex(), -1);

        // A new kind empties the second-level list; the first level must be chosen again.
        choose(subcategoryCombo(m_dialog.get()), All);
        choose(kindCombo(m_dialog.get()), TextKind);
        QCOMPARE(subcategoryCombo(m_dialog.get())->count(), 0);
        QCOMPARE(categoryCombo(m_dialog.get())->currentIndex(), -1);

        // A kind without categories offers "全部类别" alone.
        choose(kindCombo(m_dialog.get()), InstanceKind);
        QCOMPARE(itemsOf(categoryCombo(m_dialog.get())), QStringList{All});
    }

    void checkBoxTogglesPickers()
    {
        dateWindowCheck(m_dialog.get())->click();
        QVERIFY(beginDateEdit(m_dialog.get())->isEnabled() && endDateEdit(m_dialog.get())->isEnabled());
        dateWindowCheck(m_dialog.get())->click();
        QVERIFY(!beginDateEdit(m_dialog.get())->isEnabled() && !endDateEdit(m_dialog.get())->isEnabled());
    }

    void checksAreShownAndKeepTheStore()
    {
        m_store->setEntries({{QStringLiteral("earlier"), ListEntry::TextMaterial, 7}});
        searchButton(m_dialog.get())->click();
        choose(kindCombo(m_dialog.get()), TextKind);
        searchButton(m_dialog.get())->click();
        choose(categoryCombo(m_dialog.get()), All);
        titleKeywordEdit(m_dialog.get())->setText(QStringLiteral("ADO"));
        // The second-level list holds only "全部类别" but must still be chosen.
        searchButton(m_dialog.get())->click();
        choose(subcategoryCombo(m_dialog.get()), All);
        titleKeywordEdit(m_dialog.get())->clear();
        searchButton(m_dialog.get())->click();
        QCOMPARE(m_driver->texts(),
                 (QStringList{Scope, Scope, Scope, QStringLiteral("标题关键字和作者至少填写一样！")}));
        for (const ModalDriver::Box &box : m_driver->boxes)
            QCOMPARE(box.caption, QStringLiteral("Zindrel"));
        QCOMPARE(m_store->entries().size(), 1);
        QCOMPARE(searchStatusLabel(m_dialog.get())->text(), QStringLiteral("准备就绪"));
    }

    void searches_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("big");
        QTest::addColumn<QString>("small");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QStringList>("hits");
        QTest::newRow("keyword") << TextKind << All << All << "ADO" << QString()
                                 << QStringList{"ADO 入门", "ADO 引号", "ADO 深入", "Qt's ADO guide"};
        QTest::newRow("keyword and author") << TextKind << All << All << "ADO"
                                            << "张三" << QStringList{"ADO 深入", "Qt's ADO guide"};
        QTest::newRow("author only") << TextKind << All << All << QString() << "张三"
                                     << QStringList{"50% off", "ADO 深入", "Qt's ADO guide"};
        QTest::newRow("first level") << TextKind << "数据库" << All << QString() << "张三"
                                     << QStringList{"ADO 深入", "Qt's ADO guide"};
        QTest::newRow("second level") << TextKind << "数据库"
                                      << "SQL"
                                      << "ADO" << QString() << QStringList{"ADO 入门", "ADO 深入"};
        QTest::newRow("token title found by apostrophe")
            << TextKind << All << All << "Qt's" << QString() << QStringList{"Qt's ADO guide"};
        QTest::newRow("author with apostrophe")
            << TextKind << All << All << QString() << "O'Brien" << QStringList{"Python"};
        QTest::newRow("author must match whole")
            << TextKind << All << All << QString() << "张" << QStringList{};
        QTest::newRow("percent matches all")
            << TextKind << All << All << "%" << QString()
            << QStringList{"50% off", "ADO 入门", "ADO 引号", "ADO 深入", "Python", "Qt's ADO guide"};
        QTest::newRow("underscore matches one")
            << TextKind << All << All << "Pyth_n" << QString() << QStringList{"Python"};
        QTest::newRow("hostile keyword")
            << TextKind << All << All << "x' or '1'='1" << QString() << QStringList{};
        QTest::newRow("hostile author")
            << TextKind << All << All << QString() << "张三' or '1'='1" << QStringList{};
        QTest::newRow("statement in keyword")
            << TextKind << All << All << "'; drop table textfile; --" << QString() << QStringList{};
        QTest::newRow("keyword closing the literal")
            << TextKind << "数据库"
            << "SQL"
            << "%' or 1=1 or title like '" << QString() << QStringList{};
        QTest::newRow("category with apostrophe") << TextKind << "数据库"
                                                  << "It's SQL"
                                                  << "ADO" << QString() << QStringList{"ADO 引号"};
        QTest::newRow("instance kind")
            << InstanceKind << All << All << "ADO" << QString() << QStringList{"ADO tool"};
    }
    void searches()
    {
        QFETCH(QString, kind);
        QFETCH(QString, big);
        QFETCH(QString, small);
        QFETCH(QString, keyword);
        QFETCH(QString, author);
        QFETCH(QStringList, hits);
        choose(kindCombo(m_dialog.get()), kind);
        choose(categoryCombo(m_dialog.get()), big);
        choose(subcategoryCombo(m_dialog.get()), small);
        titleKeywordEdit(m_dialog.get())->setText(keyword);
        authorEdit(m_dialog.get())->setText(author);
        searchButton(m_dialog.get())->click();

        QCOMPARE(m_driver->texts(), QStringList());
        QCOMPARE(captions(*m_store), hits);
        QCOMPARE(searchStatusLabel(m_dialog.get())->text(),
                 hits.isEmpty() ? QStringLiteral("很遗憾，没有找到")
                                : QStringLiteral("恭喜，共找到%1个资料").arg(hits.size()));
        const int image = kind == TextKind ? ListEntry::TextMaterial : ListEntry::InstanceMaterial;
        const QString table = kind == TextKind ? QStringLiteral("textfile") : QStringLiteral("exefile");
        for (const ListEntry &entry : m_store->entries()) {
            QCOMPARE(entry.image, image);
            QCOMPARE(m_folder->value(
                         QStringLiteral("select count(*) from %1 where id=%2").arg(table).arg(entry.id)),
                     QVariant(1));
        }
        QCOMPARE(m_folder->value(QStringLiteral("select count(*) from textfile")), QVariant(6));
    }

    void dateWindow_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QDate>("begin");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QStringList>("hits");
        const QStringList everything{"50% off", "ADO 深入", "Qt's ADO guide"};
        // Both bounds exclusive: a day's materials count from its midnight on, the end day is out.
        QTest::newRow("July") << true << QDate(2003, 7, 1) << QDate(2003, 7, 31)
                              << QStringList{"Qt's ADO guide"};
        QTest::newRow("through the end day")
            << true << QDate(2003, 7, 1) << QDate(2003, 8, 1) << QStringList{"ADO 深入", "Qt's ADO guide"};
        QTest::newRow("from the day before")
            << true << QDate(2003, 6, 30) << QDate(2003, 7, 2) << QStringList{"50% off"};
        QTest::newRow("begin equals end") << true << QDate(2003, 7, 15) << QDate(2003, 7, 15) << everything;
        QTest::newRow("not ticked") << false << QDate(2003, 7, 15) << QDate(2003, 7, 16) << everything;
    }
    void dateWindow()
    {
        QFETCH(bool, ticked);
        QFETCH(QDate, begin);
        QFETCH(QDate, end);
        QFETCH(QStringList, hits);
        choose(kindCombo(m_dialog.get()), TextKind);
        choose(categoryCombo(m_dialog.get()), All);
        choose(subcategoryCombo(m_dialog.get()), All);
        authorEdit(m_dialog.get())->setText(QStringLiteral("张三"));
        if (ticked)
            dateWindowCheck(m_dialog.get())->click();
        beginDateEdit(m_dialog.get())->setDate(begin);
        endDateEdit(m_dialog.get())->setDate(end);
        searchButton(m_dialog.get())->click();
        QCOMPARE(captions(*m_store), hits);
    }

    void secondSearchReplacesTheFirst()
    {
        choose(kindCombo(m_dialog.get()), TextKind);
        choose(categoryCombo(m_dialog.get()), All);
        choose(subcategoryCombo(m_dialog.get()), All);
        titleKeywordEdit(m_dialog.get())->setText(QStringLiteral("ADO"));
        searchButton(m_dialog.get())->click();
        QCOMPARE(m_store->rowCount(), 4);
        titleKeywordEdit(m_dialog.get())->setText(QStringLiteral("Python"));
        searchButton(m_dialog.get())->click();
        QCOMPARE(captions(*m_store), QStringList{"Python"});
        QCOMPARE(searchStatusLabel(m_dialog.get())->text(), QStringLiteral("恭喜，共找到1个资料"));
        titleKeywordEdit(m_dialog.get())->setText(QStringLiteral("nothing like it"));
        searchButton(m_dialog.get())->click();
        QCOMPARE(m_store->rowCount(), 0);
        QCOMPARE(searchStatusLabel(m_dialog.get())->text(), QStringLiteral("很遗憾，没有找到"));
    }

    void databaseFailureIsShown()
    {
        SKIP_ON_TEST_SERVER();
        m_store->setEntries({{QStringLiteral("earlier"), ListEntry::TextMaterial, 7}});
        m_folder->remove(QStringLiteral("Data.QBD"));
        choose(kindCombo(m_dialog.get()), TextKind);
        choose(categoryCombo(m_dialog.get()), All);
        choose(subcategoryCombo(m_dialog.get()), All);
        titleKeywordEdit(m_dialog.get())->setText(QStringLiteral("ADO"));
        searchButton(m_dialog.get())->click();
        QCOMPARE(m_driver->boxes.size(), 1);
        QVERIFY(m_driver->boxes.first().text.startsWith(QStringLiteral("发生错误，原因：")));
        QVERIFY(m_driver->boxes.first().text.size() > QStringLiteral("发生错误，原因：").size());
        QCOMPARE(m_store->rowCount(), 0);
        QCOMPARE(searchStatusLabel(m_dialog.get())->text(), QStringLiteral("正在搜索..."));
        QVERIFY(!QFile::exists(m_folder->filePath(QStringLiteral("Data.QBD"))));
    }

    void hitsShowUnderSearchResultNode()
    {
        m_dialog.reset();
        MainWindow window;
        QVERIFY(window.isCreated());
        window.attachDatabase(m_data.get());
        m_driver->queue([](QWidget *modal) {
            auto *dialog = qobject_cast<SearchDialog *>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->pos(), QPoint(181, 226));
            choose(kindCombo(dialog), TextKind);
            choose(categoryCombo(dialog), All);
            choose(subcategoryCombo(dialog), All);
            titleKeywordEdit(dialog)->setText(QStringLiteral("ADO"));
            searchButton(dialog)->click();
            QCOMPARE(searchStatusLabel(dialog)->text(), QStringLiteral("恭喜，共找到4个资料"));
            closeButton(dialog)->click();
        });
        window.showSearchDialog();
        QCOMPARE(window.materialList()->searchResults()->rowCount(), 4);
        QVERIFY(window.findChildren<SearchDialog *>().isEmpty());

        QTreeWidgetItem *results = CategoryTree::findRoot(window.categoryTree(), QStringLiteral("搜索结果"));
        QVERIFY(results);
        CategoryTree::selectNode(window.categoryTree(), results);
        window.navigator()->visitSelectedCategory();
        QCOMPARE(window.materialList()->model()->entries(),
                 window.materialList()->searchResults()->entries());
    }

private:
    FixedClock m_clock;
    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<Database> m_data;
    std::unique_ptr<QTreeWidget> m_tree;
    std::unique_ptr<MaterialListModel> m_store;
    std::unique_ptr<SearchDialog> m_dialog;
    std::unique_ptr<ModalDriver> m_driver;
};

QTEST_MAIN(TestSearchDialog)
#include "tst_search_dialog.moc"
