#pragma once

#include "RawStore.h"

#include <QString>

// The reference: the same database work as the program, straight through the SQLite C API.
// Like the program, every operation opens the database file and closes it again.
class RawSqlite : public RawStore
{
public:
    // The database as the program opens it: a URI with mode=rw.
    explicit RawSqlite(const QString &databasePath);

    // Reads the id and the title of every row the select returns. The row count, or -1.
    int select(const QByteArray &sql) const override;
    // The first column of the first row the select returns, or -1.
    qint64 number(const QByteArray &sql) const;
    // Runs each statement on a connection of its own. False at the first failure.
    bool executeEach(const QList<QByteArray> &statements) const override;

    // Sum of what the reads touched, so that the compiler cannot drop them.
    static quint64 checksum();

private:
    QByteArray m_uri;
};
