#pragma once

#include <QSqlResult>
#include <QVariant>
#include <QVector>

// The rows of a statement that ran elsewhere (in the shared base's thread), read through a
// QSqlQuery as if it had run here: readers walk them row by row and read columns by position.
class CachedResult : public QSqlResult
{
public:
    CachedResult(int columns, QVector<QVariant> values, int rowsAffected);

protected:
    QVariant data(int column) override;
    bool isNull(int column) override;
    bool reset(const QString &sql) override;
    bool fetch(int row) override;
    bool fetchFirst() override;
    bool fetchLast() override;
    int size() override;
    int numRowsAffected() override;

private:
    int m_columns;
    int m_rows;
    QVector<QVariant> m_values;
    int m_rowsAffected;
};
