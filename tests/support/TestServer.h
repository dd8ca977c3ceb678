#pragma once

#include <QString>

// The PostgreSQL server of the tests. A test program runs against it when ZINDREL_TEST_STORE is
// "postgresql" (CTest's "_postgresql" entries): every test folder then gets a database of its own,
// created fresh and dropped after, and a Base.ini that names it. The server is the one the
// environment names the libpq way (PGHOST, PGPORT, PGUSER, PGPASSWORD; ./run-tests starts one
// with pg_virtualenv); without one, those tests are skipped and say why.
namespace TestServer {

// The tests of this run use the server as their store.
bool selected();
// Why no server can be used: empty when one can.
QString unavailable();
// A fresh, empty database; its name, or an empty one (with the reason) when none could be made.
QString createDatabase(QString *error);
void dropDatabase(const QString &name);
// A Base.ini naming the database on the server.
QByteArray baseIni(const QString &database);

} // namespace TestServer

// In initTestCase of a test program that also runs against the server, and in a test of the
// server alone.
#define SKIP_WITHOUT_TEST_SERVER()                                                                           \
    do {                                                                                                     \
        if (TestServer::selected() && !TestServer::unavailable().isEmpty())                                  \
            QSKIP(qPrintable(TestServer::unavailable()));                                                    \
    } while (false)
#define REQUIRE_TEST_SERVER()                                                                                \
    do {                                                                                                     \
        if (!TestServer::unavailable().isEmpty())                                                            \
            QSKIP(qPrintable(TestServer::unavailable()));                                                    \
    } while (false)
// In a test of what only Data.QBD and MTS.qb do (a missing or locked file, the tree file's bytes).
#define SKIP_ON_TEST_SERVER()                                                                                \
    do {                                                                                                     \
        if (TestServer::selected())                                                                          \
            QSKIP("a test of the local files");                                                              \
    } while (false)
