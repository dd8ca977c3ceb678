#include "RawPostgres.h"

#include <libpq-fe.h>

#include <cstdlib>

RawPostgres::RawPostgres(const QByteArray &connectionInfo)
    : m_connection(PQconnectdb(connectionInfo.constData()), &PQfinish)
{
}

QString RawPostgres::error() const
{
    if (PQstatus(m_connection.get()) == CONNECTION_OK)
        return QString();
    return QString::fromUtf8(PQerrorMessage(m_connection.get())).trimmed();
}

int RawPostgres::select(const QByteArray &sql) const
{
    PGresult *result = PQexec(m_connection.get(), sql.constData());
    int rows = -1;
    if (PQresultStatus(result) == PGRES_TUPLES_OK) {
        rows = PQntuples(result);
        for (int row = 0; row < rows; ++row) {
            m_touched += static_cast<quint64>(std::strtoll(PQgetvalue(result, row, 0), nullptr, 10));
            const char *title = PQgetvalue(result, row, 1);
            m_touched +=
                static_cast<quint64>(PQgetlength(result, row, 1)) + static_cast<unsigned char>(title[0]);
        }
    }
    PQclear(result);
    return rows;
}

bool RawPostgres::executeEach(const QList<QByteArray> &statements) const
{
    for (const QByteArray &sql : statements) {
        PGresult *result = PQexec(m_connection.get(), sql.constData());
        const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
        PQclear(result);
        if (!ok)
            return false;
    }
    return true;
}
