#include "exchange/BaseUpload.h"

#include "history/HistorySchema.h"
#include "store/ServerConnection.h"
#include "store/ServerSchema.h"
#include "store/SqlText.h"
#include "tree/CategoryRecovery.h"
#include "tree/NodeRules.h"
#include "tree/ServerTree.h"
#include "tree/TreeFile.h"
#include "tree/TreeFileError.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <algorithm>

namespace {
const QString SourceConnection = QStringLiteral("UploadSource");
const QString TargetConnection = QStringLiteral("UploadTarget");
// Materials in one insert: few round trips, statements of a few hundred kilobytes.
constexpr int RowsPerInsert = 200;

QString tableOf(bool instances)
{
    return instances ? QStringLiteral("exefile") : QStringLiteral("textfile");
}

// With their ids: what is kept beside the materials (their languages) names them by id.
QString columnsOf(bool instances)
{
    return instances ? QStringLiteral("id,title,classname,bigclassname,writer,createtime,about,fpath")
                     : QStringLiteral("id,title,classname,bigclassname,writer,createtime,main");
}

// A table kept beside the materials: its columns, and the one the server numbers rows by, which
// goes on after the copied numbers.
struct BesideTable
{
    QString name;
    QString columns;
    QString numbered;
};

// The tables kept beside the materials; a Data.QBD of an older copy may lack them.
const QVector<BesideTable> &besideTables()
{
    static const QVector<BesideTable> tables = [] {
        QVector<BesideTable> all{
            {QStringLiteral("textfile_language"), QStringLiteral("id,language"), QString()}};
        for (const HistorySchema::Kind *kind : HistorySchema::kinds()) {
            const QString columns = QStringLiteral("seq,id,kepttime,") + kind->columns.join(QLatin1Char(','));
            all.append({kind->versions, columns, QStringLiteral("seq")});
            all.append({kind->bin, columns, QStringLiteral("seq")});
        }
        return all;
    }();
    return tables;
}

bool setNextNumber(QSqlQuery &target, const QString &table, const QString &column)
{
    return target.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), "
                                      "coalesce(max(%2), 0) + 1, false) FROM %1")
                           .arg(table, column));
}

int countCategories(const QVector<TreeNode> &nodes)
{
    int count = 0;
    for (const TreeNode &node : nodes)
        count += 1 + countCategories(node.children);
    return count;
}
} // namespace

BaseUpload::BaseUpload(const BaseSettings &server, const QString &databasePath, const QString &treePath)
    : m_server(server), m_databasePath(databasePath), m_treePath(treePath)
{
}

BaseUpload::Outcome BaseUpload::run(const std::function<bool(int done, int total)> &progress)
{
    m_error.clear();
    m_materials = 0;
    m_categories = 0;
    Outcome outcome = Failed;
    {
        // Read-only: the local base stays exactly as it is.
        QSqlDatabase source = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), SourceConnection);
        source.setDatabaseName(QUrl::fromLocalFile(m_databasePath).toString(QUrl::FullyEncoded) +
                               QStringLiteral("?mode=ro"));
        source.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000"));
        QSqlDatabase target = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), TargetConnection);
        if (!source.open())
            m_error = QStringLiteral("本机的资料库Data.QBD无法打开：") + source.lastError().text();
        else if (ServerConnection::open(target, m_server, &m_error))
            outcome = upload(source, target, progress);
        source.close();
        target.close();
    }
    QSqlDatabase::removeDatabase(SourceConnection);
    QSqlDatabase::removeDatabase(TargetConnection);
    return outcome;
}

bool BaseUpload::readTree(QSqlDatabase &source, QVector<TreeNode> *roots)
{
    try {
        *roots = TreeFile(m_treePath).load();
    } catch (const TreeFileError &failure) {
        m_error = QStringLiteral("本机的分类文件MTS.qb无法读取：") + failure.message();
        return false;
    }
    // Every material stays in view: the categories it names come along even when MTS.qb lost them.
    for (int index = 0; index < roots->size(); ++index) {
        const QString &root = roots->at(index).name;
        if (index != 0 && root != NodeRules::InstanceRootText)
            continue;
        QSqlQuery query(source);
        if (!query.exec(QStringLiteral("select distinct bigclassname,classname from ") +
                        NodeRules::tableOfRoot(index == 0 ? NodeRules::TextRootText : root))) {
            m_error = QStringLiteral("本机的资料库Data.QBD无法读取：") + query.lastError().text();
            return false;
        }
        QVector<CategoryRecovery::Pair> pairs;
        while (query.next())
            pairs.append({query.value(0).toString(), query.value(1).toString()});
        CategoryRecovery::addMissing((*roots)[index], pairs);
    }
    for (const TreeNode &root : *roots)
        m_categories += countCategories(root.children);
    return true;
}

bool BaseUpload::checkEmpty(QSqlQuery &target)
{
    if (!target.exec(
            QStringLiteral("SELECT (SELECT count(*) FROM textfile) + (SELECT count(*) FROM exefile), "
                           "(SELECT count(*) FROM category WHERE parent IS NOT NULL), "
                           "(SELECT count(*) FROM textfile_bin) + (SELECT count(*) FROM exefile_bin)")) ||
        !target.next()) {
        m_error = ServerConnection::describe(target.lastError());
        return false;
    }
    const qint64 materials = target.value(0).toLongLong();
    const qint64 categories = target.value(1).toLongLong();
    const qint64 deleted = target.value(2).toLongLong();
    target.finish();
    if (materials == 0 && categories == 0 && deleted == 0)
        return true;
    // Deleted materials of the shared base are refused too: the upload would let them go.
    m_error = QStringLiteral("共享资料库里已经有%1份资料、%2个分类").arg(materials).arg(categories) +
              (deleted == 0 ? QString() : QStringLiteral("，回收站里还有%1份资料").arg(deleted)) +
              QStringLiteral("。上传只能到空的共享资料库，以免两边的资料混在一起");
    return false;
}

bool BaseUpload::copy(QSqlDatabase &source, QSqlQuery &target, const QString &table,
                      const QString &columnNames, bool materials, const std::function<bool()> &proceed)
{
    QSqlQuery rows(source);
    rows.setForwardOnly(true);
    if (!rows.exec(QStringLiteral("select ") + columnNames + QStringLiteral(" from ") + table +
                   QStringLiteral(" order by id"))) {
        m_error = QStringLiteral("本机的资料库Data.QBD无法读取：") + rows.lastError().text();
        return false;
    }
    const int columns = rows.record().count();
    const QString insert =
        QStringLiteral("INSERT INTO ") + table + QLatin1Char('(') + columnNames + QStringLiteral(") VALUES ");
    QStringList values;
    auto flush = [&] {
        if (values.isEmpty())
            return true;
        if (!target.exec(insert + values.join(QLatin1Char(',')))) {
            m_error = ServerConnection::describe(target.lastError());
            return false;
        }
        if (!materials) {
            values.clear();
            return true;
        }
        m_materials += static_cast<int>(values.size());
        values.clear();
        return proceed();
    };
    while (rows.next()) {
        QStringList row;
        for (int column = 0; column < columns; ++column)
            row.append(SqlText::literal(rows.value(column).toString()));
        values.append(QLatin1Char('(') + row.join(QLatin1Char(',')) + QLatin1Char(')'));
        if (values.size() == RowsPerInsert && !flush())
            return false;
    }
    if (rows.lastError().isValid()) {
        m_error = QStringLiteral("本机的资料库Data.QBD无法读取：") + rows.lastError().text();
        return false;
    }
    return flush();
}

BaseUpload::Outcome BaseUpload::copyMaterials(QSqlDatabase &source, QSqlQuery &target,
                                              const std::function<bool(int, int)> &progress)
{
    QSqlQuery count(source);
    if (!count.exec(
            QStringLiteral("select (select count(*) from textfile)+(select count(*) from exefile)")) ||
        !count.next()) {
        m_error = QStringLiteral("本机的资料库Data.QBD无法读取：") + count.lastError().text();
        return Failed;
    }
    m_total = count.value(0).toInt();
    count.finish();
    bool cancelled = false;
    const auto proceed = [&] {
        cancelled = !progress(m_materials, m_total);
        return !cancelled;
    };
    if (!proceed())
        return Cancelled;
    for (const bool instances : {false, true}) {
        if (!copy(source, target, tableOf(instances), columnsOf(instances), true, proceed))
            return cancelled ? Cancelled : Failed;
        // New materials of the shared base take ids after the copied ones.
        if (!setNextNumber(target, tableOf(instances), QStringLiteral("id"))) {
            m_error = ServerConnection::describe(target.lastError());
            return Failed;
        }
    }
    const QStringList present = source.tables();
    for (const BesideTable &table : besideTables()) {
        // The shared base holds no material (and its bin none): what it keeps beside them belongs
        // to none.
        if (!target.exec(QStringLiteral("DELETE FROM ") + table.name)) {
            m_error = ServerConnection::describe(target.lastError());
            return Failed;
        }
        if (present.contains(table.name) && !copy(source, target, table.name, table.columns, false, proceed))
            return Failed;
        if (!table.numbered.isEmpty() && !setNextNumber(target, table.name, table.numbered)) {
            m_error = ServerConnection::describe(target.lastError());
            return Failed;
        }
    }
    return Done;
}

BaseUpload::Outcome BaseUpload::upload(QSqlDatabase &source, QSqlDatabase &target,
                                       const std::function<bool(int, int)> &progress)
{
    QVector<TreeNode> roots;
    if (!readTree(source, &roots))
        return Failed;
    QSqlQuery query(target);
    auto runAll = [this, &query](const QStringList &statements) {
        return std::all_of(statements.cbegin(), statements.cend(), [this, &query](const QString &sql) {
            if (query.exec(sql))
                return true;
            m_error = ServerConnection::describe(query.lastError());
            return false;
        });
    };
    // Nobody writes the tables meanwhile, so that they stay empty until the copy is committed.
    if (!runAll({QStringLiteral("BEGIN"),
                 QStringLiteral("LOCK TABLE textfile, exefile, category IN EXCLUSIVE MODE")}))
        return Failed;
    Outcome outcome = Failed;
    // The full-text index is built once over all rows, far quicker than row by row.
    if (checkEmpty(query) && runAll(ServerSchema::dropFullTextIndexStatements()))
        outcome = copyMaterials(source, query, progress);
    if (outcome == Done && !progress(m_total, m_total))
        outcome = Cancelled;
    if (outcome == Done &&
        !runAll(
            QStringList{QStringLiteral("UPDATE zindrel_state SET value = value + 1 WHERE name = 'tree'")} +
            ServerTree::rowStatements(roots) + ServerSchema::fullTextIndexStatements() +
            QStringList{QStringLiteral("COMMIT")}))
        outcome = Failed;
    if (outcome != Done) {
        query.exec(QStringLiteral("ROLLBACK"));
        m_materials = 0;
        m_categories = 0;
    }
    return outcome;
}
