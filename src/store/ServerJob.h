#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

#include <atomic>

// One step of work on the shared base's connection, handed from the window's thread to the thread
// that holds the connection, and what came of it. Only data: a job that the window stopped
// waiting for can end whenever it ends, touching nothing of the window's.
struct ServerJob
{
    enum Kind {
        Connect,   // opens the connection when it is closed
        Statement, // one statement, its rows copied into the job
        Begin,
        Commit,
        Rollback,
        Probe // while nothing else runs: finds a lost connection, and connects again
    };

    explicit ServerJob(Kind kind, const QString &sql = QString()) : kind(kind), sql(sql) {}

    const Kind kind;
    const QString sql;
    // Part of a transaction: never connects again, since the transaction went with the connection.
    bool inTransaction = false;
    // A statement that changes rows and commits by itself.
    bool writes = false;

    // Set by the connection's thread; read by the window's once done is true.
    bool ok = false;
    // The connection broke, or could not be made: the server did not answer.
    bool lost = false;
    // Given up while it ran, after waiting too long for the server.
    bool cut = false;
    // Given up before it ran: it never runs.
    bool abandoned = false;
    // The connection was made again after it had been lost.
    bool reconnected = false;
    QString error;
    int rowsAffected = -1;
    int columns = 0;
    QVector<QVariant> values; // the rows one after the other, columns values each
    std::atomic<bool> done{false};
};
