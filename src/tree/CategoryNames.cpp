#include "tree/CategoryNames.h"

namespace CategoryNames {

QString refusal(const QString &name, const QStringList &siblingNames)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("分类名不能为空，也不能只有空格。");
    if (name.startsWith(QLatin1Char('+')))
        return QStringLiteral("分类名不能以“+”开头。");
    if (name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r')))
        return QStringLiteral("分类名不能包含换行。");
    if (siblingNames.contains(name))
        return QStringLiteral("这一层已经有名为“%1”的分类了，请换一个名字。").arg(name);
    return QString();
}

} // namespace CategoryNames
