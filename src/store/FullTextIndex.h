#pragma once

#include <QString>
#include <QVector>

#include <functional>

#include "store/FullTextTokenizer.h"

class Database;
class FullTextQuery;
class QSqlDatabase;

// One material that a full-text search found.
struct FullTextHit
{
    enum Kind { Text = 0, Instance = 1 };

    Kind kind = Text;
    qint64 id = 0;
    QString title;             // as a person sees it
    bool titleMatches = false; // every term is in the title
    int occurrences = 0;       // how often the terms occur: how well the material matches
};

// The full-text index of the materials, kept inside the database: built when it is missing,
// brought up to date with every change that the tables' triggers recorded, and searched.
// Everything the index needs goes through this class and its statements.
class FullTextIndex
{
public:
    // How far a build has come: materials indexed so far of all; called between batches.
    using Progress = std::function<void(int done, int total)>;

    explicit FullTextIndex(Database *database);

    // At start: builds the index (in one transaction) when it is missing, differs from what this
    // program makes, or lost count of the materials; otherwise applies what changed meanwhile.
    // *built tells whether it built.
    bool bringUpToDate(const Progress &progress, bool *built, QString *error);
    // A search lists at most this many hits, the best ones: listing every one of hundreds of
    // thousands (a word in nearly every material) would read all their titles.
    static constexpr int MostHits = 2000;

    // The best hits in order: those whose title holds every term first, then the better matches,
    // then by title; *found, how many materials match in all. A missing index is built first.
    bool search(const FullTextQuery &query, const Progress &progress, QVector<FullTextHit> *hits,
                qint64 *found, QString *error);

    // Those whose title holds every term first, then the better matches, then by title.
    static void sortHits(QVector<FullTextHit> *hits);

private:
    bool isComplete(QSqlDatabase &db, bool *complete, QString *error);
    bool build(QSqlDatabase &db, const Progress &progress, QString *error);
    bool catchUp(QSqlDatabase &db, QString *error);
    // Builds the index when it is missing or not as this program makes it, or when so much
    // changed that a build is as quick; applies the queue otherwise. With the count checked, an
    // index that lost count of the materials is built again.
    bool update(QSqlDatabase &db, const Progress &progress, bool checkCount, bool *built, QString *error);
    // The best hits, ranked while the match counts them all into *found.
    static bool readHits(QSqlDatabase &db, const FullTextQuery &query, FullTextTokenizer::RankedHits &ranked,
                         QVector<FullTextHit> *hits, QString *error);

    Database *m_database;
};
