#include "store/FullTextQuery.h"

#include "store/FullTextTokenizer.h"

#include <algorithm>

namespace {
constexpr int ContextBefore = 8;
constexpr int ContextAfter = 12;
const QString Cut = QStringLiteral("...");

// Moves a cut off the second half of a surrogate pair, towards the given direction.
int characterBoundary(const QString &text, int index, int direction)
{
    if (index > 0 && index < text.size() && text.at(index).isLowSurrogate() &&
        text.at(index - 1).isHighSurrogate())
        return index + (direction < 0 ? -1 : 1);
    return index;
}
} // namespace

FullTextQuery::FullTextQuery(const QString &typed)
{
    QString term;
    auto endTerm = [this, &term] {
        if (!term.isEmpty()) {
            m_terms.append(term);
            m_foldedTerms.append(folded(term));
            term.clear();
        }
    };
    for (int i = 0; i < typed.size(); ++i) {
        char32_t code = typed.at(i).unicode();
        const bool pair =
            typed.at(i).isHighSurrogate() && i + 1 < typed.size() && typed.at(i + 1).isLowSurrogate();
        if (pair)
            code = QChar::surrogateToUcs4(typed.at(i), typed.at(i + 1));
        if (FullTextTokenizer::isBlank(code)) {
            endTerm();
            continue;
        }
        // Half a surrogate pair would swallow the closing quote on its way to the index, and a
        // NUL would end the query there: both stand for the replacement character.
        if (code == 0 || (!pair && typed.at(i).isSurrogate()))
            term += QChar(QChar::ReplacementCharacter);
        else
            term += typed.at(i);
        if (pair)
            term += typed.at(++i);
        ++m_characters;
    }
    endTerm();
}

QString FullTextQuery::refusal() const
{
    if (m_terms.isEmpty())
        return QStringLiteral("请在“全文搜索”框中输入要找的文字");
    if (m_characters > MaxCharacters)
        return QStringLiteral("要找的文字太长（%1个字），最多%2个字，请缩短后再试")
            .arg(m_characters)
            .arg(MaxCharacters);
    return QString();
}

QString FullTextQuery::matchExpression() const
{
    QStringList quoted;
    for (QString term : m_terms)
        quoted.append(QLatin1Char('"') + term.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                      QLatin1Char('"'));
    return quoted.join(QLatin1Char(' '));
}

QString FullTextQuery::folded(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return result;
}

bool FullTextQuery::matchesAll(const QString &text) const
{
    if (m_terms.isEmpty())
        return false;
    const QString haystack = folded(text);
    return std::all_of(m_foldedTerms.cbegin(), m_foldedTerms.cend(),
                       [&haystack](const QString &term) { return haystack.contains(term); });
}

QVector<FullTextQuery::Occurrence> FullTextQuery::occurrences(const QString &text) const
{
    QVector<Occurrence> found;
    const QString haystack = folded(text);
    for (const QString &term : m_foldedTerms) {
        for (qsizetype at = haystack.indexOf(term); at >= 0; at = haystack.indexOf(term, at + 1))
            found.append({static_cast<int>(at), static_cast<int>(term.size())});
    }
    std::sort(found.begin(), found.end(), [](const Occurrence &a, const Occurrence &b) {
        return a.start != b.start ? a.start < b.start : a.length > b.length;
    });
    return found;
}

QString FullTextQuery::context(const QString &text) const
{
    const QString haystack = folded(text);
    qsizetype first = -1;
    qsizetype length = 0;
    for (const QString &term : m_foldedTerms) {
        const qsizetype at = haystack.indexOf(term);
        if (at >= 0 && (first < 0 || at < first)) {
            first = at;
            length = term.size();
        }
    }
    if (first < 0)
        return QString();
    const int start =
        characterBoundary(text, static_cast<int>(std::max<qsizetype>(0, first - ContextBefore)), -1);
    const int end = characterBoundary(
        text, static_cast<int>(std::min<qsizetype>(text.size(), first + length + ContextAfter)), 1);
    return (start > 0 ? Cut : QString()) + text.mid(start, end - start) +
           (end < text.size() ? Cut : QString());
}
