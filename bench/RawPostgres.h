#pragma once

#include "RawStore.h"

#include <QString>

#include <memory>

struct pg_conn;

// The reference on a shared base: the same statements as the program, straight through libpq.
// Like the program, it keeps one connection to the server open for all its operations.
class RawPostgres : public RawStore
{
public:
    // A connection string as libpq reads it; what it leaves out (host, port, user, password) comes
    // from the environment the libpq way.
    explicit RawPostgres(const QByteArray &connectionInfo);

    // Empty when the connection is up; otherwise why it is not.
    QString error() const;

    int select(const QByteArray &sql) const override;
    bool executeEach(const QList<QByteArray> &statements) const override;

private:
    std::unique_ptr<pg_conn, void (*)(pg_conn *)> m_connection;
    // Sum of what the reads touched, so that the compiler cannot drop them.
    mutable quint64 m_touched = 0;
};
