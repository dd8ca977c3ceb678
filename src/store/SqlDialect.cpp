#include "store/SqlDialect.h"

#include "store/Database.h"

SqlDialect SqlDialect::inUse()
{
    const Database *database = Database::current();
    return database ? database->dialect() : SqlDialect();
}

QString SqlDialect::countOf(const QString &select) const
{
    // PostgreSQL wants every subquery in FROM named.
    return QStringLiteral("select count(*) from (") + select +
           (m_kind == Postgres ? QStringLiteral(") as counted") : QStringLiteral(")"));
}

QString SqlDialect::like(const QString &column, const QString &patternLiteral) const
{
    // Under the "C" collation of the columns ILIKE folds ASCII letters alone, as SQLite's LIKE.
    if (m_kind == Postgres)
        return column + QStringLiteral(" ilike ") + patternLiteral + QStringLiteral(" escape ''");
    return column + QStringLiteral(" like ") + patternLiteral;
}

QString SqlDialect::listOrder(int order) const
{
    const bool postgres = m_kind == Postgres;
    if (order == 1)
        return postgres ? QStringLiteral(" order by title,id") : QStringLiteral(" order by title");
    if (order == 2)
        return postgres ? QStringLiteral(" order by createtime,title,id")
                        : QStringLiteral(" order by createtime");
    return QStringLiteral(" order by id"); // table order, whatever index the planner picks
}

QString SqlDialect::searchOrder(bool tableOrder) const
{
    if (m_kind != Postgres)
        return QString();
    return tableOrder ? QStringLiteral(" order by id")
                      : QStringLiteral(" order by bigclassname,classname,createtime,title,id");
}
