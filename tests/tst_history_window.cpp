#include "MainWindowFixture.h"
#include "TestFolder.h"

#include "browse/ListEntries.h"
#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "browse/Navigator.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "tree/CategoryTree.h"
#include "widgets/ToolButtonImage.h"

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
        m_window.reset(new MainWindow);
        QVERIFY(m_window->isCreated());
        m_database.reset(new Database);
        m_window->attachDatabase(m_database.get());
    }
    void cleanup()
    {
        m_window.reset();
        m_database.reset();
        m_folder.reset();
    }

    void startsEmptyAndUnavailable()
    {
        QCOMPARE(navigator()->backHistory().count(), 1);
        QCOMPARE(navigator()->forwardHistory().count(), 1);
        QCOMPARE(buttonImage("backButton"), 17);
        QCOMPARE(buttonImage("forwardButton"), 18);
        QCOMPARE(buttonImage("upButton"), 19);
        // Unavailable buttons do nothing.
        navigator()->goBack();
        navigator()->goForward();
        navigator()->goUp();
        QVERIFY(!CategoryTree::selectedNode(tree()));
        QCOMPARE(m_window->materialList()->model()->rowCount(), 2);
    }

    void treeClicksRecordVisits()
    {
        click(QStringLiteral("A"));
        QVERIFY(navigator()->backHistory().isEmpty());
        QCOMPARE(buttonImage("backButton"), 17);
        click(QStringLiteral("A"));
        QVERIFY(navigator()->backHistory().isEmpty());
        click(QStringLiteral("B"));
        click(QStringLiteral("B"));
        click(QStringLiteral("A1"));
        QCOMPARE(navigator()->backHistory().menuEntries(), (QVector<Location>{text("B"), text("A")}));
        QCOMPARE(navigator()->currentLocation(), text("A", "A1"));
        QCOMPARE(buttonImage("backButton"), 14);
        QCOMPARE(buttonImage("forwardButton"), 18);
        // The visit is spent: a refresh that no user asked for records nothing.
        CategoryTree::selectNode(tree(), CategoryTree::findByText(tree(), QStringLiteral("B")));
        m_window->materialList()->refresh();
        QCOMPARE(navigator()->backHistory().menuEntries(), (QVector<Location>{text("B"), text("A")}));
    }

    void backAndForward()
    {
        clickAll({"A", "B", "D", "E"});
        navigator()->goBack();
        QCOMPARE(selectedText(), QStringLiteral("D"));
        QCOMPARE(navigator()->currentLocation(), text("D"));
        QCOMPARE(buttonImage("forwardButton"), 15);
        navigator()->goBack();
        navigator()->goBack();
        QCOMPARE(selectedText(), QStringLiteral("A"));
        QCOMPARE(buttonImage("backButton"), 17);
        navigator()->goBack(); // unavailable: nothing happens
        QCOMPARE(selectedText(), QStringLiteral("A"));
        QCOMPARE(navigator()->forwardHistory().menuEntries(),
                 (QVector<Location>{text("B"), text("D"), text("E")}));

        navigator()->goForward();
        QCOMPARE(selectedText(), QStringLiteral("B"));
        QCOMPARE(navigator()->backHistory().menuEntries(), QVector<Location>{text("A")});
        QCOMPARE(buttonImage("backButton"), 14);

        // A user visit after going back empties the forward list.
        click(QStringLiteral("null"));
        QVERIFY(navigator()->forwardHistory().isEmpty());
        QCOMPARE(buttonImage("forwardButton"), 18);
        QCOMPARE(navigator()->backHistory().menuEntries(), (QVector<Location>{text("B"), text("A")}));
    }

    void menusJumpAndShowCaptionsExactly()
    {
        clickAll({"A", "B", "R&D", "D", "E"});
        popUp(navigator()->backMenu());
        QCOMPARE(menuCaptions(navigator()->backMenu()), (QStringList{"文字资料-D-null", "文字资料-R&&D-null",
                                                                     "文字资料-B-null", "文字资料-A-null"}));
        // "&&" is drawn as one "&": no access key is made of it.
        QCOMPARE(QAction(QStringLiteral("R&&D")).iconText(), QStringLiteral("R&D"));

        navigator()->backMenu()->actions().at(2)->trigger();
        QCOMPARE(selectedText(), QStringLiteral("B"));
        QCOMPARE(navigator()->backHistory().menuEntries(), QVector<Location>{text("A")});
        popUp(navigator()->forwardMenu());
        QCOMPARE(menuCaptions(navigator()->forwardMenu()),
                 (QStringList{"文字资料-R&&D-null", "文字资料-D-null", "文字资料-E-null"}));

        navigator()->forwardMenu()->actions().at(1)->trigger();
        QCOMPARE(selectedText(), QStringLiteral("D"));
        QCOMPARE(navigator()->forwardHistory().menuEntries(), QVector<Location>{text("E")});
        QCOMPARE(navigator()->backHistory().menuEntries(),
                 (QVector<Location>{text("R&D"), text("B"), text("A")}));

        // The first item is the Back button itself.
        popUp(navigator()->backMenu());
        navigator()->backMenu()->actions().at(0)->trigger();
        QCOMPARE(selectedText(), QStringLiteral("R&D"));
        QCOMPARE(navigator()->forwardHistory().menuEntries(), (QVector<Location>{text("D"), text("E")}));
    }

    void namesWithDashAndNullAreFound()
    {
        clickAll({"C-Sharp", "null", "A1"});
        navigator()->goBack();
        QCOMPARE(selectedText(), QStringLiteral("null"));
        QCOMPARE(CategoryTree::selectedNode(tree())->parent()->text(0), TextRoot);
        navigator()->goBack();
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
        navigator()->goBack(); // at D, E ahead
        delete CategoryTree::findByText(tree(), QStringLiteral("B"));
        const int listed = m_window->materialList()->model()->rowCount();

        if (viaMenu) {
            popUp(navigator()->backMenu());
            navigator()->backMenu()->actions().at(0)->trigger();
        } else {
            navigator()->goBack();
        }
        QCOMPARE(selectedText(), QStringLiteral("D"));
        QCOMPARE(navigator()->currentLocation(), text("D"));
        QCOMPARE(m_window->materialList()->model()->rowCount(), listed);
        QVERIFY(childNamed<QLabel>(m_window.get(), "statusLine")
                    ->text()
                    .contains(QStringLiteral("文字资料-B-null")));
        QCOMPARE(navigator()->backHistory().menuEntries(), QVector<Location>{text("A")});
        QCOMPARE(navigator()->forwardHistory().menuEntries(), QVector<Location>{text("E")});
        QCOMPARE(buttonImage("backButton"), 14);

        // The next one still leads on.
        navigator()->goBack();
        QCOMPARE(selectedText(), QStringLiteral("A"));
        QCOMPARE(buttonImage("backButton"), 17);
    }

    void renamedTargetInsideAJump()
    {
        clickAll({"A", "B", "D", "E"});
        CategoryTree::findByText(tree(), QStringLiteral("A"))->setText(0, QStringLiteral("A2"));
        popUp(navigator()->backMenu());
        navigator()->backMenu()->actions().at(2)->trigger();
        QCOMPARE(selectedText(), QStringLiteral("E"));
        QCOMPARE(navigator()->backHistory().menuEntries(), (QVector<Location>{text("D"), text("B")}));
        QVERIFY(navigator()->forwardHistory().isEmpty());
        QCOMPARE(buttonImage("forwardButton"), 18);
    }

    void staleNavigationFlagDoesNotRecord()
    {
        clickAll({"A", "B"});
        // A double click on nothing leaves the flag set behind it.
        m_window->materialList()->view()->clearSelection();
        navigator()->openSelectedEntry();
        navigator()->goBack();
        QCOMPARE(selectedText(), QStringLiteral("A"));
        QCOMPARE(navigator()->forwardHistory().menuEntries(), QVector<Location>{text("B")});
        QVERIFY(navigator()->backHistory().isEmpty());
    }

    void upWalksToTopLevel()
    {
        click(QStringLiteral("A1"));
        QCOMPARE(buttonImage("upButton"), 16);
        navigator()->goUp();
        QCOMPARE(selectedText(), QStringLiteral("A"));
        navigator()->goUp();
        QCOMPARE(selectedText(), TextRoot);
        // Each step up is a visit.
        QCOMPARE(navigator()->backHistory().menuEntries(), (QVector<Location>{text("A"), text("A", "A1")}));

        navigator()->goUp();
        QCOMPARE(buttonImage("upButton"), 19);
        QCOMPARE(
            m_window->materialList()->model()->entries(),
            (QVector<ListEntry>{{TextRoot, ListEntry::TopLevel, 0}, {InstanceRoot, ListEntry::TopLevel, 0}}));
        QCOMPARE(navigator()->backHistory().menuEntries().size(), 2);
        navigator()->goUp(); // unavailable: nothing happens
        QCOMPARE(m_window->materialList()->model()->rowCount(), 2);
        QCOMPARE(buttonImage("upButton"), 19);
        QCOMPARE(navigator()->backHistory().menuEntries().size(), 2);
    }

    // The hits of a search are no place of the history: Back from them returns first to where
    // the person was before them.
    void backFromSearchHitsReturnsToThePlaceBefore()
    {
        clickAll({"A", "B", "D"});
        m_window->materialList()->searchResults()->setEntries(QVector<ListEntry>());
        CategoryTree::selectNode(tree(), CategoryTree::findByText(tree(), QStringLiteral("搜索结果")));
        m_window->materialList()->refresh();
        QCOMPARE(buttonImage("backButton"), 14);
        navigator()->goBack();
        QCOMPARE(selectedText(), QStringLiteral("D"));
        QVERIFY(navigator()->forwardHistory().isEmpty());
        navigator()->goBack();
        QCOMPARE(selectedText(), QStringLiteral("B"));
        navigator()->goForward();
        QCOMPARE(selectedText(), QStringLiteral("D"));
        QCOMPARE(buttonImage("forwardButton"), 18);
    }

    // A right click selects the node it lands on and shows that node's list, as a click does.
    void rightClickInTheTreeShowsThatList()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        click(QStringLiteral("A"));
        QTreeWidgetItem *node = CategoryTree::findByText(tree(), QStringLiteral("B"));
        const QPoint at = tree()->visualItemRect(node).center();
        QTest::mousePress(tree()->viewport(), Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseRelease(tree()->viewport(), Qt::RightButton, Qt::NoModifier, at);
        QCOMPARE(selectedText(), QStringLiteral("B"));
        QCOMPARE(navigator()->currentLocation(), text("B"));
        QCOMPARE(navigator()->backHistory().menuEntries(), QVector<Location>{text("A")});
        for (QMenu *menu : m_window->findChildren<QMenu *>())
            menu->close();
    }

    void upFromSearchResultsShowsTopLevel()
    {
        click(QStringLiteral("搜索结果"));
        QCOMPARE(buttonImage("upButton"), 16);
        navigator()->goUp();
        QCOMPARE(m_window->materialList()->model()->rowCount(), 2);
        QCOMPARE(buttonImage("upButton"), 19);
    }

private:
    QTreeWidget *tree() const { return m_window->categoryTree(); }
    Navigator *navigator() const { return m_window->navigator(); }
    int buttonImage(const char *name) const
    {
        return ToolButtonImage::of(childNamed<QToolButton>(m_window.get(), name));
    }
    // Fills a history menu as its opening does.
    static void popUp(QMenu *menu) { emit menu->aboutToShow(); }
    void clickAll(const QStringList &names)
    {
        for (const QString &name : names)
            click(name);
    }
    void click(const QString &name)
    {
        QTreeWidgetItem *node = CategoryTree::findByText(tree(), name);
        QVERIFY2(node, qPrintable(name));
        CategoryTree::selectNode(tree(), node);
        navigator()->visitSelectedCategory();
    }
    QString selectedText() const
    {
        return CategoryTree::selectedNode(tree()) ? CategoryTree::selectedNode(tree())->text(0) : QString();
    }

    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<Database> m_database;
};

QTEST_MAIN(TestHistoryWindow)
#include "tst_history_window.moc"
