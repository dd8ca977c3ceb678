#include "store/Statements.h"

#include "store/SqlText.h"
#include "tree/NodeRules.h"

namespace Statements {

QString list(const QString &bigClass, const QString &className, const QString &rootText, int order)
{
    QString sql = QStringLiteral("select id,title from ") + NodeRules::tableOfRoot(rootText) +
                  QStringLiteral(" where bigclassname=") + SqlText::literal(bigClass) +
                  QStringLiteral(" and classname=") + SqlText::literal(className);
    if (order == 1)
        sql += QStringLiteral(" order by title");
    else if (order == 2)
        sql += QStringLiteral(" order by createtime");
    return sql;
}

QString tableOfMaterialImage(int image)
{
    return image == 4 ? QStringLiteral("textfile") : QStringLiteral("exefile");
}

QString deleteMaterial(const QString &table, qint64 id)
{
    return QStringLiteral("delete from ") + table + QStringLiteral(" where id=") + QString::number(id);
}

QString moveMaterial(const QString &table, const QString &bigClass, const QString &className, qint64 id)
{
    return QStringLiteral("update ") + table + QStringLiteral(" set bigclassname=") +
           SqlText::literal(bigClass) + QStringLiteral(",classname=") + SqlText::literal(className) +
           QStringLiteral(" where id=") + QString::number(id);
}

} // namespace Statements
