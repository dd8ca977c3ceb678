#include "store/TMainData.h"

#include "base/ProgramFolder.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {
const QString MainConnection = QStringLiteral("MainConnection");
TMainData *currentModule = nullptr;
} // namespace

TMainData::TMainData(QObject *parent) : QObject(parent)
{
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), MainConnection);
    setConnectionString();
    currentModule = this;
}

TMainData::~TMainData()
{
    if (currentModule == this)
        currentModule = nullptr;
    QSqlDatabase::removeDatabase(MainConnection);
}

TMainData *TMainData::current()
{
    return currentModule;
}

void TMainData::setConnectionString()
{
    m_databasePath = ProgramFolder::filePath(QStringLiteral("Data.QBD"));
    QSqlDatabase db = QSqlDatabase::database(MainConnection, false);
    // mode=rw: a missing file is an error, never a new empty database. A brief lock held by
    // another process is waited for before an operation fails.
    db.setDatabaseName(QUrl::fromLocalFile(m_databasePath).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000"));
}

bool TMainData::run(const QString &sql, const std::function<void(QSqlQuery &query)> &onSuccess,
                    QString *error)
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

bool TMainData::execute(const QString &sql, QString *error)
{
    return run(
        sql, [](QSqlQuery &) {}, error);
}

bool TMainData::select(const QString &sql, const std::function<void(const QSqlQuery &row)> &reader,
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
