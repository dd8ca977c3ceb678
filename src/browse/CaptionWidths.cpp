#include "browse/CaptionWidths.h"

#include "base/ShownText.h"

CaptionWidths::CaptionWidths(const QFont &font) : m_font(font), m_metrics(font), m_basic(0x10000, -1) {}

int CaptionWidths::measure(char32_t character)
{
    if (character < 0x10000) {
        const int width = m_metrics.horizontalAdvance(QChar(static_cast<char16_t>(character)));
        m_basic[character] = static_cast<qint16>(width);
        return width;
    }
    auto known = m_others.constFind(character);
    if (known != m_others.constEnd())
        return *known;
    const int width = m_metrics.horizontalAdvance(QString::fromUcs4(&character, 1));
    m_others.insert(character, width);
    return width;
}

int CaptionWidths::width(const ListEntries &entries, int row)
{
    if (entries.captionHasTokens(row))
        return width(entries.shownCaption(row, ShownText::CaptionCharacters));
    // Straight from the bytes: no text is made for the thousands of captions not shown.
    const QByteArrayView bytes = entries.utf8(row);
    const auto *byte = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = byte + bytes.size();
    int total = 0;
    for (int characters = 0; byte < end; ++characters) {
        if (characters == ShownText::CaptionCharacters)
            return total + characterWidth(0x2026);
        const unsigned char lead = *byte;
        char32_t code = lead;
        if (lead < 0x80) {
            ++byte;
        } else if (lead < 0xE0 && end - byte >= 2) {
            code = (char32_t(lead & 0x1F) << 6) | (byte[1] & 0x3F);
            byte += 2;
        } else if (lead < 0xF0 && end - byte >= 3) {
            code = (char32_t(lead & 0x0F) << 12) | (char32_t(byte[1] & 0x3F) << 6) | (byte[2] & 0x3F);
            byte += 3;
        } else if (end - byte >= 4) {
            code = (char32_t(lead & 0x07) << 18) | (char32_t(byte[1] & 0x3F) << 12) |
                   (char32_t(byte[2] & 0x3F) << 6) | (byte[3] & 0x3F);
            byte += 4;
        } else {
            break; // a character cut short: the database holds text, so never in practice
        }
        total += characterWidth(code);
    }
    return total;
}

int CaptionWidths::width(const QString &caption)
{
    int total = 0;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar unit = caption.at(i);
        if (unit.isHighSurrogate() && i + 1 < caption.size() && caption.at(i + 1).isLowSurrogate()) {
            total += characterWidth(QChar::surrogateToUcs4(unit, caption.at(i + 1)));
            ++i;
        } else {
            total += characterWidth(unit.unicode());
        }
    }
    return total;
}
