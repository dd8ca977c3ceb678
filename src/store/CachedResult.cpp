#include "store/CachedResult.h"

CachedResult::CachedResult(int columns, QVector<QVariant> values, int rowsAffected)
    : QSqlResult(nullptr), m_columns(columns),
      m_rows(columns > 0 ? static_cast<int>(values.size() / columns) : 0), m_values(std::move(values)),
      m_rowsAffected(rowsAffected)
{
    setSelect(columns > 0);
    setActive(true);
    setAt(QSql::BeforeFirstRow);
}

QVariant CachedResult::data(int column)
{
    if (column < 0 || column >= m_columns || at() < 0 || at() >= m_rows)
        return QVariant();
    return m_values.at(static_cast<qsizetype>(at()) * m_columns + column);
}

bool CachedResult::isNull(int column)
{
    return data(column).isNull();
}

bool CachedResult::reset(const QString &)
{
    return false; // runs nothing: its rows are all it has
}

bool CachedResult::fetch(int row)
{
    if (row < 0 || row >= m_rows)
        return false;
    setAt(row);
    return true;
}

bool CachedResult::fetchFirst()
{
    return fetch(0);
}

bool CachedResult::fetchLast()
{
    return fetch(m_rows - 1);
}

int CachedResult::size()
{
    return m_rows;
}

int CachedResult::numRowsAffected()
{
    return m_rowsAffected;
}
