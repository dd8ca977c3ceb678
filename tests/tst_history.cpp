#include "browse/HistoryList.h"

#include <QtTest>

namespace {
Location at(const QString &name)
{
    return Location({QStringLiteral("文字资料"), name});
}

// The entries' category names, most recent first, as the drop-down menu lists them.
QStringList menu(const HistoryList &list)
{
    QStringList names;
    for (const Location &entry : list.menuEntries())
        names.append(entry.names().value(1));
    return names;
}

QStringList slotNames(const HistoryList &list)
{
    QStringList names;
    for (int n = 1; n <= HistoryList::Slots; ++n)
        names.append(list.slot(n).names().value(1));
    return names;
}

// Browsing as the main window records it: each user visit puts the category left behind on
// the back list and empties the forward list.
struct Browser
{
    HistoryList back;
    HistoryList forward;
    Location current;

    void visit(const QString &name)
    {
        const Location next = at(name);
        if (!current.isEmpty() && current != next) {
            back.push(current);
            forward.clear();
        }
        current = next;
    }
    void jumpBack(int position)
    {
        const Location target = HistoryList::jump(back, forward, position, current);
        QVERIFY(!target.isEmpty());
        current = target;
    }
    void jumpForward(int position)
    {
        const Location target = HistoryList::jump(forward, back, position, current);
        QVERIFY(!target.isEmpty());
        current = target;
    }
};
} // namespace

class TestHistory : public QObject
{
    Q_OBJECT
private slots:
    void pushesUpToFull_data()
    {
        QTest::addColumn<int>("pushes");
        QTest::addColumn<QStringList>("expectedSlots");
        QTest::addColumn<int>("expectedCount");
        QTest::newRow("empty") << 0 << QStringList{{}, {}, {}, {}, {}} << 1;
        QTest::newRow("one") << 1 << QStringList{"1", {}, {}, {}, {}} << 2;
        QTest::newRow("four") << 4 << QStringList{"1", "2", "3", "4", {}} << 5;
        QTest::newRow("five fills slot 5, count stays 5") << 5 << QStringList{"1", "2", "3", "4", "5"} << 5;
        QTest::newRow("six drops the oldest") << 6 << QStringList{"2", "3", "4", "5", "6"} << 5;
        QTest::newRow("nine") << 9 << QStringList{"5", "6", "7", "8", "9"} << 5;
    }
    void pushesUpToFull()
    {
        QFETCH(int, pushes);
        QFETCH(QStringList, expectedSlots);
        QFETCH(int, expectedCount);
        HistoryList list;
        list.clear();
        for (int i = 1; i <= pushes; ++i)
            list.push(at(QString::number(i)));
        QCOMPARE(slotNames(list), expectedSlots);
        QCOMPARE(list.count(), expectedCount);
        QCOMPARE(list.isFull(), pushes >= 5);
        QCOMPARE(list.isEmpty(), pushes == 0);
    }

    void popsFromFullList()
    {
        HistoryList list;
        for (int i = 1; i <= 6; ++i)
            list.push(at(QString::number(i)));
        // Full: slot 5 is taken and emptied, the count stays at 5.
        QCOMPARE(list.pop(), at("6"));
        QCOMPARE(list.count(), 5);
        QCOMPARE(slotNames(list), (QStringList{"2", "3", "4", "5", {}}));
        QCOMPARE(list.pop(), at("5"));
        QCOMPARE(list.count(), 4);
        list.push(at("x"));
        QCOMPARE(slotNames(list), (QStringList{"2", "3", "4", "x", {}}));
        list.push(at("y"));
        QCOMPARE(slotNames(list), (QStringList{"2", "3", "4", "x", "y"}));
        QCOMPARE(list.count(), 5);
        for (const char *expected : {"y", "x", "4", "3", "2"})
            QCOMPARE(list.pop(), at(QString::fromLatin1(expected)));
        QVERIFY(list.isEmpty());
        QCOMPARE(list.count(), 1);
        // Popping an empty list reads nothing outside the slots and changes nothing.
        QVERIFY(list.pop().isEmpty());
        QCOMPARE(list.count(), 1);
    }

    void emptyLocationIsNotKept()
    {
        HistoryList list;
        list.push(at("A"));
        list.push(Location());
        QCOMPARE(list.count(), 2);
        QCOMPARE(menu(list), QStringList{"A"});
    }

    void clearEmptiesEverySlot()
    {
        HistoryList list;
        for (int i = 1; i <= 7; ++i)
            list.push(at(QString::number(i)));
        list.clear();
        QCOMPARE(slotNames(list), (QStringList{{}, {}, {}, {}, {}}));
        QCOMPARE(list.count(), 1);
        QVERIFY(list.menuEntries().isEmpty());
    }

    void sevenVisits()
    {
        Browser browser;
        for (const char *name : {"A", "B", "C", "D", "E", "F", "G"})
            browser.visit(QString::fromLatin1(name));
        QCOMPARE(slotNames(browser.back), (QStringList{"B", "C", "D", "E", "F"}));
        QCOMPARE(menu(browser.back), (QStringList{"F", "E", "D", "C", "B"}));
        QCOMPARE(browser.current, at("G"));
    }

    void oneVisitGivesEmptyMenu()
    {
        Browser browser;
        browser.visit("A");
        browser.visit("A");
        QVERIFY(browser.back.menuEntries().isEmpty());
    }

    void jumpToThirdBackItem()
    {
        Browser browser;
        for (const char *name : {"A", "B", "C", "D", "E"})
            browser.visit(QString::fromLatin1(name));
        QCOMPARE(menu(browser.back), (QStringList{"D", "C", "B", "A"}));
        browser.jumpBack(2);
        QCOMPARE(browser.current, at("B"));
        QCOMPARE(slotNames(browser.back), (QStringList{"A", {}, {}, {}, {}}));
        QCOMPARE(browser.back.count(), 2);
        QCOMPARE(slotNames(browser.forward), (QStringList{"E", "D", "C", {}, {}}));
        QCOMPARE(browser.forward.count(), 4);
        // Forward retraces the jump step by step.
        for (const char *expected : {"C", "D", "E"}) {
            browser.jumpForward(0);
            QCOMPARE(browser.current, at(QString::fromLatin1(expected)));
        }
        QVERIFY(browser.forward.isEmpty());
        QCOMPARE(menu(browser.back), (QStringList{"D", "C", "B", "A"}));
    }

    void jumpFromFullList()
    {
        Browser browser;
        for (const char *name : {"A", "B", "C", "D", "E", "F", "G"})
            browser.visit(QString::fromLatin1(name));
        browser.jumpBack(4);
        QCOMPARE(browser.current, at("B"));
        QVERIFY(browser.back.isEmpty());
        QCOMPARE(menu(browser.forward), (QStringList{"C", "D", "E", "F", "G"}));
        QVERIFY(browser.forward.isFull());
    }

    void backThenForwardRestores()
    {
        Browser browser;
        for (const char *name : {"A", "B", "C"})
            browser.visit(QString::fromLatin1(name));
        const QStringList before = slotNames(browser.back);
        browser.jumpBack(0);
        QCOMPARE(browser.current, at("B"));
        QCOMPARE(menu(browser.forward), QStringList{"C"});
        browser.jumpForward(0);
        QCOMPARE(browser.current, at("C"));
        QCOMPARE(slotNames(browser.back), before);
        QVERIFY(browser.forward.isEmpty());
    }

    void visitAfterGoingBackEmptiesForward()
    {
        Browser browser;
        for (const char *name : {"A", "B", "C", "D"})
            browser.visit(QString::fromLatin1(name));
        browser.jumpBack(0);
        browser.jumpBack(0);
        QCOMPARE(menu(browser.forward), (QStringList{"C", "D"}));
        browser.visit("X");
        QVERIFY(browser.forward.isEmpty());
        QCOMPARE(menu(browser.back), (QStringList{"B", "A"}));
    }

    void jumpOutsideMenuChangesNothing()
    {
        HistoryList back;
        HistoryList forward;
        back.push(at("A"));
        QVERIFY(HistoryList::jump(back, forward, 1, at("B")).isEmpty());
        QVERIFY(HistoryList::jump(back, forward, -1, at("B")).isEmpty());
        QCOMPARE(menu(back), QStringList{"A"});
        QVERIFY(forward.isEmpty());
    }

    void takeAtKeepsOrder_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("expectedMenu");
        QTest::newRow("most recent") << 3 << 0 << QStringList{"2", "1"};
        QTest::newRow("middle") << 3 << 1 << QStringList{"3", "1"};
        QTest::newRow("oldest of a full list") << 5 << 4 << QStringList{"5", "4", "3", "2"};
        QTest::newRow("outside") << 2 << 2 << QStringList{"2", "1"};
    }
    void takeAtKeepsOrder()
    {
        QFETCH(int, entries);
        QFETCH(int, position);
        QFETCH(QStringList, expectedMenu);
        HistoryList list;
        for (int i = 1; i <= entries; ++i)
            list.push(at(QString::number(i)));
        list.takeAt(position);
        QCOMPARE(menu(list), expectedMenu);
        QCOMPARE(list.count(), static_cast<int>(expectedMenu.size()) + 1);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
