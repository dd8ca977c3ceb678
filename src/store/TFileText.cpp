#include "store/TFileText.h"

#include "base/AnsiText.h"
#include "store/SqlText.h"

#include <QSqlQuery>
#include <QVariant>

using SqlText::literal;

QString TFileText::insertStatement() const
{
    return QStringLiteral(
               "insert into textfile(title,classname,bigclassname,writer,createtime,main) values(") +
           commonValues() + QLatin1Char(',') + literal(AnsiText::joinLines(main)) + QLatin1Char(')');
}

QString TFileText::loadStatement(qint64 id) const
{
    return QStringLiteral("select * from textfile where id=") + QString::number(id);
}

QString TFileText::updateStatement(qint64 id) const
{
    return QStringLiteral("update textfile set ") + commonAssignments() + QStringLiteral(",main=") +
           literal(AnsiText::joinLines(main)) + QStringLiteral(" where id=") + QString::number(id);
}

void TFileText::readRow(const QSqlQuery &row)
{
    readCommonColumns(row);
    main = AnsiText::splitLines(UnquoteFromSql(row.value(6).toString(), true));
}
