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

QString literal(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace SqlText
