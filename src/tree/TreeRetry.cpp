#include "tree/TreeRetry.h"

#include "tree/TreeFileError.h"
#include "tree/TreeStore.h"

namespace TreeRetry {

namespace {
constexpr int MaxAttempts = 3;
} // namespace

bool reload(TreeStore *store, int attempt, QVector<TreeNode> *roots, QString *error)
{
    if (attempt >= MaxAttempts) {
        *error = QStringLiteral("分类正被其他电脑接连改动，请稍后再试。");
        return false;
    }
    try {
        *roots = store->load();
    } catch (const TreeFileError &failure) {
        *error = failure.message();
        return false;
    }
    return true;
}

} // namespace TreeRetry
