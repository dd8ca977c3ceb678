#pragma once

#include "store/FullTextIndex.h"

#include <QString>

class Database;
class FullTextQuery;

// The full-text search of a shared base on PostgreSQL. The server keeps a trigram index (pg_trgm)
// of what a person sees of every material, ASCII letters in lower case, up to date by itself; a
// term is a LIKE pattern on that text, which the index answers for a term of three characters or
// more (shorter ones read every material). The hits, and how often their terms occur, are those
// of Data.QBD's own index for the same materials.
namespace ServerFullText {

// What the index holds of a row of the text table or of the instance table: title, body (or
// description) and path, tokens turned back, separated by a blank, which no term holds.
QString shownText(bool instances);
// The hits of the query: kind, id, stored title and how often the terms occur, in no order.
QString searchStatement(const FullTextQuery &query);
bool search(Database *database, const FullTextQuery &query, QVector<FullTextHit> *hits, QString *error);

} // namespace ServerFullText
