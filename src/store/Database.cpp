#include "store/Database.h"

#include "base/ProgramFolder.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {
const QString MainConnection = QStringLiteral("MainConnection");
Database *currentDatabase = nullptr;
} // namespace

Database::Database(QObject *parent) : QObject(parent)
{
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), MainConnection);
    pointAtProgramFolder();
    currentDatabase = this;
}

Database::~Database()
{
    if (currentDatabase == this)
        currentDatabase = nullptr;
    QSqlDatabase::removeDatabase(MainConnection);
}

Database *Database::current()
{
    return currentDatabase;
}

void Database::pointAtProgramFolder()
{
    m_databasePath = ProgramFolder::filePath(QStringLiteral("Data.QBD"));
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    // mode=rw: a missing file is an error, never a new empty database. A brief lock held by
    // another process is waited for before an operation fails.
    db.setDatabaseName(QUrl::fromLocalFile(m_databasePath).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000"));
}

bool Database::run(const QString &sql, const std::function<void(QSqlQuery &query)> &onSuccess, QString *error)
{
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    bool ok = false;
    if (!db.open()) {
        *error = db.lastError().text();
    } else {
        {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (query.exec(sql))
                onSuccess(query);
            // A failure while stepping through rows counts as much as one at the start.
            ok = !query.lastError().isValid();
            if (!ok)
                *error = query.lastError().text();
            query.finish();
        }
        db.close();
    }
    return ok;
}

bool Database::execute(const QString &sql, QString *error)
{
    return run(
        sql, [](QSqlQuery &) {}, error);
}

bool Database::select(const QString &sql, const std::function<void(const QSqlQuery &row)> &reader,
                      QString *error)
{
    return run(
        sql,
        [&reader](QSqlQuery &query) {
            while (query.next())
                reader(query);
        },
        error);
}
