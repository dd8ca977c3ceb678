#include "ServerBase.h"

#include "QueryLines.h"
#include "TestServer.h"

#include "store/ServerConnection.h"
#include "tree/ServerTree.h"
#include "tree/TreeFile.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

ServerBase::ServerBase()
{
    QString error;
    m_database = TestServer::createDatabase(&error);
    if (m_database.isEmpty())
        qFatal("cannot create a test database: %s", qPrintable(error));
    // The settings come from Base.ini text as a program folder would hold it.
    QFile ini(m_iniDir.filePath(QStringLiteral("Base.ini")));
    if (!ini.open(QIODevice::WriteOnly) || ini.write(TestServer::baseIni(m_database)) < 0)
        qFatal("cannot write Base.ini");
    ini.close();
    const BaseSettings server = settings();
    m_plainConnection = QUuid::createUuid().toString();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_plainConnection);
    db.setHostName(server.host());
    db.setPort(server.port());
    db.setDatabaseName(server.database());
    db.setUserName(server.user());
    if (!db.open())
        qFatal("cannot reach the test database: %s", qPrintable(db.lastError().text()));
}

ServerBase::~ServerBase()
{
    m_connections.append(m_plainConnection);
    for (const QString &name : std::as_const(m_connections)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    TestServer::dropDatabase(m_database);
}

BaseSettings ServerBase::settings() const
{
    return BaseSettings::read(m_iniDir.filePath(QStringLiteral("Base.ini")));
}

bool ServerBase::open(QString *error)
{
    const QString name = QUuid::createUuid().toString();
    m_connections.append(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    return ServerConnection::open(db, settings(), error);
}

bool ServerBase::exec(const QString &sql) const
{
    QSqlQuery query(QSqlDatabase::database(m_plainConnection));
    return query.exec(sql);
}

QList<QVariantList> ServerBase::rows(const QString &sql) const
{
    QList<QVariantList> result;
    QSqlQuery query(QSqlDatabase::database(m_plainConnection));
    if (!query.exec(sql))
        qWarning("%s", qPrintable(query.lastError().text()));
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i)
            row.append(query.value(i));
        result.append(row);
    }
    return result;
}

QVariant ServerBase::value(const QString &sql) const
{
    return rows(sql).value(0).value(0);
}

QStringList ServerBase::lines(const QString &sql) const
{
    QSqlQuery query(QSqlDatabase::database(m_plainConnection));
    if (!query.exec(sql))
        qWarning("%s", qPrintable(query.lastError().text()));
    return queryLines(query);
}

QStringList ServerBase::contents() const
{
    QStringList contents;
    for (const char *sql :
         {"SELECT * FROM textfile ORDER BY id", "SELECT * FROM exefile ORDER BY id",
          "SELECT * FROM category ORDER BY id", "SELECT * FROM zindrel_state ORDER BY name"})
        contents += lines(QLatin1String(sql));
    return contents;
}

QStringList ServerBase::relations() const
{
    QStringList names;
    for (const QVariantList &row :
         rows(QStringLiteral("SELECT relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                             "WHERE n.nspname = 'public' ORDER BY relname")))
        names.append(row.value(0).toString());
    return names;
}

QStringList ServerBase::treeLines() const
{
    return TreeFile::format(treeOf(rows(ServerTree::loadStatement())));
}

QVector<TreeNode> ServerBase::treeOf(const QList<QVariantList> &loadedRows)
{
    QVector<ServerTree::Row> tree;
    for (const QVariantList &row : loadedRows) {
        if (!row.at(1).isNull())
            tree.append({row.at(1).toInt(), row.at(2).isNull() ? ServerTree::NoParent : row.at(2).toInt(),
                         row.at(3).toInt(), row.at(4).toString()});
    }
    return ServerTree::assemble(tree);
}
