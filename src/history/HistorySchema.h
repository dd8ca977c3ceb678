#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Database;
class SqlDialect;

// Where earlier versions and deleted materials are kept: beside each material table a table of
// versions (the row as it was before each update, the last 50 of each material) and a recycle
// bin (the row as it was when deleted), both with the time the row was kept. Triggers of the
// store itself fill them, in the transaction of the change: the program's own statements keep
// their texts, and what any other program updates or deletes is kept as well. Times are stored
// in UTC as "yyyy-MM-dd HH:mm:ss", so that copies in other time zones agree and text order is
// time order.
namespace HistorySchema {

// The versions kept of each material.
constexpr int VersionsKept = 50;

// One kind of material and the tables that keep its rows.
struct Kind
{
    bool instances = false;
    QString materials;   // textfile or exefile
    QString versions;    // textfile_version
    QString bin;         // textfile_bin
    QString body;        // the long text: main or about
    QStringList columns; // the material's columns after id, in table order
    QString rootText;
};
const Kind &kind(bool instances);
QList<const Kind *> kinds();

struct SchemaObject
{
    QString name;
    QString sql; // as sqlite_master keeps it
};
// Data.QBD's tables, indexes and triggers, in the order they are created.
QList<SchemaObject> sqliteObjects();
// The shared base's tables, trigger functions and triggers; each statement may run again.
QStringList serverStatements();

// Creates in Data.QBD what it lacks, or holds in another form, in one transaction: a base of an
// older copy gets its tables and triggers at start, and no material is touched. Nothing to do on
// a shared base, whose schema carries them.
bool prepare(Database &database, QString *error);

} // namespace HistorySchema
