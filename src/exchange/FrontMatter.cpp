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

// Characters YAML does not allow as they stand (controls, a surrogate without its partner,
// non-characters), and those its readers may take for line breaks or byte-order marks.
bool needsEscape(const QString &value, qsizetype i)
{
    const QChar ch = value.at(i);
    if (ch.isHighSurrogate())
        return i + 1 >= value.size() || !value.at(i + 1).isLowSurrogate();
    if (ch.isLowSurrogate())
        return i == 0 || !value.at(i - 1).isHighSurrogate();
    const QChar::Category category = ch.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph || ch.unicode() == 0xFEFF || ch.unicode() >= 0xFFFE;
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

void FrontMatter::appendRecord(const QString &list, const Record &record)
{
    auto found = std::find_if(m_lists.begin(), m_lists.end(),
                              [&list](const auto &entry) { return entry.first == list; });
    if (found == m_lists.end())
        found = m_lists.insert(m_lists.end(), {list, {}});
    found->second.append(record);
}

QVector<FrontMatter::Record> FrontMatter::records(const QString &list) const
{
    const auto found = std::find_if(m_lists.cbegin(), m_lists.cend(),
                                    [&list](const auto &entry) { return entry.first == list; });
    return found == m_lists.cend() ? QVector<Record>() : found->second;
}

QString FrontMatter::text() const
{
    QString block = Fence + QLatin1Char('\n');
    for (const auto &field : m_fields)
        block += field.first + QStringLiteral(": ") + quoted(field.second) + QLatin1Char('\n');
    for (const auto &list : m_lists) {
        block += list.first + QStringLiteral(":\n");
        for (const Record &record : list.second) {
            for (qsizetype i = 0; i < record.size(); ++i)
                block += (i == 0 ? QStringLiteral("  - ") : QStringLiteral("    ")) + record.at(i).first +
                         QStringLiteral(": ") + quoted(record.at(i).second) + QLatin1Char('\n');
        }
    }
    return block + Fence + QLatin1Char('\n');
}

QString FrontMatter::quoted(const QString &value)
{
    QString result(QLatin1Char('"'));
    result.reserve(value.size() + 2);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar ch = value.at(i);
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
            if (needsEscape(value, i))
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
    static const QRegularExpression listField(
        QStringLiteral("^[ \t]+(-[ \t]+)?([A-Za-z0-9_-]+)[ \t]*:(.*)$"));
    *rest = text;
    *fields = FrontMatter();
    qsizetype next = 0;
    if (lineAt(text, 0, &next) != Fence || next == text.size())
        return false;
    FrontMatter found;
    QString list; // the key whose value is the list below it
    while (next < text.size()) {
        const qsizetype start = next;
        const QString line = lineAt(text, start, &next);
        if (line == Fence || line == QLatin1String("...")) {
            *fields = found;
            *rest = text.mid(next);
            return true;
        }
        const QRegularExpressionMatch match = field.match(line);
        if (match.hasMatch()) {
            found.append(match.captured(1), unquoted(match.captured(2)));
            list = match.captured(2).trimmed().isEmpty() ? match.captured(1) : QString();
            continue;
        }
        const QRegularExpressionMatch item = listField.match(line);
        if (item.hasMatch() && !list.isEmpty()) {
            if (found.m_lists.isEmpty() || found.m_lists.last().first != list)
                found.m_lists.append({list, QVector<Record>()});
            QVector<Record> &records = found.m_lists.last().second;
            if (!item.captured(1).isEmpty() || records.isEmpty())
                records.append(Record());
            records.last().append(qMakePair(item.captured(2), unquoted(item.captured(3))));
        } else if (!isPassedOver(line)) {
            return false;
        }
    }
    return false; // never closed: a rule at the top of the text, not a front matter
}
