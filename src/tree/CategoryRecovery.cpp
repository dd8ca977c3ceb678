#include "tree/CategoryRecovery.h"

#include "store/Database.h"
#include "tree/NodeRules.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace CategoryRecovery {

namespace {
bool fitsTheTreeFile(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(QLatin1Char('+')) && !name.contains(QLatin1Char('\n')) &&
           !name.contains(QLatin1Char('\r'));
}

TreeNode &childNamed(TreeNode &parent, const QString &name, int image, int *added)
{
    auto found = std::find_if(parent.children.begin(), parent.children.end(),
                              [&name](const TreeNode &child) { return child.name == name; });
    if (found != parent.children.end())
        return *found;
    parent.children.append({name, image, {}});
    ++*added;
    return parent.children.last();
}
} // namespace

bool readPairs(const QString &table, QVector<Pair> *pairs, QString *error)
{
    Database *database = Database::current();
    if (!database) {
        *error = QStringLiteral("数据模块尚未建立");
        return false;
    }
    // Both tables have an index that begins with the two columns: the database reads only it.
    return database->select(
        QStringLiteral("select distinct bigclassname,classname from ") + table,
        [pairs](const QSqlQuery &row) {
            pairs->append({row.value(0).toString(), row.value(1).toString()});
        },
        error);
}

int addMissing(TreeNode &root, const QVector<Pair> &pairs)
{
    int added = 0;
    for (const Pair &pair : pairs) {
        if (!fitsTheTreeFile(pair.category) ||
            (!pair.subcategory.isEmpty() && !fitsTheTreeFile(pair.subcategory)))
            continue;
        TreeNode &firstLevel = childNamed(root, pair.category, NodeRules::FirstLevelCollapsed, &added);
        if (!pair.subcategory.isEmpty())
            childNamed(firstLevel, pair.subcategory, NodeRules::SecondLevel, &added);
    }
    return added;
}

} // namespace CategoryRecovery
