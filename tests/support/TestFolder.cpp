#include "TestFolder.h"

#include "ServerBase.h"
#include "TestServer.h"

#include "base/AnsiText.h"
#include "base/ProgramFolder.h"
#include "store/BaseSettings.h"
#include "store/SchemaFile.h"
#include "store/ServerConnection.h"
#include "tree/ServerTree.h"
#include "tree/TreeFile.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <functional>

namespace {
// Runs fn on a connection of its own to the database file, closed afterwards; on the server's
// connection when there is one.
bool withDatabase(const QString &path, const QString &serverConnection,
                  const std::function<bool(QSqlDatabase &)> &fn)
{
    if (!serverConnection.isEmpty()) {
        QSqlDatabase db = QSqlDatabase::database(serverConnection);
        return fn(db);
    }
    const QString name = QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            ok = fn(db);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}
} // namespace

TestFolder::TestFolder(Contents contents)
{
    for (const char *name : {"MTS.qb", "QB.ini"})
        QFile::copy(installedFile(QString::fromLatin1(name)), filePath(QString::fromLatin1(name)));
    if (contents == WithDatabase)
        createDatabase(filePath(QStringLiteral("Data.QBD")));
    ProgramFolder::setPathForTesting(path());
    if (TestServer::selected() && TestServer::unavailable().isEmpty())
        prepareServer();
}

void TestFolder::prepareServer()
{
    QString error;
    m_serverDatabase = TestServer::createDatabase(&error);
    if (m_serverDatabase.isEmpty())
        qFatal("cannot create a test database: %s", qPrintable(error));
    writeBytes(QStringLiteral("Base.ini"), TestServer::baseIni(m_serverDatabase));
    m_serverConnection = QUuid::createUuid().toString();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_serverConnection);
    // The program's own code creates the tables, as at a first start.
    if (!ServerConnection::open(db, BaseSettings::read(filePath(QStringLiteral("Base.ini"))), &error))
        qFatal("cannot prepare the test database: %s", qPrintable(error));
    // Changes made here come from "another program" that announces nothing (superusers only).
    QSqlQuery(db).exec(QStringLiteral("SET session_replication_role = replica"));
    writeLines(QStringLiteral("MTS.qb"),
               AnsiText::splitLines(AnsiText::decode(readBytes(QStringLiteral("MTS.qb")))));
}

bool TestFolder::createDatabase(const QString &path)
{
    QString error;
    return SchemaFile::createDatabase(path, installedFile(QStringLiteral("schema.sql")), &error);
}

bool TestFolder::exec(const QString &sql) const
{
    return withDatabase(filePath(QStringLiteral("Data.QBD")), m_serverConnection, [&sql](QSqlDatabase &db) {
        QSqlQuery query(db);
        return query.exec(sql);
    });
}

bool TestFolder::execSeenByTriggers(const QString &sql) const
{
    if (!onServer())
        return exec(sql);
    return exec(QStringLiteral("SET session_replication_role = origin")) && exec(sql) &&
           exec(QStringLiteral("SET session_replication_role = replica"));
}

QList<QVariantList> TestFolder::rows(const QString &sql) const
{
    QList<QVariantList> result;
    withDatabase(filePath(QStringLiteral("Data.QBD")), m_serverConnection, [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        if (!query.exec(sql))
            return false;
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row.append(query.value(i));
            result.append(row);
        }
        return true;
    });
    return result;
}

QVariant TestFolder::value(const QString &sql) const
{
    return rows(sql).value(0).value(0);
}

TestFolder::~TestFolder()
{
    ProgramFolder::setPathForTesting(QString());
    if (!onServer())
        return;
    QSqlDatabase::database(m_serverConnection, false).close();
    QSqlDatabase::removeDatabase(m_serverConnection);
    TestServer::dropDatabase(m_serverDatabase);
}

QString TestFolder::filePath(const QString &name) const
{
    return QDir(path()).filePath(name);
}

QString TestFolder::installedFile(const QString &name)
{
    return QDir(QStringLiteral(ZINDREL_INSTALL_DIR)).filePath(name);
}

QByteArray TestFolder::readBytes(const QString &name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestFolder::writeBytes(const QString &name, const QByteArray &bytes) const
{
    QFile file(filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

void TestFolder::writeLines(const QString &name, const QStringList &lines) const
{
    writeBytes(name, AnsiText::encode(AnsiText::joinLines(lines)));
    if (onServer() && name == QLatin1String("MTS.qb")) {
        for (const QString &sql : ServerTree::rowStatements(TreeFile::parse(lines)))
            exec(sql);
    }
}

QByteArray TestFolder::treeBytes() const
{
    if (!onServer())
        return readBytes(QStringLiteral("MTS.qb"));
    return AnsiText::encode(
        AnsiText::joinLines(TreeFile::format(ServerBase::treeOf(rows(ServerTree::loadStatement())))));
}

void TestFolder::remove(const QString &name) const
{
    QFile::remove(filePath(name));
}
