#include "base/ShownText.h"

namespace ShownText {

QString shortened(const QString &text, int maxCharacters)
{
    if (text.size() <= maxCharacters)
        return text;
    qsizetype cut = maxCharacters;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

} // namespace ShownText
