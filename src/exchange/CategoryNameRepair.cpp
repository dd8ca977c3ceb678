#include "exchange/CategoryNameRepair.h"

#include "tree/CategoryNames.h"

namespace CategoryNameRepair {

QString repair(const QString &name, QString *reason)
{
    reason->clear();
    // Siblings of the same name are no reason here: the import files into the existing one.
    *reason = CategoryNames::refusal(name, {});
    if (reason->isEmpty())
        return name;
    QString repaired = name;
    for (QChar &ch : repaired) {
        if (ch.category() == QChar::Other_Control)
            ch = QLatin1Char(' ');
    }
    while (repaired.startsWith(QLatin1Char('+')))
        repaired.remove(0, 1);
    if (repaired.trimmed().isEmpty())
        repaired = QStringLiteral("未命名分类");
    if (CategoryNames::refusal(repaired, {}).isEmpty())
        return repaired;
    for (int number = 2; number < 100; ++number) {
        const QString numbered = repaired + QStringLiteral("（%1）").arg(number);
        if (CategoryNames::refusal(numbered, {}).isEmpty())
            return numbered;
    }
    return QStringLiteral("未命名分类");
}

} // namespace CategoryNameRepair
