#pragma once

#include <QString>
#include <QStringList>

class QSqlDatabase;

// The tables of a shared base on PostgreSQL: the two material tables with the columns and
// meanings of Data.QBD (ids from an identity column; every text compared and ordered by its
// bytes, as SQLite does, through the "C" collation), a trigram index of what a person sees of
// each material for the full-text search, the category tree as one row per category (its parent
// and its place among its siblings), and zindrel_state with the schema's version and the tree's.
// Every committed change to them is announced on ServerConnection::ChangesChannel.
namespace ServerSchema {

// The version these tables are; a later program migrates a base from the number it finds.
constexpr int Version = 1;

// Creates the tables on a database that has none of them, leaves alone a base of this version,
// and refuses, saying what is wrong, tables of the same names in another shape, a part of them,
// or a base of a later version.
bool prepare(QSqlDatabase &db, QString *error);

// The full-text indexes, which an upload drops while it fills the tables and creates after.
QStringList fullTextIndexStatements();
QStringList dropFullTextIndexStatements();

} // namespace ServerSchema
