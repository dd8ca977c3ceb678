#include "LocalBase.h"

#include "QueryLines.h"
#include "TestFolder.h"

#include "base/AnsiText.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

LocalBase::LocalBase(const QStringList &treeLines)
{
    if (!TestFolder::createDatabase(databasePath()) || !AnsiText::writeLineFile(treePath(), treeLines))
        qFatal("cannot prepare a local base");
}

QStringList LocalBase::lines(const QString &sql) const
{
    const QString name = QUuid::createUuid().toString();
    QStringList result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databasePath());
        QSqlQuery query(db);
        if (!db.open() || !query.exec(sql))
            qFatal("cannot run a statement on the local base");
        result = queryLines(query);
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

QMap<QString, QByteArray> LocalBase::files() const
{
    QMap<QString, QByteArray> files;
    const QDir dir(m_dir.path());
    for (const QString &name : dir.entryList(QDir::Files)) {
        QFile file(dir.filePath(name));
        files.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return files;
}
