#include "store/FullTextSchema.h"

#include "store/FullTextTokenizer.h"
#include "store/SqlText.h"

namespace {
// A table whose materials the index covers, and how its columns map onto the index's.
struct Source
{
    QString table;
    int kind; // the low bit of the index's row id
    QString body;
    QString path; // empty: the kind has no path
};

const Source Texts{QStringLiteral("textfile"), 0, QStringLiteral("main"), QString()};
const Source Instances{QStringLiteral("exefile"), 1, QStringLiteral("about"), QStringLiteral("fpath")};

const QString Index = QStringLiteral("fulltext");
const QString Titles = QStringLiteral("fulltext_title");
const QString Queue = QStringLiteral("fulltext_queue");

const Source &sourceOf(bool instances)
{
    return instances ? Instances : Texts;
}

QString kindOf(const Source &source)
{
    return QString::number(source.kind);
}

QString pathOf(const Source &source, const QString &prefix = QString())
{
    return source.path.isEmpty() ? QStringLiteral("''") : prefix + source.path;
}

// What the index receives of each row of the table: its row id and the texts as a person sees them.
QString indexedColumns(const Source &source)
{
    return QStringLiteral("id*2+") + kindOf(source) + QLatin1Char(',') +
           SqlText::fromTokensExpression(QStringLiteral("title"), false) + QLatin1Char(',') +
           SqlText::fromTokensExpression(source.body, true) + QLatin1Char(',') + pathOf(source);
}

// The columns whose change reaches the index.
QString watchedColumns(const Source &source)
{
    return QStringLiteral("id,title,") + source.body +
           (source.path.isEmpty() ? QString() : QLatin1Char(',') + source.path);
}

QString queuedIds(const Source &source)
{
    return QStringLiteral(" WHERE id IN (SELECT id FROM ") + Queue + QStringLiteral(" WHERE kind=") +
           kindOf(source) + QLatin1Char(')');
}

QList<FullTextSchema::SchemaObject> triggersOf(const Source &source)
{
    const QString prefix = Index + QLatin1Char('_') + source.table + QLatin1Char('_');
    const QString kind = kindOf(source);
    const QString intoQueue =
        QStringLiteral("INSERT INTO ") + Queue + QStringLiteral("(kind,id,title,body,path) ");
    // The text a row had before the change: what the index may hold of it.
    const QString oldRow = intoQueue + QStringLiteral("VALUES(") + kind +
                           QStringLiteral(",old.id,old.title,old.") + source.body + QLatin1Char(',') +
                           pathOf(source, QStringLiteral("old.")) + QStringLiteral(");");
    // The row that a REPLACE (or an id change onto it) is about to overwrite without a delete.
    const QString displacedRow = intoQueue + QStringLiteral("SELECT ") + kind + QStringLiteral(",id,title,") +
                                 source.body + QLatin1Char(',') + pathOf(source) + QStringLiteral(" FROM ") +
                                 source.table + QStringLiteral(" WHERE id=new.id;");
    const QString newRow = QStringLiteral("INSERT INTO ") + Queue + QStringLiteral("(kind,id) ");
    auto trigger = [&prefix, &source](const QString &suffix, const QString &event, const QString &condition,
                                      const QString &body) {
        return FullTextSchema::SchemaObject{
            prefix + suffix, QStringLiteral("CREATE TRIGGER ") + prefix + suffix + QLatin1Char(' ') + event +
                                 QStringLiteral(" ON ") + source.table + condition +
                                 QStringLiteral(" BEGIN ") + body + QStringLiteral(" END")};
    };
    const QString idChanged = QStringLiteral(" WHEN new.id<>old.id");
    return {
        trigger(QStringLiteral("replace"), QStringLiteral("BEFORE INSERT"), QString(), displacedRow),
        trigger(QStringLiteral("insert"), QStringLiteral("AFTER INSERT"), QString(),
                newRow + QStringLiteral("VALUES(") + kind + QStringLiteral(",new.id);")),
        trigger(QStringLiteral("displace"), QStringLiteral("BEFORE UPDATE OF id"), idChanged, displacedRow),
        trigger(QStringLiteral("update"), QStringLiteral("AFTER UPDATE OF ") + watchedColumns(source),
                QString(),
                oldRow + newRow + QStringLiteral("SELECT ") + kind +
                    QStringLiteral(",new.id WHERE new.id<>old.id;")),
        trigger(QStringLiteral("delete"), QStringLiteral("AFTER DELETE"), QString(), oldRow),
    };
}
} // namespace

namespace FullTextSchema {

QList<SchemaObject> objects()
{
    QList<SchemaObject> all{
        {Index, QStringLiteral("CREATE VIRTUAL TABLE ") + Index +
                    QStringLiteral(" USING fts5(title, body, path, content='', columnsize=0, tokenize='") +
                    QString::fromLatin1(FullTextTokenizer::Name) + QStringLiteral("')")},
        {Titles, QStringLiteral("CREATE TABLE ") + Titles +
                     QStringLiteral("(document INTEGER PRIMARY KEY, title TEXT NOT NULL)")},
        {Queue, QStringLiteral("CREATE TABLE ") + Queue +
                    QStringLiteral("(seq INTEGER PRIMARY KEY, kind INTEGER NOT NULL, id INTEGER NOT NULL, "
                                   "title TEXT, body TEXT, path TEXT)")},
    };
    all += triggersOf(Texts);
    all += triggersOf(Instances);
    return all;
}

QStringList dropStatements()
{
    QStringList drops;
    const QList<SchemaObject> all = objects();
    for (auto object = all.crbegin(); object != all.crend(); ++object) {
        const bool trigger = object->sql.startsWith(QLatin1String("CREATE TRIGGER"));
        drops.append(
            (trigger ? QStringLiteral("DROP TRIGGER IF EXISTS ") : QStringLiteral("DROP TABLE IF EXISTS ")) +
            object->name);
    }
    // FTS5's own tables, should the index itself have gone without them.
    for (const char *shadow : {"_data", "_idx", "_content", "_docsize", "_config"})
        drops.append(QStringLiteral("DROP TABLE IF EXISTS ") + Index + QLatin1String(shadow));
    return drops;
}

QStringList fillStatements(bool instances, qint64 from, qint64 upTo)
{
    const Source &source = sourceOf(instances);
    const QString range = QStringLiteral(" FROM ") + source.table + QStringLiteral(" WHERE id>=") +
                          QString::number(from) + QStringLiteral(" AND id<=") + QString::number(upTo);
    return {QStringLiteral("INSERT INTO ") + Index + QStringLiteral("(rowid,title,body,path) SELECT ") +
                indexedColumns(source) + range,
            QStringLiteral("INSERT INTO ") + Titles + QStringLiteral("(document,title) SELECT id*2+") +
                kindOf(source) + QStringLiteral(",title") + range};
}

QString optimizeStatement()
{
    return QStringLiteral("INSERT INTO ") + Index + QLatin1Char('(') + Index +
           QStringLiteral(") VALUES('optimize')");
}

QString buildMemoryStatement()
{
    return QStringLiteral("INSERT INTO ") + Index + QLatin1Char('(') + Index +
           QStringLiteral(",rank) VALUES('hashsize',16777216)");
}

QString defaultMemoryStatement()
{
    return QStringLiteral("INSERT INTO ") + Index + QLatin1Char('(') + Index +
           QStringLiteral(",rank) VALUES('hashsize',1048576)");
}

QString queueCountStatement()
{
    return QStringLiteral("SELECT count(*) FROM ") + Queue;
}

QStringList catchUpStatements()
{
    // A row's first entry in the queue holds the text the index has of it (a row added since
    // holds none); a row still in its table is indexed again as it is now.
    QStringList statements{
        QStringLiteral("INSERT INTO ") + Index + QLatin1Char('(') + Index +
            QStringLiteral(",rowid,title,body,path) SELECT 'delete',document,") +
            SqlText::fromTokensExpression(QStringLiteral("title"), false) + QLatin1Char(',') +
            SqlText::fromTokensExpression(QStringLiteral("body"), true) +
            QStringLiteral(",path FROM (SELECT id*2+kind AS document,min(seq),title,body,path FROM ") +
            Queue +
            QStringLiteral(
                " GROUP BY kind,id) WHERE title IS NOT NULL AND document IN (SELECT document FROM ") +
            Titles + QLatin1Char(')'),
        QStringLiteral("DELETE FROM ") + Titles +
            QStringLiteral(" WHERE document IN (SELECT id*2+kind FROM ") + Queue + QLatin1Char(')')};
    for (const Source *source : {&Texts, &Instances}) {
        statements.append(QStringLiteral("INSERT INTO ") + Index +
                          QStringLiteral("(rowid,title,body,path) SELECT ") + indexedColumns(*source) +
                          QStringLiteral(" FROM ") + source->table + queuedIds(*source));
        statements.append(QStringLiteral("INSERT INTO ") + Titles +
                          QStringLiteral("(document,title) SELECT id*2+") + kindOf(*source) +
                          QStringLiteral(",title FROM ") + source->table + queuedIds(*source));
    }
    statements.append(QStringLiteral("DELETE FROM ") + Queue);
    return statements;
}

QString idsStatement(bool instances)
{
    return QStringLiteral("SELECT id FROM ") + sourceOf(instances).table + QStringLiteral(" ORDER BY id");
}

QString indexedCountStatement()
{
    return QStringLiteral("SELECT count(*) FROM ") + Titles;
}

QString materialCountStatement()
{
    return QStringLiteral("SELECT (SELECT count(*) FROM textfile)+(SELECT count(*) FROM exefile)");
}

QString rankStatement()
{
    return QStringLiteral("SELECT count(*) FROM ") + Index + QStringLiteral(" WHERE ") + Index +
           QStringLiteral(" MATCH ? AND ") + QString::fromLatin1(FullTextTokenizer::RankFunction) +
           QLatin1Char('(') + Index + QStringLiteral(")>=0");
}

QString titlesStatement(const QVector<qint64> &documents)
{
    QStringList numbers;
    numbers.reserve(documents.size());
    for (qint64 document : documents)
        numbers.append(QString::number(document));
    return QStringLiteral("SELECT document,title FROM ") + Titles + QStringLiteral(" WHERE document IN (") +
           numbers.join(QLatin1Char(',')) + QLatin1Char(')');
}

} // namespace FullTextSchema
