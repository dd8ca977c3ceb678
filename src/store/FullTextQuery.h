#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// What a person typed into the full-text search, as terms: blanks separate them, and nothing
// else has a meaning of its own. A material matches when every term occurs in it as a
// substring, ASCII letters without regard to case.
class FullTextQuery
{
public:
    // More than this many characters (blanks left out) is refused: a search is for words and
    // lines, and each character of a term is one step of the index's work.
    static constexpr int MaxCharacters = 200;

    struct Occurrence
    {
        int start = 0;
        int length = 0;
    };

    FullTextQuery() = default;
    explicit FullTextQuery(const QString &typed);

    const QStringList &terms() const { return m_terms; }
    bool isEmpty() const { return m_terms.isEmpty(); }
    // Why the query cannot run, for the status line; empty when it can.
    QString refusal() const;

    // The index's query: every term a quoted string (quotes doubled), all of them required.
    QString matchExpression() const;
    // Whether every term occurs in the text.
    bool matchesAll(const QString &text) const;
    // Every occurrence of every term, by position.
    QVector<Occurrence> occurrences(const QString &text) const;
    // A few characters on either side of the first occurrence, with "..." where the text was
    // cut; empty when no term occurs.
    QString context(const QString &text) const;

    // ASCII letters in lower case, every other character as it is.
    static QString folded(const QString &text);

private:
    QStringList m_terms;
    QStringList m_foldedTerms;
    int m_characters = 0;
};
