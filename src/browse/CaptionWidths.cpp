#include "browse/CaptionWidths.h"

CaptionWidths::CaptionWidths(const QFont &font) : m_metrics(font)
{
    for (int i = 0; i < 128; ++i)
        m_ascii[static_cast<size_t>(i)] = m_metrics.horizontalAdvance(QChar(i));
}

int CaptionWidths::characterWidth(char32_t character)
{
    if (character < 128)
        return m_ascii[character];
    auto known = m_others.constFind(character);
    if (known != m_others.constEnd())
        return *known;
    const int width = m_metrics.horizontalAdvance(QString::fromUcs4(&character, 1));
    m_others.insert(character, width);
    return width;
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
