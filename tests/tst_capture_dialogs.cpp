#include "ComboBoxes.h"
#include "MainFormFixture.h"
#include "ModalDriver.h"

#include "capture/CaptureCategories.h"
#include "capture/TAcceptExeForm.h"
#include "capture/TAcceptTextForm.h"
#include "capture/TDragForm.h"
#include "shell/TMainForm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QStringList InstalledTree = {
    QStringLiteral("文字资料0"),  QStringLiteral("+编程语言1"),       QStringLiteral("++C++2"),
    QStringLiteral("++Python2"),  QStringLiteral("+算法与数据结构1"), QStringLiteral("+读书笔记1"),
    QStringLiteral("实例资料0"),  QStringLiteral("+开发工具1"),       QStringLiteral("++编辑器2"),
    QStringLiteral("+代码示例1"), QStringLiteral("搜索结果0")};

// Opens the dialog of a kind through the floating window, as a drop does.
TAcceptTextForm *openDialog(bool instance, const QString &content)
{
    if (!QTest::qWaitFor([] { return !DragForm.isNull(); }))
        return nullptr;
    if (instance) {
        DragForm->handOverPath(content);
        return AcceptExeForm;
    }
    DragForm->handOverText(content);
    return AcceptTextForm;
}
} // namespace

class TestCaptureDialogs : public QObject
{
    Q_OBJECT
private slots:
    void categoryLists_data()
    {
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<bool>("instance");
        QTest::addColumn<QStringList>("firstLevel");
        QTest::addColumn<QStringList>("secondLevel");
        const QString root = QStringLiteral("根目录");
        QTest::newRow("text") << InstalledTree << false
                              << QStringList{QStringLiteral("编程语言"), QStringLiteral("算法与数据结构"),
                                             QStringLiteral("读书笔记")}
                              << QStringList{root, QStringLiteral("C++"), QStringLiteral("Python")};
        QTest::newRow("instance") << InstalledTree << true
                                  << QStringList{QStringLiteral("开发工具"), QStringLiteral("代码示例")}
                                  << QStringList{root, QStringLiteral("编辑器")};
        QTest::newRow("no text categories")
            << QStringList{QStringLiteral("文字资料0"), QStringLiteral("实例资料0"), QStringLiteral("+工具1"),
                           QStringLiteral("搜索结果0")}
            << false << QStringList() << QStringList{root};
        // Nothing under the search-result node is offered, neither is the node itself.
        QTest::newRow("search results never offered")
            << QStringList{QStringLiteral("文字资料0"), QStringLiteral("实例资料0"), QStringLiteral("+工具1"),
                           QStringLiteral("搜索结果0"), QStringLiteral("+误放的分类1")}
            << true << QStringList{QStringLiteral("工具")} << QStringList{root};
        // Without a search-result node the instance root's last category still counts.
        QTest::newRow("last node an instance category")
            << QStringList{QStringLiteral("文字资料0"), QStringLiteral("实例资料0"), QStringLiteral("+工具1"),
                           QStringLiteral("+脚本1"), QStringLiteral("++备份2")}
            << true << QStringList{QStringLiteral("工具"), QStringLiteral("脚本")} << QStringList{root};
    }
    void categoryLists()
    {
        QFETCH(QStringList, tree);
        QFETCH(bool, instance);
        QFETCH(QStringList, firstLevel);
        QFETCH(QStringList, secondLevel);
        MainFormFixture fixture(tree);
        TAcceptTextForm *dialog = openDialog(instance, QStringLiteral("content"));
        QVERIFY(dialog);
        QCOMPARE(itemsOf(dialog->BigClassCombo), firstLevel);
        QCOMPARE(itemsOf(dialog->SmallClassCombo), secondLevel);
        QCOMPARE(dialog->BigClassCombo->currentIndex(), firstLevel.isEmpty() ? -1 : 0);
        QCOMPARE(dialog->SmallClassCombo->currentIndex(), 0);
    }

    void firstLevelChoiceResetsSecondLevel_data()
    {
        QTest::addColumn<bool>("instance");
        QTest::newRow("text") << false;
        QTest::newRow("instance") << true;
    }
    void firstLevelChoiceResetsSecondLevel()
    {
        QFETCH(bool, instance);
        MainFormFixture fixture(InstalledTree);
        TAcceptTextForm *dialog = openDialog(instance, QStringLiteral("x"));
        QVERIFY(dialog);
        dialog->SmallClassCombo->setCurrentIndex(1);
        dialog->BigClassCombo->setCurrentIndex(1);
        dialog->BigClassComboChange();
        QCOMPARE(itemsOf(dialog->SmallClassCombo), QStringList{CaptureCategories::RootEntry});
        dialog->BigClassCombo->setCurrentIndex(0);
        dialog->BigClassComboChange();
        QCOMPARE(dialog->SmallClassCombo->count(), 3 - int(instance));
        QCOMPARE(dialog->SmallClassCombo->currentIndex(), 0);
    }

    // The tree is read when the choice is made: a category added since the dialog opened counts.
    void secondLevelReadsTheTreeNow()
    {
        MainFormFixture fixture(InstalledTree);
        TAcceptTextForm *dialog = openDialog(false, QStringLiteral("x"));
        QVERIFY(dialog);
        auto *added = new QTreeWidgetItem(fixture.node(QStringLiteral("读书笔记")));
        added->setText(0, QStringLiteral("小说"));
        dialog->BigClassCombo->setCurrentIndex(2);
        dialog->BigClassComboChange();
        QCOMPARE(itemsOf(dialog->SmallClassCombo),
                 (QStringList{CaptureCategories::RootEntry, QStringLiteral("小说")}));
    }

    void incompleteInputIsRefused_data()
    {
        QTest::addColumn<bool>("instance");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("content"); // memo text, or the path of the instance dialog
        QTest::newRow("text without title") << false << QString() << QStringLiteral("body");
        QTest::newRow("text without body") << false << QStringLiteral("title") << QString();
        QTest::newRow("instance without title") << true << QString() << QStringLiteral("/bin/sh");
        QTest::newRow("instance without path") << true << QStringLiteral("title") << QString();
    }
    void incompleteInputIsRefused()
    {
        QFETCH(bool, instance);
        QFETCH(QString, title);
        QFETCH(QString, content);
        MainFormFixture fixture(InstalledTree);
        TAcceptTextForm *dialog = openDialog(instance, QStringLiteral("seed"));
        QVERIFY(dialog);
        dialog->NameEdit->setText(title);
        if (instance)
            static_cast<TAcceptExeForm *>(dialog)->PathEdit->setText(content);
        else
            dialog->MainMemo->setPlainText(content);
        ModalDriver driver;
        dialog->OkBtn->click();
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes.first().text, QStringLiteral("内容不完整，请填写完整"));
        QCOMPARE(driver.boxes.first().caption, QStringLiteral("Zindrel"));
        QCOMPARE(driver.boxes.first().icon, QMessageBox::Warning);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->NameEdit->text(), title);
        const QString table = instance ? QStringLiteral("exefile") : QStringLiteral("textfile");
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from ") + table).toInt(), 0);
    }

    void textMaterialIsStored_data()
    {
        QTest::addColumn<int>("secondLevel");
        QTest::addColumn<QString>("classname");
        QTest::newRow("根目录 stores an empty classname") << 0 << QString();
        QTest::newRow("second-level category") << 2 << QStringLiteral("Python");
    }
    void textMaterialIsStored()
    {
        QFETCH(int, secondLevel);
        QFETCH(QString, classname);
        MainFormFixture fixture(InstalledTree);
        TAcceptTextForm *dialog = openDialog(false, QStringLiteral("it's a:b\r\n第二行"));
        QVERIFY(dialog);
        QPointer<TAcceptTextForm> watched = dialog;
        QCOMPARE(dialog->NameEdit->text(), QStringLiteral("it's a:b "));
        dialog->NameEdit->setText(QStringLiteral("O'Neil's note"));
        dialog->AuthorEdit->setText(QStringLiteral("D'Arcy"));
        dialog->SmallClassCombo->setCurrentIndex(secondLevel);
        ModalDriver driver;
        dialog->OkBtn->click();
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("添加成功！你可以继续操作！")});
        QCOMPARE(driver.boxes.first().caption, QStringLiteral("Zindrel"));
        QCOMPARE(driver.boxes.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

        const QList<QVariantList> rows = fixture.folder.rows(
            QStringLiteral("select title, writer, bigclassname, classname, main from textfile"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().at(0).toString(), QStringLiteral("O+(DYH)+Neil+(DYH)+s note"));
        QCOMPARE(rows.first().at(1).toString(), QStringLiteral("D'Arcy"));
        QCOMPARE(rows.first().at(2).toString(), QStringLiteral("编程语言"));
        QCOMPARE(rows.first().at(3).toString(), classname);
        QCOMPARE(rows.first().at(4).toString(), QStringLiteral("it+(DYH)+s a+(MH)+b\r\n第二行\r\n"));

        // Ended: hidden at once, destroyed when its release message arrives.
        QVERIFY(!watched->isVisible());
        QTRY_VERIFY(!watched);
        QVERIFY(!AcceptTextForm);
    }

    void instanceMaterialIsStored_data()
    {
        QTest::addColumn<QString>("about");
        QTest::addColumn<QString>("stored");
        QTest::newRow("with introduction")
            << QStringLiteral("runs: the build") << QStringLiteral("runs+(MH)+ the build\r\n");
        QTest::newRow("empty introduction") << QString() << QString();
    }
    void instanceMaterialIsStored()
    {
        QFETCH(QString, about);
        QFETCH(QString, stored);
        MainFormFixture fixture(InstalledTree);
        auto *dialog =
            static_cast<TAcceptExeForm *>(openDialog(true, QStringLiteral("/home/o'brien/run.sh")));
        QVERIFY(dialog);
        dialog->NameEdit->setText(QStringLiteral("构建脚本"));
        dialog->MainMemo->setPlainText(about);
        dialog->BigClassCombo->setCurrentIndex(0);
        dialog->BigClassComboChange();
        dialog->SmallClassCombo->setCurrentIndex(1);
        ModalDriver driver;
        dialog->OkBtn->click();
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("添加成功！你可以继续操作！")});
        const QList<QVariantList> rows = fixture.folder.rows(
            QStringLiteral("select title, bigclassname, classname, about, fpath from exefile"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().at(0).toString(), QStringLiteral("构建脚本"));
        QCOMPARE(rows.first().at(1).toString(), QStringLiteral("开发工具"));
        QCOMPARE(rows.first().at(2).toString(), QStringLiteral("编辑器"));
        QCOMPARE(rows.first().at(3).toString(), stored);
        QCOMPARE(rows.first().at(4).toString(), QStringLiteral("/home/o'brien/run.sh"));
        QTRY_VERIFY(!AcceptExeForm);
    }

    // With no first-level category the material goes in with an empty one, as before.
    void noCategoryStoresEmptyNames()
    {
        MainFormFixture fixture(
            {QStringLiteral("文字资料0"), QStringLiteral("实例资料0"), QStringLiteral("搜索结果0")});
        TAcceptTextForm *dialog = openDialog(false, QStringLiteral("body"));
        QVERIFY(dialog);
        ModalDriver driver;
        dialog->OkBtn->click();
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("添加成功！你可以继续操作！")});
        QCOMPARE(fixture.folder.value(QStringLiteral("select bigclassname || '|' || classname from textfile"))
                     .toString(),
                 QStringLiteral("|"));
    }

    // A failed insert keeps the dialog open with everything the user had, as typed.
    void failedInsertKeepsTheDialog_data()
    {
        QTest::addColumn<bool>("instance");
        QTest::newRow("text") << false;
        QTest::newRow("instance") << true;
    }
    void failedInsertKeepsTheDialog()
    {
        QFETCH(bool, instance);
        MainFormFixture fixture(InstalledTree);
        TAcceptTextForm *dialog = openDialog(instance, QStringLiteral("/tmp/x"));
        QVERIFY(dialog);
        QPointer<TAcceptTextForm> watched = dialog;
        dialog->NameEdit->setText(QStringLiteral("a 'quoted' title"));
        dialog->AuthorEdit->setText(QStringLiteral("me"));
        dialog->MainMemo->setPlainText(QStringLiteral("text: with 'quotes'"));
        dialog->BigClassCombo->setCurrentIndex(1);
        dialog->BigClassComboChange();
        fixture.folder.remove(QStringLiteral("Data.QBD"));

        ModalDriver driver;
        dialog->OkBtn->click();
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY2(driver.boxes.first().text.startsWith(QStringLiteral("数据库操作失败！ 原因：")),
                 qPrintable(driver.boxes.first().text));
        QCoreApplication::processEvents();
        QVERIFY(watched);
        QVERIFY(watched->isVisible());
        QCOMPARE(instance ? AcceptExeForm.data() : AcceptTextForm.data(), watched.data());
        QCOMPARE(watched->NameEdit->text(), QStringLiteral("a 'quoted' title"));
        QCOMPARE(watched->AuthorEdit->text(), QStringLiteral("me"));
        QCOMPARE(watched->MainMemo->toPlainText(), QStringLiteral("text: with 'quotes'"));
        QCOMPARE(watched->BigClassCombo->currentIndex(), 1);

        // Once the database is back, the same press files it.
        QVERIFY(TestFolder::createDatabase(fixture.folder.filePath(QStringLiteral("Data.QBD"))));
        watched->OkBtn->click();
        QCOMPARE(driver.boxes.last().text, QStringLiteral("添加成功！你可以继续操作！"));
        const QString table = instance ? QStringLiteral("exefile") : QStringLiteral("textfile");
        QCOMPARE(fixture.folder.value(QStringLiteral("select title from ") + table).toString(),
                 QStringLiteral("a +(DYH)+quoted+(DYH)+ title"));
        QTRY_VERIFY(!watched);
    }

    void dialogLayout_data()
    {
        QTest::addColumn<bool>("instance");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("text") << false << QSize(348, 423) << QPoint(268, 131);
        QTest::newRow("instance") << true << QSize(348, 390) << QPoint(398, 164);
    }
    void dialogLayout()
    {
        QFETCH(bool, instance);
        QFETCH(QSize, size);
        QFETCH(QPoint, position);
        MainFormFixture fixture(InstalledTree);
        TAcceptTextForm *dialog = openDialog(instance, QStringLiteral("x"));
        QVERIFY(dialog);
        QCOMPARE(dialog->size(), size);
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->pos(), position);
        QCOMPARE(dialog->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(dialog->OkBtn->text(), QStringLiteral("添加"));
        QCOMPARE(dialog->CancelBtn->text(), QStringLiteral("取消"));
        // The controls keep the order of the form: title, author, categories, (path,) memo, buttons.
        QList<QWidget *> order{dialog->NameEdit, dialog->AuthorEdit, dialog->BigClassCombo};
        if (instance)
            order.append(static_cast<TAcceptExeForm *>(dialog)->PathEdit);
        order << dialog->MainMemo << dialog->OkBtn;
        for (int i = 1; i < order.size(); ++i)
            QVERIFY(order.at(i - 1)->geometry().bottom() < order.at(i)->geometry().top());
        QCOMPARE(dialog->BigClassCombo->geometry().top(), dialog->SmallClassCombo->geometry().top());
        QVERIFY(!dialog->BigClassCombo->isEditable());
        QVERIFY(!dialog->SmallClassCombo->isEditable());
    }
};

QTEST_MAIN(TestCaptureDialogs)
#include "tst_capture_dialogs.moc"
