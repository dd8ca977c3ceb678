#pragma once

#include "history/KeptMaterial.h"

#include <QString>
#include <QVector>

class Database;
struct RestoreOutcome;
namespace HistorySchema {
struct Kind;
}

// One entry of a material's version list.
struct VersionEntry
{
    qint64 seq = 0;
    QString keptTime; // stored form: when the version was replaced
    QString title;
    qint64 size = 0; // characters of the text as a person reads it
};

// The earlier versions of one material, which the store keeps on every update: listed, read, and
// made current again. Making a version current is itself an update, so the text it replaces
// becomes a version too.
class MaterialVersions
{
public:
    MaterialVersions(Database &database, bool instance, qint64 id);

    // Newest first.
    bool list(QVector<VersionEntry> *entries, QString *error) const;
    // *found is false when there is no such version (any more).
    bool read(qint64 seq, KeptMaterial *version, bool *found, QString *error) const;
    // The material as it is now; *found is false when it has been deleted.
    bool readCurrent(KeptMaterial *current, bool *found, QString *error) const;
    // Makes the version the material's row, in the version's categories (or the rescue category,
    // see RestorePlace); the categories the tree needs go into the outcome. To be run in a
    // transaction, with the tree saved in the same one.
    bool restore(qint64 seq, RestoreOutcome *outcome, QString *error) const;

private:
    bool readOne(const QString &sql, KeptMaterial *material, bool *found, QString *error) const;

    Database &m_database;
    const HistorySchema::Kind &m_kind;
    qint64 m_id;
};
