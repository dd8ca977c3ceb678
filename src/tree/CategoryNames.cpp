#include "tree/CategoryNames.h"

#include "tree/NodeRules.h"

#include <algorithm>

namespace CategoryNames {

QString refusal(const QString &name, const QStringList &siblingNames)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("分类名不能为空，也不能只有空格。");
    if (name.startsWith(QLatin1Char('+')))
        return QStringLiteral("分类名不能以“+”开头。");
    if (name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r')))
        return QStringLiteral("分类名不能包含换行。");
    // A control character (NUL above all) cannot be written into a statement or the tree file.
    if (std::any_of(name.begin(), name.end(), [](QChar ch) { return ch.category() == QChar::Other_Control; }))
        return QStringLiteral("分类名不能包含控制字符。");
    // A category named like a root would be taken for it: its kind and its materials get lost.
    if (name == NodeRules::TextRootText || name == NodeRules::InstanceRootText ||
        name == NodeRules::SearchResultText)
        return QStringLiteral("“%1”是根目录的名字，不能用作分类名。").arg(name);
    if (siblingNames.contains(name))
        return QStringLiteral("这一层已经有名为“%1”的分类了，请换一个名字。").arg(name);
    return QString();
}

} // namespace CategoryNames
