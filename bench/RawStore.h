#pragma once

#include <QByteArray>
#include <QList>

// The reference of a comparison: the program's database work done straight through the store's
// own C library, the same statements, so that the ratio shows what the program adds.
class RawStore
{
public:
    virtual ~RawStore() = default;

    // Reads the id and the title of every row the select returns. The row count, or -1.
    virtual int select(const QByteArray &sql) const = 0;
    // Runs each statement as one operation of its own. False at the first failure.
    virtual bool executeEach(const QList<QByteArray> &statements) const = 0;
};
