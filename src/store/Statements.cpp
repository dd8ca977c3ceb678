#include "store/Statements.h"

#include "store/SqlText.h"
#include "tree/NodeRules.h"

namespace Statements {

QString list(const QString &category, const QString &subcategory, const QString &rootText, int order)
{
    QString sql = QStringLiteral("select id,title from ") + NodeRules::tableOfRoot(rootText) +
                  QStringLiteral(" where bigclassname=") + SqlText::literal(category) +
                  QStringLiteral(" and classname=") + SqlText::literal(subcategory);
    if (order == 1)
        sql += QStringLiteral(" order by title");
    else if (order == 2)
        sql += QStringLiteral(" order by createtime");
    else
        sql += QStringLiteral(" order by id"); // table order, whatever index the planner picks
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

QString moveMaterial(const QString &table, const QString &category, const QString &subcategory, qint64 id)
{
    return QStringLiteral("update ") + table + QStringLiteral(" set bigclassname=") +
           SqlText::literal(category) + QStringLiteral(",classname=") + SqlText::literal(subcategory) +
           QStringLiteral(" where id=") + QString::number(id);
}

} // namespace Statements
