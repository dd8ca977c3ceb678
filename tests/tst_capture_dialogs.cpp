#include "ComboBoxes.h"
#include "MainWindowFixture.h"
#include "ModalDriver.h"

#include "capture/CaptureCategories.h"
#include "capture/DropWindow.h"
#include "capture/QuickInstanceDialog.h"
#include "capture/QuickTextDialog.h"
#include "shell/MainWindow.h"

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

// The capture dialog of a kind now open, or nullptr.
QuickCaptureDialog *openDialogOf(const MainWindow *window, bool instance)
{
    DropWindow *dropWindow = window->dropWindow();
    if (!dropWindow)
        return nullptr;
    if (instance)
        return dropWindow->instanceDialog();
    return dropWindow->textDialog();
}

// Opens the dialog of a kind through the floating window, as a drop does.
QuickCaptureDialog *openDialog(const MainWindow *window, bool instance, const QString &content)
{
    if (!QTest::qWaitFor([window] { return window->dropWindow() != nullptr; }))
        return nullptr;
    if (instance)
        window->dropWindow()->handOverPath(content);
    else
        window->dropWindow()->handOverText(content);
    return openDialogOf(window, instance);
}

// The dialogs' controls, by object name.
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
QComboBox *subcategoryCombo(const QWidget *dialog)
{
    return childNamed<QComboBox>(dialog, "subcategoryCombo");
}
QPlainTextEdit *memoOf(const QWidget *dialog)
{
    return childNamed<QPlainTextEdit>(dialog, "memo");
}
QPushButton *addButton(const QWidget *dialog)
{
    return childNamed<QPushButton>(dialog, "addButton");
}
QPushButton *cancelButton(const QWidget *dialog)
{
    return childNamed<QPushButton>(dialog, "cancelButton");
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
        MainWindowFixture fixture(tree);
        QuickCaptureDialog *dialog = openDialog(fixture.window.get(), instance, QStringLiteral("content"));
        QVERIFY(dialog);
        QCOMPARE(itemsOf(categoryCombo(dialog)), firstLevel);
        QCOMPARE(itemsOf(subcategoryCombo(dialog)), secondLevel);
        QCOMPARE(categoryCombo(dialog)->currentIndex(), firstLevel.isEmpty() ? -1 : 0);
        QCOMPARE(subcategoryCombo(dialog)->currentIndex(), 0);
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
        MainWindowFixture fixture(InstalledTree);
        QuickCaptureDialog *dialog = openDialog(fixture.window.get(), instance, QStringLiteral("x"));
        QVERIFY(dialog);
        subcategoryCombo(dialog)->setCurrentIndex(1);
        categoryCombo(dialog)->setCurrentIndex(1);
        dialog->categoryChosen();
        QCOMPARE(itemsOf(subcategoryCombo(dialog)), QStringList{CaptureCategories::RootEntry});
        categoryCombo(dialog)->setCurrentIndex(0);
        dialog->categoryChosen();
        QCOMPARE(subcategoryCombo(dialog)->count(), 3 - int(instance));
        QCOMPARE(subcategoryCombo(dialog)->currentIndex(), 0);
    }

    // The tree is read when the choice is made: a category added since the dialog opened counts.
    void secondLevelReadsTheTreeNow()
    {
        MainWindowFixture fixture(InstalledTree);
        QuickCaptureDialog *dialog = openDialog(fixture.window.get(), false, QStringLiteral("x"));
        QVERIFY(dialog);
        auto *added = new QTreeWidgetItem(fixture.node(QStringLiteral("读书笔记")));
        added->setText(0, QStringLiteral("小说"));
        categoryCombo(dialog)->setCurrentIndex(2);
        dialog->categoryChosen();
        QCOMPARE(itemsOf(subcategoryCombo(dialog)),
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
        MainWindowFixture fixture(InstalledTree);
        QuickCaptureDialog *dialog = openDialog(fixture.window.get(), instance, QStringLiteral("seed"));
        QVERIFY(dialog);
        titleEdit(dialog)->setText(title);
        if (instance)
            pathEdit(dialog)->setText(content);
        else
            memoOf(dialog)->setPlainText(content);
        ModalDriver driver;
        addButton(dialog)->click();
        QCOMPARE(driver.boxes.size(), 1);
        QCOMPARE(driver.boxes.first().text, QStringLiteral("内容不完整，请填写完整"));
        QCOMPARE(driver.boxes.first().caption, QStringLiteral("Zindrel"));
        QCOMPARE(driver.boxes.first().icon, QMessageBox::Warning);
        QVERIFY(dialog->isVisible());
        QCOMPARE(titleEdit(dialog)->text(), title);
        const QString table = instance ? QStringLiteral("exefile") : QStringLiteral("textfile");
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from ") + table).toInt(), 0);
    }

    void escapeAsksBeforeTypedTextIsLost_data()
    {
        QTest::addColumn<bool>("instance");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("text, only what was dropped") << false << false << int(QMessageBox::NoButton) << true;
        QTest::newRow("text, typed, keep") << false << true << int(QMessageBox::No) << false;
        QTest::newRow("instance, typed, discard") << true << true << int(QMessageBox::Yes) << true;
    }
    void escapeAsksBeforeTypedTextIsLost()
    {
        QFETCH(bool, instance);
        QFETCH(bool, typed);
        QFETCH(int, answer);
        QFETCH(bool, closes);
        MainWindowFixture fixture(InstalledTree);
        QuickCaptureDialog *dialog = openDialog(fixture.window.get(), instance, QStringLiteral("seed"));
        QVERIFY(dialog);
        if (typed)
            authorEdit(dialog)->setText(QStringLiteral("typed by hand"));
        ModalDriver driver;
        if (answer != QMessageBox::NoButton)
            driver.answerNextBox(QMessageBox::StandardButton(answer));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QCOMPARE(driver.texts(), answer == QMessageBox::NoButton
                                     ? QStringList()
                                     : QStringList{QStringLiteral("放弃已输入的内容吗？")});
        QCOMPARE(dialog->isVisible(), !closes);
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
        MainWindowFixture fixture(InstalledTree);
        QuickCaptureDialog *dialog =
            openDialog(fixture.window.get(), false, QStringLiteral("it's a:b\r\n第二行"));
        QVERIFY(dialog);
        QPointer<QuickCaptureDialog> watched = dialog;
        QCOMPARE(titleEdit(dialog)->text(), QStringLiteral("it's a:b "));
        titleEdit(dialog)->setText(QStringLiteral("O'Neil's note"));
        authorEdit(dialog)->setText(QStringLiteral("D'Arcy"));
        subcategoryCombo(dialog)->setCurrentIndex(secondLevel);
        ModalDriver driver;
        addButton(dialog)->click();
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
        QVERIFY(!fixture.window->dropWindow()->textDialog());
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
        MainWindowFixture fixture(InstalledTree);
        QuickCaptureDialog *dialog =
            openDialog(fixture.window.get(), true, QStringLiteral("/home/o'brien/run.sh"));
        QVERIFY(dialog);
        titleEdit(dialog)->setText(QStringLiteral("构建脚本"));
        memoOf(dialog)->setPlainText(about);
        categoryCombo(dialog)->setCurrentIndex(0);
        dialog->categoryChosen();
        subcategoryCombo(dialog)->setCurrentIndex(1);
        ModalDriver driver;
        addButton(dialog)->click();
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("添加成功！你可以继续操作！")});
        const QList<QVariantList> rows = fixture.folder.rows(
            QStringLiteral("select title, bigclassname, classname, about, fpath from exefile"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().at(0).toString(), QStringLiteral("构建脚本"));
        QCOMPARE(rows.first().at(1).toString(), QStringLiteral("开发工具"));
        QCOMPARE(rows.first().at(2).toString(), QStringLiteral("编辑器"));
        QCOMPARE(rows.first().at(3).toString(), stored);
        QCOMPARE(rows.first().at(4).toString(), QStringLiteral("/home/o'brien/run.sh"));
        QTRY_VERIFY(!fixture.window->dropWindow()->instanceDialog());
    }

    // With no first-level category there is nowhere to file it: a material under an empty name
    // would be shown by no category, ever.
    void noCategoryFilesNothing()
    {
        MainWindowFixture fixture(
            {QStringLiteral("文字资料0"), QStringLiteral("实例资料0"), QStringLiteral("搜索结果0")});
        QuickCaptureDialog *dialog = openDialog(fixture.window.get(), false, QStringLiteral("body"));
        QVERIFY(dialog);
        ModalDriver driver;
        addButton(dialog)->click();
        QCOMPARE(driver.texts(),
                 QStringList{QStringLiteral(
                     "“文字资料”下还没有分类，资料没有保存。请先在主窗口的分类树中建立一个分类。")});
        QCOMPARE(fixture.folder.value(QStringLiteral("select count(*) from textfile")).toInt(), 0);
        QVERIFY(dialog->isVisible());
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
        MainWindowFixture fixture(InstalledTree);
        QuickCaptureDialog *dialog = openDialog(fixture.window.get(), instance, QStringLiteral("/tmp/x"));
        QVERIFY(dialog);
        QPointer<QuickCaptureDialog> watched = dialog;
        titleEdit(dialog)->setText(QStringLiteral("a 'quoted' title"));
        authorEdit(dialog)->setText(QStringLiteral("me"));
        memoOf(dialog)->setPlainText(QStringLiteral("text: with 'quotes'"));
        categoryCombo(dialog)->setCurrentIndex(1);
        dialog->categoryChosen();
        fixture.folder.remove(QStringLiteral("Data.QBD"));

        ModalDriver driver;
        addButton(dialog)->click();
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY2(driver.boxes.first().text.startsWith(QStringLiteral("数据库操作失败！ 原因：")),
                 qPrintable(driver.boxes.first().text));
        QCoreApplication::processEvents();
        QVERIFY(watched);
        QVERIFY(watched->isVisible());
        QCOMPARE(openDialogOf(fixture.window.get(), instance), watched.data());
        QCOMPARE(titleEdit(watched)->text(), QStringLiteral("a 'quoted' title"));
        QCOMPARE(authorEdit(watched)->text(), QStringLiteral("me"));
        QCOMPARE(memoOf(watched)->toPlainText(), QStringLiteral("text: with 'quotes'"));
        QCOMPARE(categoryCombo(watched)->currentIndex(), 1);

        // Once the database is back, the same press files it.
        QVERIFY(TestFolder::createDatabase(fixture.folder.filePath(QStringLiteral("Data.QBD"))));
        addButton(watched)->click();
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
        MainWindowFixture fixture(InstalledTree);
        QuickCaptureDialog *dialog = openDialog(fixture.window.get(), instance, QStringLiteral("x"));
        QVERIFY(dialog);
        QCOMPARE(dialog->size(), size);
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->pos(), position);
        QCOMPARE(dialog->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(addButton(dialog)->text(), QStringLiteral("添加"));
        QCOMPARE(cancelButton(dialog)->text(), QStringLiteral("取消"));
        // The controls keep their order: title, author, categories, (path,) memo, buttons.
        QList<QWidget *> order{titleEdit(dialog), authorEdit(dialog), categoryCombo(dialog)};
        if (instance)
            order.append(pathEdit(dialog));
        order << memoOf(dialog) << addButton(dialog);
        for (int i = 1; i < order.size(); ++i)
            QVERIFY(order.at(i - 1)->geometry().bottom() < order.at(i)->geometry().top());
        QCOMPARE(categoryCombo(dialog)->geometry().top(), subcategoryCombo(dialog)->geometry().top());
        QVERIFY(!categoryCombo(dialog)->isEditable());
        QVERIFY(!subcategoryCombo(dialog)->isEditable());
    }
};

QTEST_MAIN(TestCaptureDialogs)
#include "tst_capture_dialogs.moc"
