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
           literal(title) + QLatin1Char(',') + literal(classname) + QLatin1Char(',') + literal(bigclassname) +
           QLatin1Char(',') + literal(writer) + QLatin1Char(',') + literal(createtime) + QLatin1Char(',') +
           literal(AnsiText::joinLines(main)) + QLatin1Char(')');
}

QString TFileText::loadStatement(qint64 id) const
{
    return QStringLiteral("select * from textfile where id=") + QString::number(id);
}

QString TFileText::updateStatement(qint64 id) const
{
    return QStringLiteral("update textfile set title=") + literal(title) + QStringLiteral(",classname=") +
           literal(classname) + QStringLiteral(",bigclassname=") + literal(bigclassname) +
           QStringLiteral(",writer=") + literal(writer) + QStringLiteral(",createtime=") +
           literal(createtime) + QStringLiteral(",main=") + literal(AnsiText::joinLines(main)) +
           QStringLiteral(" where id=") + QString::number(id);
}

void TFileText::readRow(const QSqlQuery &row)
{
    readCommonColumns(row);
    main = AnsiText::splitLines(UnquoteFromSql(row.value(6).toString(), true));
    createtime = row.value(5).toString();
}
