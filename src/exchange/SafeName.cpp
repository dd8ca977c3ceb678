#include "exchange/SafeName.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>

namespace SafeName {

namespace {
const QString Unnamed = QStringLiteral("未命名");

// The characters that common file systems refuse become their full-width forms, which look alike.
QChar replacement(QChar ch)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    constexpr char16_t FullWidthOffset = 0xFEE0;
    if (forbidden.contains(ch))
        return QChar(char16_t(ch.unicode() + FullWidthOffset));
    return ch.category() == QChar::Other_Control ? QChar(u'_') : ch;
}

// Blanks at both ends and dots at the end, until neither is left.
QString trimmed(const QString &name)
{
    qsizetype end = name.size();
    while (end > 0 && (name.at(end - 1).isSpace() || name.at(end - 1) == QLatin1Char('.')))
        --end;
    qsizetype start = 0;
    while (start < end && name.at(start).isSpace())
        ++start;
    return name.mid(start, end - start);
}

bool isReservedOnWindows(const QString &name)
{
    // Windows also counts the superscript digits as device numbers.
    static const QRegularExpression reserved(QStringLiteral("^(CON|PRN|AUX|NUL|(COM|LPT)[0-9¹²³])$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return reserved.match(dot < 0 ? name : name.left(dot)).hasMatch();
}
} // namespace

QString cut(const QString &text, int maxBytes)
{
    if (text.toUtf8().size() <= maxBytes)
        return text;
    QTextBoundaryFinder boundaries(QTextBoundaryFinder::Grapheme, text);
    qsizetype kept = 0;
    int bytes = 0;
    for (qsizetype next = boundaries.toNextBoundary(); next > 0; next = boundaries.toNextBoundary()) {
        bytes += static_cast<int>(text.mid(kept, next - kept).toUtf8().size());
        if (bytes > maxBytes)
            break;
        kept = next;
    }
    return text.left(kept);
}

QString make(const QString &name, int maxBytes)
{
    QString safe = name;
    for (QChar &ch : safe)
        ch = replacement(ch);
    safe = trimmed(cut(trimmed(safe), maxBytes));
    if (safe.startsWith(QLatin1Char('.')))
        safe[0] = QLatin1Char('_');
    if (safe.isEmpty())
        return Unnamed;
    if (isReservedOnWindows(safe)) {
        const qsizetype dot = safe.indexOf(QLatin1Char('.'));
        safe.insert(dot < 0 ? safe.size() : dot, QLatin1Char('_'));
    }
    return safe;
}

} // namespace SafeName
