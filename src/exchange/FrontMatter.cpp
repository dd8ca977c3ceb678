#include "exchange/FrontMatter.h"

#include <algorithm>

#include <QRegularExpression>

namespace {
const QString Fence = QStringLiteral("---");

// The line starting at position without its end (LF or CR LF); *next is where the next begins.
QString lineAt(const QString &text, qsizetype position, qsizetype *next)
{
    qsizetype end = text.indexOf(QLatin1Char('\n'), position);
    *next = end < 0 ? text.size() : end + 1;
    if (end < 0)
        end = text.size();
    if (end > position && text.at(end - 1) == QLatin1Char('\r'))
        --end;
    return text.mid(position, end - position);
}

bool isPassedOver(const QString &line)
{
    return line.trimmed().isEmpty() || line.startsWith(QLatin1Char(' ')) ||
           line.startsWith(QLatin1Char('\t')) || line.startsWith(QLatin1Char('-')) ||
           line.startsWith(QLatin1Char('#'));
}

QString doubleQuotedBody(const QString &value)
{
    QString result;
    for (qsizetype i = 1; i < value.size(); ++i) {
        const QChar ch = value.at(i);
        if (ch == QLatin1Char('"'))
            break;
        if (ch != QLatin1Char('\\') || i + 1 >= value.size()) {
            result += ch;
            continue;
        }
        const QChar escaped = value.at(++i);
        switch (escaped.unicode()) {
        case u'n':
            result += QLatin1Char('\n');
            break;
        case u'r':
            result += QLatin1Char('\r');
            break;
        case u't':
            result += QLatin1Char('\t');
            break;
        case u'0':
            result += QChar(u'\0');
            break;
        case u'u': {
            bool ok = false;
            const ushort code = value.mid(i + 1, 4).toUShort(&ok, 16);
            if (ok && i + 4 < value.size()) {
                result += QChar(code);
                i += 4;
            } else {
                result += escaped;
            }
            break;
        }
        default:
            result += escaped; // \" \\ \/ and whatever else: the character itself
        }
    }
    return result;
}
} // namespace

QString FrontMatter::value(const QString &key) const
{
    const auto field = findField(key);
    return field == m_fields.cend() ? QString() : field->second;
}

bool FrontMatter::contains(const QString &key) const
{
    return findField(key) != m_fields.cend();
}

QVector<QPair<QString, QString>>::const_iterator FrontMatter::findField(const QString &key) const
{
    return std::find_if(m_fields.cbegin(), m_fields.cend(),
                        [&key](const auto &field) { return field.first == key; });
}

QString FrontMatter::text() const
{
    QString block = Fence + QLatin1Char('\n');
    for (const auto &field : m_fields)
        block += field.first + QStringLiteral(": ") + quoted(field.second) + QLatin1Char('\n');
    return block + Fence + QLatin1Char('\n');
}

QString FrontMatter::quoted(const QString &value)
{
    QString result(QLatin1Char('"'));
    result.reserve(value.size() + 2);
    for (const QChar ch : value) {
        switch (ch.unicode()) {
        case u'"':
            result += QStringLiteral("\\\"");
            break;
        case u'\\':
            result += QStringLiteral("\\\\");
            break;
        case u'\n':
            result += QStringLiteral("\\n");
            break;
        case u'\r':
            result += QStringLiteral("\\r");
            break;
        case u'\t':
            result += QStringLiteral("\\t");
            break;
        default:
            if (ch.category() == QChar::Other_Control)
                result += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
            else
                result += ch;
        }
    }
    return result + QLatin1Char('"');
}

QString FrontMatter::unquoted(const QString &value)
{
    const QString text = value.trimmed();
    if (text.startsWith(QLatin1Char('"')))
        return doubleQuotedBody(text);
    if (text.startsWith(QLatin1Char('\'')) && text.size() > 1) {
        qsizetype end = 1;
        QString result;
        while (end < text.size()) {
            if (text.at(end) == QLatin1Char('\'')) {
                if (end + 1 < text.size() && text.at(end + 1) == QLatin1Char('\'')) {
                    result += QLatin1Char('\'');
                    end += 2;
                    continue;
                }
                break;
            }
            result += text.at(end++);
        }
        return result;
    }
    return text;
}

bool FrontMatter::split(const QString &text, FrontMatter *fields, QString *rest)
{
    static const QRegularExpression field(QStringLiteral("^([A-Za-z0-9_-]+)[ \t]*:(.*)$"));
    *rest = text;
    *fields = FrontMatter();
    qsizetype next = 0;
    if (lineAt(text, 0, &next) != Fence || next == text.size())
        return false;
    FrontMatter found;
    while (next < text.size()) {
        const qsizetype start = next;
        const QString line = lineAt(text, start, &next);
        if (line == Fence || line == QLatin1String("...")) {
            *fields = found;
            *rest = text.mid(next);
            return true;
        }
        const QRegularExpressionMatch match = field.match(line);
        if (match.hasMatch())
            found.append(match.captured(1), unquoted(match.captured(2)));
        else if (!isPassedOver(line))
            return false;
    }
    return false; // never closed: a rule at the top of the text, not a front matter
}
