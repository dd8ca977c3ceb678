#include "store/SqlText.h"

namespace {
const QString ApostropheToken = QStringLiteral("+(DYH)+");
const QString ColonToken = QStringLiteral("+(MH)+");
} // namespace

namespace SqlText {

QString toTokens(const QString &text, bool isLong)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), ApostropheToken);
    if (isLong)
        quoted.replace(QLatin1Char(':'), ColonToken);
    return quoted;
}

QString fromTokens(const QString &text, bool isLong)
{
    // Both tokens begin with "+": most texts hold none, and a list reads tens of thousands.
    if (!text.contains(QLatin1Char('+')))
        return text;
    QString unquoted = text;
    unquoted.replace(ApostropheToken, QStringLiteral("'"));
    if (isLong)
        unquoted.replace(ColonToken, QStringLiteral(":"));
    return unquoted;
}

QString fromTokensExpression(const QString &column, bool isLong)
{
    // replace() works left to right without overlaps, as QString::replace does; the apostrophe
    // token goes first, as above.
    QString expression = QStringLiteral("replace(") + column + QLatin1Char(',') + literal(ApostropheToken) +
                         QStringLiteral(",'''')");
    if (isLong)
        expression = QStringLiteral("replace(") + expression + QLatin1Char(',') + literal(ColonToken) +
                     QStringLiteral(",':')");
    return expression;
}

QString literal(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace SqlText
