#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

class Database;
struct RestoreOutcome;
namespace HistorySchema {
struct Kind;
}

// One deleted material as the recycle bin lists it.
struct BinEntry
{
    bool instance = false;
    qint64 seq = 0; // the bin's own number of the row
    qint64 id = 0;  // the material's id when it was deleted
    QString title;
    QString category;
    QString subcategory;
    QString keptTime; // stored form: when it was deleted
};

// The deleted materials that the store keeps: listed, put back, or let go for good (with the
// versions of materials that are then gone altogether). Each operation that writes runs in one
// transaction, the caller's when it runs in one.
class RecycleBin
{
public:
    explicit RecycleBin(Database &database);

    // Newest first, both kinds.
    bool list(QVector<BinEntry> *entries, QString *error) const;
    // Puts the chosen rows back into their categories (see RestorePlace), each with its id when
    // no material holds it (of two chosen rows with one id, the one deleted last keeps it), and
    // takes them out of the bin. Rows no longer in the bin are counted as gone. The categories
    // the tree needs go into the outcome: to be run in a transaction that saves the tree too.
    bool restore(const QVector<BinEntry> &chosen, RestoreOutcome *outcome, QString *error) const;
    // Lets the chosen rows go for good; *removed counts those that were still there.
    bool remove(const QVector<BinEntry> &chosen, int *removed, QString *error) const;
    bool empty(int *removed, QString *error) const;
    // What was deleted longer ago than the bin keeps things, at the given moment.
    bool purge(const QDateTime &now, int *removed, QString *error) const;

private:
    bool restoreKind(const HistorySchema::Kind &kind, const QVector<qint64> &seqs, RestoreOutcome *outcome,
                     QString *error) const;
    // Removes the bin rows of the condition and the versions of materials that go with them.
    bool removeWhere(const HistorySchema::Kind &kind, const QString &condition, int *removed,
                     QString *error) const;

    Database &m_database;
};
