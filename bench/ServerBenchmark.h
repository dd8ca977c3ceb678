#pragma once

#include "StoreComparison.h"

#include <QString>

class BenchFolder;
class BenchServer;

// The figures of a shared base on PostgreSQL.
struct ServerFigures
{
    StoreFigures store;       // list, search and inserts on the server, against libpq
    double uploadSeconds = 0; // the generated base moved into an empty database by BaseUpload (one run)
    int uploaded = 0;
    double notify = 0; // another copy's insert until this copy's list shows it, in milliseconds
    QString skipped;   // why they were not taken, when they were not
};

// Measures the program on a shared base: a database of the run's own on the server that the
// environment names, filled from the generated folder by the program's own upload, then a main
// window on it as the program starts one when Base.ini names the server.
class ServerBenchmark
{
public:
    explicit ServerBenchmark(const BenchFolder &folder);

    // The database is dropped afterwards, whatever happened.
    bool run(ServerFigures *figures, QString *error);

private:
    bool upload(const BenchServer &server, ServerFigures *figures, QString *error);
    // A program folder whose Base.ini names the server, with the generated folder's settings.
    bool writeFolder(const QString &path, const BenchServer &server, QString *error);
    bool measureWindow(const BenchServer &server, ServerFigures *figures, QString *error);

    const BenchFolder &m_folder;
};
