#include "exchange/UniqueNames.h"

#include "exchange/SafeName.h"

QString UniqueNames::key(const QString &name)
{
    return name.normalized(QString::NormalizationForm_C).toCaseFolded();
}

QString UniqueNames::claim(const QString &safeName, const QString &extension)
{
    QString name = safeName + extension;
    for (int number = 2; m_taken.contains(key(name)); ++number) {
        const QString suffix = QStringLiteral(" (%1)").arg(number);
        name = SafeName::cut(safeName, SafeName::MaxBytes - static_cast<int>(suffix.size())) + suffix +
               extension;
    }
    m_taken.insert(key(name));
    return name;
}
