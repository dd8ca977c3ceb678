#pragma once

#include "tree/Location.h"

#include <QVector>

// One direction of the navigation history: five slots, slot 1 the oldest, and the number of
// the next free slot. While the list is full all five slots hold entries and the count stays
// at five; a filled slot 5 is what marks the list as full.
class HistoryList
{
public:
    static constexpr int Slots = 5;

    // Empties every slot; the count becomes 1.
    void clear();
    // Drops the oldest entry when the list is full, then fills the next free slot. An empty
    // location is not kept.
    void push(const Location &location);
    // Takes the most recent entry out; an empty list gives an empty location.
    Location pop();

    int count() const { return m_count; }
    // Slot n, 1 to 5; empty when unused.
    Location slot(int n) const;
    bool isFull() const { return !m_slots[Slots - 1].isEmpty(); }
    bool isEmpty() const { return m_slots[0].isEmpty(); }

    // The entries as the drop-down menu lists them: the most recent first.
    QVector<Location> menuEntries() const;
    // Takes the entry at a menu position out, keeping the others in their order.
    Location takeAt(int position);

    // A jump to the entry at a menu position: the current location and the entries listed above
    // the target go onto the other list, so that it retraces the jump step by step; the target
    // leaves this list and is returned.
    static Location jump(HistoryList &from, HistoryList &to, int position, const Location &current);

private:
    Location m_slots[Slots];
    int m_count = 1;
};
