#include "code/CodeFence.h"

namespace CodeFence {

namespace {
// Up to three blanks may stand before a fence.
qsizetype indentOf(const QString &line)
{
    qsizetype indent = 0;
    while (indent < line.size() && indent < 4 && line.at(indent) == QLatin1Char(' '))
        ++indent;
    return indent;
}

int runOf(const QString &line, qsizetype from, QChar mark)
{
    int length = 0;
    while (from + length < line.size() && line.at(from + length) == mark)
        ++length;
    return length;
}

QString withoutCarriageReturn(const QString &line)
{
    return line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line;
}
} // namespace

Opening opening(const QString &text)
{
    const QString line = withoutCarriageReturn(text);
    const qsizetype indent = indentOf(line);
    if (indent > 3 || indent >= line.size())
        return {};
    const QChar mark = line.at(indent);
    if (mark != QLatin1Char('`') && mark != QLatin1Char('~'))
        return {};
    const int length = runOf(line, indent, mark);
    const QString info = line.mid(indent + length).trimmed();
    // A backtick fence's info string holds no backtick: such a line is inline code.
    if (length < 3 || (mark == QLatin1Char('`') && info.contains(mark)))
        return {};
    return {mark, length, info};
}

bool closes(const Opening &opening, const QString &text)
{
    const QString line = withoutCarriageReturn(text);
    const qsizetype indent = indentOf(line);
    if (!opening.isValid() || indent > 3 || indent >= line.size())
        return false;
    const int length = runOf(line, indent, opening.mark);
    return length >= opening.length && line.mid(indent + length).trimmed().isEmpty();
}

QString fenced(const QString &text, const QString &info)
{
    int longest = 0;
    for (qsizetype i = 0; i < text.size();) {
        const int run = runOf(text, i, QLatin1Char('`'));
        longest = qMax(longest, run);
        i += qMax(run, 1);
    }
    const QString fence(qMax(3, longest + 1), QLatin1Char('`'));
    return fence + info + QLatin1Char('\n') + text + QLatin1Char('\n') + fence;
}

bool unwrap(const QString &block, QString *info, QString *text)
{
    const qsizetype firstBreak = block.indexOf(QLatin1Char('\n'));
    const qsizetype lastBreak = block.lastIndexOf(QLatin1Char('\n'));
    if (firstBreak < 0)
        return false;
    const Opening open = opening(block.left(firstBreak));
    if (!open.isValid() || !closes(open, block.mid(lastBreak + 1)))
        return false;
    QString inner;
    if (lastBreak > firstBreak) {
        const qsizetype end = block.at(lastBreak - 1) == QLatin1Char('\r') && lastBreak - 1 > firstBreak
                                  ? lastBreak - 1
                                  : lastBreak;
        inner = block.mid(firstBreak + 1, end - firstBreak - 1);
    }
    // A line inside that closes the fence would end the block there: then it is not one block.
    for (qsizetype start = 0; start <= inner.size();) {
        qsizetype end = inner.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = inner.size();
        if (closes(open, inner.mid(start, end - start)))
            return false;
        start = end + 1;
    }
    *info = open.info;
    *text = inner;
    return true;
}

} // namespace CodeFence
