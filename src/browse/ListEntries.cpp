#include "browse/ListEntries.h"

#include "base/ShownText.h"
#include "store/SqlText.h"

#include <cstring>

ListEntries::ListEntries(const QVector<ListEntry> &entries)
{
    for (const ListEntry &entry : entries)
        append(entry);
}

void ListEntries::appendBytes(QByteArrayView utf8, int image, qint64 id, bool tokens)
{
    // Only a title with a "+" can hold a token: most hold none.
    const bool hasTokens =
        tokens && std::memchr(utf8.data(), '+', static_cast<size_t>(utf8.size())) != nullptr;
    m_rows.push_back({id, static_cast<qsizetype>(m_text.size()), static_cast<int>(utf8.size()),
                      static_cast<qint8>(image), hasTokens});
    m_text.append(utf8.data(), static_cast<size_t>(utf8.size()));
}

void ListEntries::appendStored(QByteArrayView utf8Title, int image, qint64 id)
{
    appendBytes(utf8Title, image, id, true);
}

void ListEntries::append(const ListEntry &entry)
{
    appendBytes(entry.caption.toUtf8(), entry.image, entry.id, false);
}

void ListEntries::append(const ListEntries &other)
{
    const auto base = static_cast<qsizetype>(m_text.size());
    m_text.append(other.m_text);
    m_rows.reserve(m_rows.size() + other.m_rows.size());
    for (Row row : other.m_rows) {
        row.offset += base;
        m_rows.push_back(row);
    }
}

QByteArrayView ListEntries::utf8(int row) const
{
    const Row &entry = m_rows[static_cast<size_t>(row)];
    return QByteArrayView(m_text.data() + entry.offset, entry.bytes);
}

QString ListEntries::caption(int row) const
{
    const QString text = QString::fromUtf8(utf8(row));
    return m_rows[static_cast<size_t>(row)].tokens ? SqlText::fromTokens(text, false) : text;
}

QString ListEntries::shownCaption(int row, int maxCharacters) const
{
    QByteArrayView bytes = utf8(row);
    // Four bytes hold any character, and a token has seven: this prefix holds what is shown.
    const qsizetype enough = qsizetype(maxCharacters) * 4 + 8;
    const bool cut = bytes.size() > enough;
    if (cut) {
        qsizetype end = enough;
        while (end > 0 && (static_cast<unsigned char>(bytes.at(end)) & 0xC0) == 0x80)
            --end; // never inside a character
        bytes = bytes.first(end);
    }
    QString text = QString::fromUtf8(bytes);
    if (m_rows[static_cast<size_t>(row)].tokens)
        text = SqlText::fromTokens(text, false);
    // Tokens shrink: text cut short may still need the mark that more follows.
    if (cut && text.size() <= maxCharacters)
        return text + QChar(0x2026);
    return ShownText::shortened(text, maxCharacters);
}

ListEntry ListEntries::at(int row) const
{
    if (row < 0 || row >= size())
        return ListEntry();
    return {caption(row), image(row), id(row)};
}

QVector<ListEntry> ListEntries::toVector() const
{
    QVector<ListEntry> entries;
    entries.reserve(size());
    for (int row = 0; row < size(); ++row)
        entries.append(at(row));
    return entries;
}

void ListEntries::clear()
{
    m_text.clear();
    m_rows.clear();
}
