#include "TestFolder.h"

#include "shell/TMainForm.h"
#include "store/TMainData.h"
#include "tree/CategoryTree.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QString TextRoot = QStringLiteral("文字资料");
const QString InstanceRoot = QStringLiteral("实例资料");

Location text(const QString &first, const QString &second = QString())
{
    QStringList names{TextRoot, first};
    if (!second.isEmpty())
        names.append(second);
    return Location(names);
}

QStringList menuCaptions(QMenu *menu)
{
    QStringList captions;
    for (QAction *action : menu->actions())
        captions.append(action->text());
    return captions;
}
} // namespace

class TestHistoryWindow : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder.reset(new TestFolder);
        m_folder->writeLines(QStringLiteral("MTS.qb"),
                             {QStringLiteral("文字资料0"), QStringLiteral("+A1"), QStringLiteral("++A12"),
                              QStringLiteral("+B1"), QStringLiteral("+C-Sharp1"), QStringLiteral("+null1"),
                              QStringLiteral("+R&D1"), QStringLiteral("+D1"), QStringLiteral("+E1"),
                              QStringLiteral("实例资料0"), QStringLiteral("+工具1"),
                              QStringLiteral("搜索结果0")});
        m_form.reset(new TMainForm);
        QVERIFY(m_form->isCreated());
        m_data.reset(new TMainData);
        m_form->attachDataModule(m_data.get());
    }
    void cleanup()
    {
        m_form.reset();
        m_data.reset();
        m_folder.reset();
    }

    void startsEmptyAndUnavailable()
    {
        QCOMPARE(m_form->BackList.count(), 1);
        QCOMPARE(m_form->PreList.count(), 1);
        QCOMPARE(m_form->buttonImage(m_form->BackTBtn), 17);
        QCOMPARE(m_form->buttonImage(m_form->PreTBtn), 18);
        QCOMPARE(m_form->buttonImage(m_form->UpTBtn), 19);
        // Unavailable buttons do nothing.
        m_form->BackTBtnClick();
        m_form->PreTBtnClick();
        m_form->UpTBtnClick();
        QVERIFY(!m_form->selectedNode());
        QCOMPARE(m_form->MainListModel->rowCount(), 2);
    }

    void treeClicksRecordVisits()
    {
        click(QStringLiteral("A"));
        QVERIFY(m_form->BackList.isEmpty());
        QCOMPARE(m_form->buttonImage(m_form->BackTBtn), 17);
        click(QStringLiteral("A"));
        QVERIFY(m_form->BackList.isEmpty());
        click(QStringLiteral("B"));
        click(QStringLiteral("B"));
        click(QStringLiteral("A1"));
        QCOMPARE(m_form->BackList.menuEntries(), (QVector<Location>{text("B"), text("A")}));
        QCOMPARE(m_form->CurrentLocation, text("A", "A1"));
        QCOMPARE(m_form->buttonImage(m_form->BackTBtn), 14);
        QCOMPARE(m_form->buttonImage(m_form->PreTBtn), 18);
        QVERIFY(!m_form->UserNavigated);
    }

    void backAndForward()
    {
        clickAll({"A", "B", "D", "E"});
        m_form->BackTBtnClick();
        QCOMPARE(selectedText(), QStringLiteral("D"));
        QCOMPARE(m_form->CurrentLocation, text("D"));
        QCOMPARE(m_form->buttonImage(m_form->PreTBtn), 15);
        m_form->BackTBtnClick();
        m_form->BackTBtnClick();
        QCOMPARE(selectedText(), QStringLiteral("A"));
        QCOMPARE(m_form->buttonImage(m_form->BackTBtn), 17);
        m_form->BackTBtnClick(); // unavailable: nothing happens
        QCOMPARE(selectedText(), QStringLiteral("A"));
        QCOMPARE(m_form->PreList.menuEntries(), (QVector<Location>{text("B"), text("D"), text("E")}));

        m_form->PreTBtnClick();
        QCOMPARE(selectedText(), QStringLiteral("B"));
        QCOMPARE(m_form->BackList.menuEntries(), QVector<Location>{text("A")});
        QCOMPARE(m_form->buttonImage(m_form->BackTBtn), 14);

        // A user visit after going back empties the forward list.
        click(QStringLiteral("null"));
        QVERIFY(m_form->PreList.isEmpty());
        QCOMPARE(m_form->buttonImage(m_form->PreTBtn), 18);
        QCOMPARE(m_form->BackList.menuEntries(), (QVector<Location>{text("B"), text("A")}));
    }

    void menusJumpAndShowCaptionsExactly()
    {
        clickAll({"A", "B", "R&D", "D", "E"});
        m_form->BackMenuPopup();
        QCOMPARE(menuCaptions(m_form->BackMenu), (QStringList{"文字资料-D-null", "文字资料-R&&D-null",
                                                              "文字资料-B-null", "文字资料-A-null"}));
        // "&&" is drawn as one "&": no access key is made of it.
        QCOMPARE(QAction(QStringLiteral("R&&D")).iconText(), QStringLiteral("R&D"));

        m_form->BackMenu->actions().at(2)->trigger();
        QCOMPARE(selectedText(), QStringLiteral("B"));
        QCOMPARE(m_form->BackList.menuEntries(), QVector<Location>{text("A")});
        m_form->PreMenuPopup();
        QCOMPARE(menuCaptions(m_form->PreMenu),
                 (QStringList{"文字资料-R&&D-null", "文字资料-D-null", "文字资料-E-null"}));

        m_form->PreMenu->actions().at(1)->trigger();
        QCOMPARE(selectedText(), QStringLiteral("D"));
        QCOMPARE(m_form->PreList.menuEntries(), QVector<Location>{text("E")});
        QCOMPARE(m_form->BackList.menuEntries(), (QVector<Location>{text("R&D"), text("B"), text("A")}));

        // The first item is the Back button itself.
        m_form->BackMenuPopup();
        m_form->BackMenu->actions().at(0)->trigger();
        QCOMPARE(selectedText(), QStringLiteral("R&D"));
        QCOMPARE(m_form->PreList.menuEntries(), (QVector<Location>{text("D"), text("E")}));
    }

    void namesWithDashAndNullAreFound()
    {
        clickAll({"C-Sharp", "null", "A1"});
        m_form->BackTBtnClick();
        QCOMPARE(selectedText(), QStringLiteral("null"));
        QCOMPARE(m_form->selectedNode()->parent()->text(0), TextRoot);
        m_form->BackTBtnClick();
        QCOMPARE(selectedText(), QStringLiteral("C-Sharp"));
    }

    void locationOfDeletedCategoryIsDropped_data()
    {
        QTest::addColumn<bool>("viaMenu");
        QTest::newRow("button") << false;
        QTest::newRow("menu") << true;
    }
    void locationOfDeletedCategoryIsDropped()
    {
        QFETCH(bool, viaMenu);
        clickAll({"A", "B", "D", "E"});
        m_form->BackTBtnClick(); // at D, E ahead
        delete CategoryTree::findByText(m_form->MainTreeView, QStringLiteral("B"));
        const int listed = m_form->MainListModel->rowCount();

        if (viaMenu) {
            m_form->BackMenuPopup();
            m_form->BackMenu->actions().at(0)->trigger();
        } else {
            m_form->BackTBtnClick();
        }
        QCOMPARE(selectedText(), QStringLiteral("D"));
        QCOMPARE(m_form->CurrentLocation, text("D"));
        QCOMPARE(m_form->MainListModel->rowCount(), listed);
        QVERIFY(m_form->MainStatus->text().contains(QStringLiteral("文字资料-B-null")));
        QCOMPARE(m_form->BackList.menuEntries(), QVector<Location>{text("A")});
        QCOMPARE(m_form->PreList.menuEntries(), QVector<Location>{text("E")});
        QCOMPARE(m_form->buttonImage(m_form->BackTBtn), 14);

        // The next one still leads on.
        m_form->BackTBtnClick();
        QCOMPARE(selectedText(), QStringLiteral("A"));
        QCOMPARE(m_form->buttonImage(m_form->BackTBtn), 17);
    }

    void renamedTargetInsideAJump()
    {
        clickAll({"A", "B", "D", "E"});
        CategoryTree::findByText(m_form->MainTreeView, QStringLiteral("A"))->setText(0, QStringLiteral("A2"));
        m_form->BackMenuPopup();
        m_form->BackMenu->actions().at(2)->trigger();
        QCOMPARE(selectedText(), QStringLiteral("E"));
        QCOMPARE(m_form->BackList.menuEntries(), (QVector<Location>{text("D"), text("B")}));
        QVERIFY(m_form->PreList.isEmpty());
        QCOMPARE(m_form->buttonImage(m_form->PreTBtn), 18);
    }

    void staleNavigationFlagDoesNotRecord()
    {
        clickAll({"A", "B"});
        // A double click on nothing leaves the flag set behind it.
        m_form->MainList->clearSelection();
        m_form->MainListDblClick();
        m_form->BackTBtnClick();
        QCOMPARE(selectedText(), QStringLiteral("A"));
        QCOMPARE(m_form->PreList.menuEntries(), QVector<Location>{text("B")});
        QVERIFY(m_form->BackList.isEmpty());
    }

    void upWalksToTopLevel()
    {
        click(QStringLiteral("A1"));
        QCOMPARE(m_form->buttonImage(m_form->UpTBtn), 16);
        m_form->UpTBtnClick();
        QCOMPARE(selectedText(), QStringLiteral("A"));
        m_form->UpTBtnClick();
        QCOMPARE(selectedText(), TextRoot);
        // Each step up is a visit.
        QCOMPARE(m_form->BackList.menuEntries(), (QVector<Location>{text("A"), text("A", "A1")}));

        m_form->UpTBtnClick();
        QCOMPARE(m_form->buttonImage(m_form->UpTBtn), 19);
        QCOMPARE(
            m_form->MainListModel->entries(),
            (QVector<ListEntry>{{TextRoot, ListEntry::TopLevel, 0}, {InstanceRoot, ListEntry::TopLevel, 0}}));
        QCOMPARE(m_form->BackList.menuEntries().size(), 2);
        m_form->UpTBtnClick(); // unavailable: nothing happens
        QCOMPARE(m_form->MainListModel->rowCount(), 2);
        QCOMPARE(m_form->buttonImage(m_form->UpTBtn), 19);
        QCOMPARE(m_form->BackList.menuEntries().size(), 2);
    }

    void upFromSearchResultsShowsTopLevel()
    {
        click(QStringLiteral("搜索结果"));
        QCOMPARE(m_form->buttonImage(m_form->UpTBtn), 16);
        m_form->UpTBtnClick();
        QCOMPARE(m_form->MainListModel->rowCount(), 2);
        QCOMPARE(m_form->buttonImage(m_form->UpTBtn), 19);
    }

private:
    void clickAll(const QStringList &names)
    {
        for (const QString &name : names)
            click(name);
    }
    void click(const QString &name)
    {
        QTreeWidgetItem *node = CategoryTree::findByText(m_form->MainTreeView, name);
        QVERIFY2(node, qPrintable(name));
        CategoryTree::selectNode(m_form->MainTreeView, node);
        m_form->MainTreeViewClick();
    }
    QString selectedText() const
    {
        return m_form->selectedNode() ? m_form->selectedNode()->text(0) : QString();
    }

    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<TMainForm> m_form;
    std::unique_ptr<TMainData> m_data;
};

QTEST_MAIN(TestHistoryWindow)
#include "tst_history_window.moc"
