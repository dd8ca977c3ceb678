#pragma once

#include "store/BaseSettings.h"

#include <QByteArray>
#include <QString>

// The PostgreSQL server that the environment names the libpq way (PGHOST, PGPORT, PGUSER,
// PGPASSWORD, PGDATABASE, as pg_virtualenv sets them) and a database of this run's own on it:
// created empty, dropped when this object goes.
class BenchServer
{
public:
    BenchServer() = default;
    ~BenchServer();
    BenchServer(const BenchServer &) = delete;
    BenchServer &operator=(const BenchServer &) = delete;

    // Why no server can be used; empty when one answers.
    static QString unavailable();

    // False, with the reason, when the database could not be created.
    bool createDatabase(QString *error);
    const QString &database() const { return m_database; }
    // The database as Base.ini names it, for the program's connections.
    BaseSettings settings() const;
    QByteArray baseIni() const;
    // The database for libpq; the rest comes from the environment.
    QByteArray connectionInfo() const;

private:
    QString m_database;
};
