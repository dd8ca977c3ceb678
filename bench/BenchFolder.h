#pragma once

#include "tree/TreeFile.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A program folder of the benchmark's own, filled with seeded data: 200,000 text materials and
// 20,000 instance materials over about 100 first-level and 300 second-level categories, one
// first-level category holding 20,000 materials; and a second folder whose tree file holds
// 5,000 categories. Written straight through SQLite in one transaction.
class BenchFolder
{
public:
    static constexpr int TextMaterials = 200000;
    static constexpr int InstanceMaterials = 20000;
    static constexpr int BigCategoryMaterials = 20000;
    static constexpr int BigTreeCategories = 5000;

    // The first-level category (under the text root, without sub-categories) of 20,000 materials.
    static const QString BigCategory;
    // An empty first-level category that the insert figure fills.
    static const QString InsertCategory;
    // A small first-level category: what the list shows between two measured refreshes.
    static const QString SmallCategory;

    // In a temporary folder, or in the folder named (kept afterwards, and reused when it
    // already holds the generated files: profiling runs need not generate again).
    explicit BenchFolder(const QString &path = QString());

    // False with an error text when a file could not be written.
    bool create(QString *error);
    bool reused() const { return m_reused; }

    QString path() const { return m_path; }
    QString databasePath() const;
    // The folder whose MTS.qb holds 5,000 categories (its database is the same file).
    QString bigTreeFolder() const;
    QString bigTreePath() const;

    // An empty program folder: the three roots and a database from the installed schema, for
    // the import figure.
    static bool createEmpty(const QString &path, QString *error);

private:
    // A Data.QBD with the tables and no materials.
    static bool createEmptyDatabase(const QString &databaseFile, QString *error);
    // The tree of the main folder; the same every time.
    static QVector<TreeNode> mainTree();
    bool writeTrees(const QVector<TreeNode> &roots, QString *error) const;
    bool writeDatabase(const QVector<TreeNode> &roots, QString *error) const;

    std::unique_ptr<QTemporaryDir> m_temporary;
    QString m_path;
    bool m_reused = false;
};
