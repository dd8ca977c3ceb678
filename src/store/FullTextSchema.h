#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// The SQL of the full-text index in Data.QBD. The FTS5 table "fulltext" indexes what a person
// sees of every material (text: title and body; instance: title, description and path) without
// keeping the text a second time; its row id is the material's id times two, plus one for an
// instance. "fulltext_title" lists the indexed materials with their stored titles: what the
// index holds, so that nothing is taken out of it that was never in it, and the names of the
// hits. Triggers in plain SQL record in "fulltext_queue" every row that another statement adds,
// changes or removes, with the text it had, in the same transaction as the change: any program
// may write the tables, and the index is brought up to date from the queue before it is read.
namespace FullTextSchema {

struct SchemaObject
{
    QString name;
    QString sql; // as sqlite_master keeps it
};

// The index's tables and triggers, in the order they are created.
QList<SchemaObject> objects();
// Statements that remove whatever of the index exists, in any state.
QStringList dropStatements();

// Fills the index with the materials of one kind whose ids lie in [from, upTo].
QStringList fillStatements(bool instances, qint64 from, qint64 upTo);
// Merges the index into one piece after a build, so that a search reads one b-tree per term.
QString optimizeStatement();
// FTS5 collects this many bytes before it writes a piece of index: fewer, larger pieces make a
// build faster. Set during a build and removed after it.
QString buildMemoryStatement();
QString defaultMemoryStatement();

// Whether the queue holds anything.
QString queueCountStatement();
// Applies the queue to the index, then empties it; run inside one transaction.
QStringList catchUpStatements();

// Ids in order, one table: the build goes through them in batches.
QString idsStatement(bool instances);
// Indexed materials against materials in the tables: equal when nothing bypassed the triggers.
QString indexedCountStatement();
QString materialCountStatement();

// Ranks every hit of a match expression (bound as the one parameter) through
// FullTextTokenizer::RankFunction, which counts them and keeps the best; the statement returns
// their count and no row per hit.
QString rankStatement();
// The stored titles of those indexed materials: document, title.
QString titlesStatement(const QVector<qint64> &documents);

} // namespace FullTextSchema
