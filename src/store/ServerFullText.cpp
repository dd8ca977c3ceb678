#include "store/ServerFullText.h"

#include "store/Database.h"
#include "store/FullTextQuery.h"
#include "store/SqlText.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace ServerFullText {

namespace {
const QString Shown = QStringLiteral("shown");

// A term as a LIKE pattern of its own: backslash, "%" and "_" stand for themselves.
QString likePattern(const QString &term)
{
    QString escaped;
    for (const QChar c : term) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return SqlText::literal(QLatin1Char('%') + escaped + QLatin1Char('%'));
}

// Whether the term's end can be the start of another occurrence of it ("aa", "aba"), so that
// occurrences overlap as positions of the index do.
bool overlapsItself(const QString &term)
{
    for (int length = 1; length < term.size(); ++length) {
        if (term.left(length) == term.right(length))
            return true;
    }
    return false;
}

// How often the term occurs in the shown text, overlapping occurrences each counted.
QString occurrences(const QString &term)
{
    if (!overlapsItself(term))
        return QStringLiteral("(length(") + Shown + QStringLiteral(")-length(replace(") + Shown +
               QLatin1Char(',') + SqlText::literal(term) + QStringLiteral(",'')))/") +
               QString::number(term.size());
    // A look-ahead matches at every position where the term begins; only ASCII punctuation has a
    // meaning of its own in a regular expression.
    QString expression;
    for (const QChar c : term) {
        if (c.unicode() < 128 && !c.isLetterOrNumber())
            expression += QLatin1Char('\\');
        expression += c;
    }
    return QStringLiteral("(SELECT count(*) FROM regexp_matches(") + Shown + QLatin1Char(',') +
           SqlText::literal(QStringLiteral("(?=") + expression + QLatin1Char(')')) + QStringLiteral(",'g'))");
}

QString searchOf(bool instances, const QStringList &terms)
{
    const QString shown = shownText(instances);
    QStringList conditions;
    QStringList counts;
    for (const QString &term : terms) {
        conditions.append(shown + QStringLiteral(" LIKE ") + likePattern(term));
        counts.append(occurrences(term));
    }
    // OFFSET 0 keeps the inner select whole, so that the shown text is made once for each hit.
    return QStringLiteral("SELECT ") + QString::number(instances ? 1 : 0) + QStringLiteral(",id,title,") +
           counts.join(QLatin1Char('+')) + QStringLiteral(" FROM (SELECT id,title,") + shown +
           QStringLiteral(" AS ") + Shown + QStringLiteral(" FROM ") +
           (instances ? QStringLiteral("exefile") : QStringLiteral("textfile")) + QStringLiteral(" WHERE ") +
           conditions.join(QStringLiteral(" AND ")) + QStringLiteral(" OFFSET 0) AS hits");
}
} // namespace

QString shownText(bool instances)
{
    QString text =
        SqlText::fromTokensExpression(QStringLiteral("title"), false) + QStringLiteral("||' '||") +
        SqlText::fromTokensExpression(instances ? QStringLiteral("about") : QStringLiteral("main"), true);
    if (instances)
        text += QStringLiteral("||' '||fpath");
    return QStringLiteral("lower(") + text + QLatin1Char(')');
}

QString searchStatement(const FullTextQuery &query)
{
    QStringList terms;
    for (const QString &term : query.terms())
        terms.append(FullTextQuery::folded(term));
    return searchOf(false, terms) + QStringLiteral(" UNION ALL ") + searchOf(true, terms);
}

bool search(Database *database, const FullTextQuery &query, QVector<FullTextHit> *hits, QString *error)
{
    return database->select(
        searchStatement(query),
        [&query, hits](const QSqlQuery &row) {
            FullTextHit hit;
            hit.kind = row.value(0).toInt() == 1 ? FullTextHit::Instance : FullTextHit::Text;
            hit.id = row.value(1).toLongLong();
            hit.title = SqlText::fromTokens(row.value(2).toString(), false);
            hit.occurrences = row.value(3).toInt();
            hit.titleMatches = query.matchesAll(hit.title);
            hits->append(hit);
        },
        error);
}

} // namespace ServerFullText
