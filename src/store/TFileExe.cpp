#include "store/TFileExe.h"

#include "base/AnsiText.h"
#include "store/SqlText.h"

#include <QSqlQuery>
#include <QVariant>

using SqlText::literal;

QString TFileExe::insertStatement() const
{
    return QStringLiteral(
               "insert into exefile(title,classname,bigclassname,writer,createtime,about,fpath) values(") +
           commonValues() + QLatin1Char(',') + literal(AnsiText::joinLines(about)) + QLatin1Char(',') +
           literal(fpath) + QLatin1Char(')');
}

QString TFileExe::loadStatement(qint64 id) const
{
    return QStringLiteral("select * from exefile where id=") + QString::number(id);
}

QString TFileExe::updateStatement(qint64 id) const
{
    return QStringLiteral("update exefile set ") + commonAssignments() + QStringLiteral(",about=") +
           literal(AnsiText::joinLines(about)) + QStringLiteral(",fpath=") + literal(fpath) +
           QStringLiteral(" where id=") + QString::number(id);
}

void TFileExe::readRow(const QSqlQuery &row)
{
    readCommonColumns(row);
    about = AnsiText::splitLines(UnquoteFromSql(row.value(6).toString(), true));
    fpath = row.value(7).toString();
}
