#include "history/RestoreOutcome.h"

#include "history/RestorePlace.h"

namespace {
// Named one by one up to this many; the rest are counted.
constexpr int NamesShown = 20;

QString listed(const QStringList &names)
{
    QStringList lines = names.mid(0, NamesShown);
    if (names.size() > NamesShown)
        lines.append(QStringLiteral("……另有%1份").arg(names.size() - NamesShown));
    return lines.join(QLatin1Char('\n'));
}

QString placesAndCategories(const RestoreOutcome &outcome)
{
    QStringList parts;
    if (outcome.grownCategories > 0)
        parts.append(QStringLiteral("分类树中已不存在的%1个分类已重新建立。").arg(outcome.grownCategories));
    if (!outcome.rescued.isEmpty())
        parts.append(QStringLiteral("以下资料原来的分类不能用作分类名，已恢复到根目录下的分类“%1”里：\n")
                         .arg(RestorePlace::RescueCategory) +
                     listed(outcome.rescued));
    return parts.join(QStringLiteral("\n\n"));
}
} // namespace

QString RestoreOutcome::binReport() const
{
    QStringList parts{QStringLiteral("已恢复%1份资料。").arg(restored)};
    const QString places = placesAndCategories(*this);
    if (!places.isEmpty())
        parts.append(places);
    if (!renumbered.isEmpty())
        parts.append(QStringLiteral("以下资料原来的编号已被别的资料使用，恢复后换了新的编号：\n") +
                     listed(renumbered));
    if (gone > 0)
        parts.append(
            QStringLiteral("%1份资料已不在回收站里（可能刚在另一台电脑上被恢复或彻底删除）。").arg(gone));
    return parts.join(QStringLiteral("\n\n"));
}

QString RestoreOutcome::versionReport() const
{
    return placesAndCategories(*this);
}
