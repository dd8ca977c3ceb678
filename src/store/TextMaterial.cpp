#include "store/TextMaterial.h"

#include "base/AnsiText.h"
#include "store/SqlText.h"

#include <QSqlQuery>
#include <QVariant>

using SqlText::literal;

QString TextMaterial::insertStatement() const
{
    return QStringLiteral(
               "insert into textfile(title,classname,bigclassname,writer,createtime,main) values(") +
           commonValues() + QLatin1Char(',') + literal(AnsiText::joinLines(body)) + QLatin1Char(')');
}

QString TextMaterial::loadStatement(qint64 id) const
{
    return QStringLiteral("select * from textfile where id=") + QString::number(id);
}

QString TextMaterial::updateStatement(qint64 id) const
{
    return QStringLiteral("update textfile set ") + commonAssignments() + QStringLiteral(",main=") +
           literal(AnsiText::joinLines(body)) + QStringLiteral(" where id=") + QString::number(id);
}

void TextMaterial::readRow(const QSqlQuery &row)
{
    readCommonColumns(row);
    m_typedBody = SqlText::fromTokens(row.value(6).toString(), true);
    body = AnsiText::splitLines(m_typedBody);
    // Stored, every line ends with a break, the last one too.
    if (m_typedBody.endsWith(QLatin1String("\r\n")))
        m_typedBody.chop(2);
    else if (m_typedBody.endsWith(QLatin1Char('\n')) || m_typedBody.endsWith(QLatin1Char('\r')))
        m_typedBody.chop(1);
}
