#include "tree/ServerTree.h"

#include "store/Database.h"
#include "store/SqlText.h"
#include "tree/NodeRules.h"
#include "tree/TreeFileError.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {
// Rows in one insert: a tree of thousands of categories is written in a few statements.
constexpr int RowsPerInsert = 500;
// The tree has a root level and two below it; deeper rows (written by another program) are left out.
constexpr int Levels = 3;

using Row = ServerTree::Row;
constexpr int NoParent = ServerTree::NoParent;

bool sameNames(const QVector<TreeNode> &a, const QVector<TreeNode> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), [](const TreeNode &x, const TreeNode &y) {
        return x.name == y.name && sameNames(x.children, y.children);
    });
}

void appendRows(const TreeNode &node, int parent, int position, QStringList *values)
{
    const int id = static_cast<int>(values->size());
    values->append(QStringLiteral("(%1,%2,%3,%4)")
                       .arg(id)
                       .arg(parent == NoParent ? QStringLiteral("NULL") : QString::number(parent))
                       .arg(position)
                       .arg(SqlText::literal(node.name)));
    for (int i = 0; i < node.children.size(); ++i)
        appendRows(node.children.at(i), id, i, values);
}

QVector<TreeNode> childrenOf(int parent, const QHash<int, QVector<Row>> &rows, int level)
{
    static const int Images[Levels] = {NodeRules::RootCollapsed, NodeRules::FirstLevelCollapsed,
                                       NodeRules::SecondLevel};
    QVector<TreeNode> nodes;
    if (level >= Levels)
        return nodes;
    QVector<Row> children = rows.value(parent);
    std::sort(children.begin(), children.end(), [](const Row &a, const Row &b) {
        return a.position != b.position ? a.position < b.position : a.id < b.id;
    });
    for (const Row &child : children)
        nodes.append({child.name, Images[level], childrenOf(child.id, rows, level + 1)});
    return nodes;
}
} // namespace

ServerTree::ServerTree(Database *database) : m_database(database) {}

QString ServerTree::loadStatement()
{
    // One statement: the version and the rows of one moment.
    return QStringLiteral("SELECT s.value, c.id, c.parent, c.position, c.name FROM zindrel_state s "
                          "LEFT JOIN category c ON true WHERE s.name = 'tree'");
}

QVector<TreeNode> ServerTree::assemble(const QVector<Row> &rows)
{
    QHash<int, QVector<Row>> byParent;
    for (const Row &row : rows)
        byParent[row.parent].append(row);
    return childrenOf(NoParent, byParent, 0);
}

QVector<TreeNode> ServerTree::load()
{
    QVector<Row> rows;
    bool versionSeen = false;
    qint64 version = 0;
    QString error;
    const bool read = m_database->select(
        loadStatement(),
        [&](const QSqlQuery &row) {
            versionSeen = true;
            version = row.value(0).toLongLong();
            if (!row.isNull(1))
                rows.append({row.value(1).toInt(), row.isNull(2) ? NoParent : row.value(2).toInt(),
                             row.value(3).toInt(), row.value(4).toString()});
        },
        &error);
    if (!read)
        throw TreeFileError(QStringLiteral("无法从共享资料库读取分类：") + error);
    const QVector<TreeNode> roots = assemble(rows);
    if (!versionSeen || roots.isEmpty())
        throw TreeFileError(QStringLiteral("共享资料库中的分类树已经丢失，请管理员检查这个数据库！"));
    m_version = version;
    m_known = roots;
    return roots;
}

bool ServerTree::save(const QVector<TreeNode> &roots, QString *error)
{
    m_movedOn = false;
    if (sameNames(roots, m_known))
        return true;
    QString why;
    const bool saved = m_database->transact(
        [this, &roots](QString *error) {
            if (!moveVersionOn(error))
                return false;
            const QStringList statements = rowStatements(roots);
            return std::all_of(statements.cbegin(), statements.cend(),
                               [this, error](const QString &sql) { return m_database->execute(sql, error); });
        },
        &why);
    if (!saved) {
        if (error)
            *error = why;
        return false;
    }
    ++m_version;
    m_known = roots;
    return true;
}

bool ServerTree::moveVersionOn(QString *error)
{
    int moved = 0;
    if (!m_database->execute(versionStatement(m_version), error, &moved))
        return false;
    if (moved == 1)
        return true;
    m_movedOn = true;
    *error = QStringLiteral("另一台电脑刚刚改动了分类");
    return false;
}

bool ServerTree::holdUnchanged(QString *error)
{
    m_movedOn = false;
    QString why;
    if (!m_database->transact([this](QString *error) { return moveVersionOn(error); }, &why)) {
        if (error)
            *error = why;
        return false;
    }
    ++m_version;
    return true;
}

QStringList ServerTree::rowStatements(const QVector<TreeNode> &roots)
{
    QStringList values;
    for (int i = 0; i < roots.size(); ++i)
        appendRows(roots.at(i), NoParent, i, &values);
    QStringList statements{QStringLiteral("DELETE FROM category")};
    for (int first = 0; first < values.size(); first += RowsPerInsert)
        statements.append(QStringLiteral("INSERT INTO category(id,parent,position,name) VALUES ") +
                          values.mid(first, RowsPerInsert).join(QLatin1Char(',')));
    return statements;
}

QString ServerTree::versionStatement(qint64 seen)
{
    return QStringLiteral("UPDATE zindrel_state SET value = value + 1 WHERE name = 'tree' AND value = ") +
           QString::number(seen);
}
