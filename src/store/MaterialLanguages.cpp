#include "store/MaterialLanguages.h"

#include "store/Database.h"
#include "store/SqlDialect.h"
#include "store/SqlText.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace MaterialLanguages {

namespace {
QString upsert(const QString &id, const QString &language)
{
    // The same text on SQLite 3.24 and later and on PostgreSQL.
    return QStringLiteral("insert into textfile_language(id,language) values(") + id + QLatin1Char(',') +
           SqlText::literal(language) +
           QStringLiteral(") on conflict(id) do update set language=excluded.language");
}
} // namespace

QString createStatement(const SqlDialect &dialect)
{
    return dialect.kind() == SqlDialect::Postgres
               ? QStringLiteral("create table if not exists textfile_language (id bigint "
                                "primary key, language text collate \"C\" not null)")
               : QStringLiteral("create table if not exists textfile_language (id integer "
                                "primary key, language text not null)");
}

bool prepare(Database &database, QString *error)
{
    return database.execute(createStatement(database.dialect()), error);
}

QString stored(Database &database, qint64 id)
{
    QString language;
    QString error;
    database.select(
        QStringLiteral("select language from textfile_language where id=") + QString::number(id),
        [&language](const QSqlQuery &row) { language = row.value(0).toString(); }, &error);
    return language;
}

QHash<qint64, QString> stored(Database &database, const QVector<qint64> &ids)
{
    QHash<qint64, QString> languages;
    if (ids.isEmpty())
        return languages;
    QStringList numbers;
    numbers.reserve(ids.size());
    for (qint64 id : ids)
        numbers.append(QString::number(id));
    QString error;
    database.select(
        QStringLiteral("select id,language from textfile_language where id in (") +
            numbers.join(QLatin1Char(',')) + QLatin1Char(')'),
        [&languages](const QSqlQuery &row) {
            languages.insert(row.value(0).toLongLong(), row.value(1).toString());
        },
        &error);
    return languages;
}

bool store(Database &database, qint64 id, const QString &language, QString *error)
{
    const QString upserted = upsert(QString::number(id), language);
    // The server's table comes with its schema; Data.QBD of an older copy may lack it.
    if (database.isServer())
        return database.execute(upserted, error);
    return database.transact(
        [&](QString *why) {
            return database.execute(createStatement(database.dialect()), why) &&
                   database.execute(upserted, why);
        },
        error);
}

QString storeForLastInsertStatement(const SqlDialect &dialect, const QString &language)
{
    return upsert(dialect.kind() == SqlDialect::Postgres ? QStringLiteral("lastval()")
                                                         : QStringLiteral("last_insert_rowid()"),
                  language);
}

} // namespace MaterialLanguages
