#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

struct sqlite3;

// The full-text index's tokenizer for SQLite's FTS5, registered on each connection as it opens.
// A text is indexed as every pair of neighbouring characters, each at the position of its first
// character, with that single character at the same position; blanks end a run and are never
// indexed (a search term holds none). A query string becomes the pairs of its characters at
// consecutive positions (one character: that character alone). So a term of any length is
// found exactly where it occurs as a substring: one token for one or two characters, a phrase
// of pairs for more. ASCII letters are indexed and searched in lower case.
namespace FullTextTokenizer {

inline constexpr char Name[] = "zindrel_pairs";
// The rank of a hit: how often the query's terms occur in it, plus TitleBonus when every term
// occurs in its title. Called on every hit of a match, it also counts them and keeps the best
// few in the RankedHits it was registered with: the search then needs no row per hit.
inline constexpr char RankFunction[] = "zindrel_rank";
inline constexpr int TitleBonus = 1 << 24;

class RankedHits
{
public:
    struct Hit
    {
        int rank;
        qint64 document;
    };

    explicit RankedHits(int kept) : m_kept(kept) {}
    void offer(int rank, qint64 document);
    qint64 counted() const { return m_counted; }
    // The best hits kept, the best first; among equal ranks the earlier documents.
    std::vector<Hit> best() const;

private:
    int m_kept;
    qint64 m_counted = 0;
    std::vector<Hit> m_heap; // the worst kept hit on top
};

// The blanks that separate query terms: those QChar::isSpace knows.
bool isBlank(char32_t character);

// Registers the tokenizer and the rank function, which keeps the best hits in ranked when given.
// False, with the reason, when the connection's SQLite has no FTS5.
bool registerOn(sqlite3 *db, QString *error, RankedHits *ranked = nullptr);

} // namespace FullTextTokenizer
