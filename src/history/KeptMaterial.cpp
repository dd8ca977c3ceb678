#include "history/KeptMaterial.h"

#include "base/AnsiText.h"
#include "history/HistorySchema.h"
#include "store/SqlText.h"

#include <QSqlQuery>
#include <QVariant>

QStringList KeptMaterial::comparedLines() const
{
    const QStringList lines = AnsiText::splitLines(text);
    if (!instance)
        return lines;
    return QStringList{QStringLiteral("实例路径：") + path, QString()} + lines;
}

QString KeptMaterial::selectList(const HistorySchema::Kind &kind, bool materialTable)
{
    // A kept row may hold NULL where the material tables never do.
    QStringList columns;
    for (const QString &column : kind.columns)
        columns.append(QStringLiteral("coalesce(") + column + QStringLiteral(",'')"));
    return (materialTable ? QStringLiteral("0,id,''") : QStringLiteral("seq,id,kepttime")) +
           QLatin1Char(',') + columns.join(QLatin1Char(','));
}

KeptMaterial KeptMaterial::read(const QSqlQuery &row, const HistorySchema::Kind &kind)
{
    KeptMaterial material;
    material.instance = kind.instances;
    material.seq = row.value(0).toLongLong();
    material.id = row.value(1).toLongLong();
    material.keptTime = row.value(2).toString();
    material.title = SqlText::fromTokens(row.value(3).toString(), false);
    material.subcategory = row.value(4).toString();
    material.category = row.value(5).toString();
    material.author = row.value(6).toString();
    material.createTime = row.value(7).toString();
    material.text = SqlText::fromTokens(row.value(8).toString(), true);
    if (kind.instances)
        material.path = row.value(9).toString();
    return material;
}
