#include "browse/HistoryList.h"

void HistoryList::clear()
{
    for (Location &entry : m_slots)
        entry = Location();
    m_count = 1;
}

void HistoryList::push(const Location &location)
{
    // An empty slot marks the end of the list; an empty location is no place to return to.
    if (location.isEmpty())
        return;
    if (isFull()) {
        for (int i = 0; i < Slots - 1; ++i)
            m_slots[i] = m_slots[i + 1];
    }
    m_slots[m_count - 1] = location;
    m_count = qMin(m_count + 1, Slots);
}

Location HistoryList::pop()
{
    if (isFull()) {
        const Location last = m_slots[Slots - 1];
        m_slots[Slots - 1] = Location();
        return last;
    }
    // An empty list has nothing below its first free slot.
    if (m_count <= 1)
        return Location();
    --m_count;
    const Location last = m_slots[m_count - 1];
    m_slots[m_count - 1] = Location();
    return last;
}

Location HistoryList::slot(int n) const
{
    return n >= 1 && n <= Slots ? m_slots[n - 1] : Location();
}

QVector<Location> HistoryList::menuEntries() const
{
    QVector<Location> entries;
    for (int n = isFull() ? Slots : m_count - 1; n >= 1; --n)
        entries.append(m_slots[n - 1]);
    return entries;
}

Location HistoryList::takeAt(int position)
{
    QVector<Location> entries = menuEntries();
    if (position < 0 || position >= entries.size())
        return Location();
    const Location taken = entries.takeAt(position);
    clear();
    for (auto it = entries.crbegin(); it != entries.crend(); ++it)
        push(*it);
    return taken;
}

Location HistoryList::jump(HistoryList &from, HistoryList &to, int position, const Location &current)
{
    const QVector<Location> entries = from.menuEntries();
    if (position < 0 || position >= entries.size())
        return Location();
    to.push(current);
    for (int i = 0; i < position; ++i) {
        to.push(entries.at(i));
        from.pop();
    }
    return from.pop();
}
