#include "history/LineDiff.h"

#include <QHash>

#include <dtl/dtl.hpp>

#include <vector>

LineDiff::LineDiff(const QStringList &before, const QStringList &after)
{
    // The lines that both texts begin and end with take no part: most versions differ in a few
    // lines, and the script's cost grows with the lines it is given times the differences.
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before.at(head) == after.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
        ++tail;
    // Each distinct line becomes a number, so that comparing two lines costs one comparison.
    QHash<QString, int> numbers;
    auto numbered = [&numbers](const QStringList &lines, qsizetype from, qsizetype to) {
        std::vector<int> sequence;
        sequence.reserve(static_cast<size_t>(to - from));
        for (qsizetype line = from; line < to; ++line) {
            auto number = numbers.constFind(lines.at(line));
            if (number == numbers.constEnd())
                number = numbers.insert(lines.at(line), static_cast<int>(numbers.size()));
            sequence.push_back(number.value());
        }
        return sequence;
    };
    const std::vector<int> a = numbered(before, head, before.size() - tail);
    const std::vector<int> b = numbered(after, head, after.size() - tail);
    dtl::Diff<int> diff(a, b);
    diff.compose();
    for (const auto &[line, info] : diff.getSes().getSequence()) {
        if (info.type == dtl::SES_DELETE)
            m_removed.append(static_cast<int>(head + info.beforeIdx - 1));
        else if (info.type == dtl::SES_ADD)
            m_added.append(static_cast<int>(head + info.afterIdx - 1));
    }
}
