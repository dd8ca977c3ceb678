#include "store/Statements.h"

#include "store/RootKinds.h"
#include "store/SqlDialect.h"
#include "store/SqlText.h"

namespace Statements {

QString list(const QString &category, const QString &subcategory, const QString &rootText, int order)
{
    QString sql = QStringLiteral("select id,title from ") + RootKinds::tableOfRoot(rootText) +
                  QStringLiteral(" where bigclassname=") + SqlText::literal(category) +
                  QStringLiteral(" and classname=") + SqlText::literal(subcategory);
    return sql + SqlDialect::inUse().listOrder(order);
}

QString tableOfMaterialImage(int image)
{
    return image == 4 ? QStringLiteral("textfile") : QStringLiteral("exefile");
}

QString deleteMaterial(const QString &table, qint64 id)
{
    return QStringLiteral("delete from ") + table + QStringLiteral(" where id=") + QString::number(id);
}

QString moveMaterial(const QString &table, const QString &category, const QString &subcategory, qint64 id)
{
    return QStringLiteral("update ") + table + QStringLiteral(" set bigclassname=") +
           SqlText::literal(category) + QStringLiteral(",classname=") + SqlText::literal(subcategory) +
           QStringLiteral(" where id=") + QString::number(id);
}

} // namespace Statements
