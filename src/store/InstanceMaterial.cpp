#include "store/InstanceMaterial.h"

#include "base/AnsiText.h"
#include "store/SqlText.h"

#include <QSqlQuery>
#include <QVariant>

using SqlText::literal;

QString InstanceMaterial::insertStatement() const
{
    return QStringLiteral(
               "insert into exefile(title,classname,bigclassname,writer,createtime,about,fpath) values(") +
           commonValues() + QLatin1Char(',') + literal(AnsiText::joinLines(description)) + QLatin1Char(',') +
           literal(path) + QLatin1Char(')');
}

QString InstanceMaterial::loadStatement(qint64 id) const
{
    return QStringLiteral("select * from exefile where id=") + QString::number(id);
}

QString InstanceMaterial::updateStatement(qint64 id) const
{
    return QStringLiteral("update exefile set ") + commonAssignments() + QStringLiteral(",about=") +
           literal(AnsiText::joinLines(description)) + QStringLiteral(",fpath=") + literal(path) +
           QStringLiteral(" where id=") + QString::number(id);
}

void InstanceMaterial::readRow(const QSqlQuery &row)
{
    readCommonColumns(row);
    description = AnsiText::splitLines(SqlText::fromTokens(row.value(6).toString(), true));
    path = row.value(7).toString();
}
