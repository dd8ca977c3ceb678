#pragma once

#include <QHash>
#include <QString>
#include <QVector>

class Database;
class SqlDialect;

// The language a reader chose for a text material, kept beside the materials in a table of its
// own, textfile_language (material id, language name): the columns of textfile stay as other
// programs and older copies read them. A material without a row there has its language guessed
// from what it holds (see LanguageGuess). Rows stay when their material is deleted: ids are never
// given out again, and a material brought back keeps its language.
namespace MaterialLanguages {

// The table, for a base that lacks it; harmless on one that has it.
QString createStatement(const SqlDialect &dialect);
// Creates the table when it is missing: what the start does.
bool prepare(Database &database, QString *error);

// The language stored for the material; empty when none is (or the base has no table yet).
QString stored(Database &database, qint64 id);
// The stored languages of those materials among the given ones that have one.
QHash<qint64, QString> stored(Database &database, const QVector<qint64> &ids);
// Remembers the language for the material, replacing what was stored.
bool store(Database &database, qint64 id, const QString &language, QString *error);
// Stores the language of the material that the connection inserted last: what an import runs
// right after the material's insert, in the same transaction.
QString storeForLastInsertStatement(const SqlDialect &dialect, const QString &language);

} // namespace MaterialLanguages
