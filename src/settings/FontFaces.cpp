#include "settings/FontFaces.h"

#include <QFontDatabase>
#include <QStringList>

namespace FontFaces {

QString shown(const QString &face)
{
    if (QFontDatabase::hasFamily(face))
        return face;
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    return chinese.isEmpty() ? face : chinese.first();
}

int clampedSize(int size)
{
    return qBound(MinimumSize, size, MaximumSize);
}

} // namespace FontFaces
