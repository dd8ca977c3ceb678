#include "store/SchemaFile.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>

namespace SchemaFile {

bool createDatabase(const QString &databasePath, const QString &schemaPath, QString *error)
{
    if (QFile::exists(databasePath))
        return true;
    QFile schema(schemaPath);
    if (!schema.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法读取数据库结构文件%1：%2").arg(schemaPath, schema.errorString());
        return false;
    }
    QStringList kept;
    for (const QString &line : QString::fromUtf8(schema.readAll()).split(QLatin1Char('\n'))) {
        if (!line.trimmed().startsWith(QLatin1String("--")))
            kept.append(line);
    }
    const QStringList statements = kept.join(QLatin1Char('\n')).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const QString name = QUuid::createUuid().toString();
    bool created = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databasePath);
        created = db.open() && db.transaction();
        QSqlQuery query(db);
        for (const QString &statement : statements) {
            if (created && !statement.trimmed().isEmpty() && !query.exec(statement))
                created = false;
        }
        created = created && db.commit();
        if (!created)
            *error = QStringLiteral("无法建立数据库%1：%2")
                         .arg(databasePath,
                              query.lastError().isValid() ? query.lastError().text() : db.lastError().text());
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    // A half-made database would be taken for a real one at the next start.
    if (!created)
        QFile::remove(databasePath);
    return created;
}

} // namespace SchemaFile
