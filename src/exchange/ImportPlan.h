#pragma once

#include "exchange/ExchangeReport.h"
#include "tree/TreeFile.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class QFileInfo;

// What an import of a folder will do, decided before any file is read: which file goes into
// which category, and which categories are new. The folder stands for the target category; its
// sub-folders become sub-categories down to the tree's three levels, deeper ones are folded into
// the deepest level. Into a root (or with no target, the whole base), files that would lie
// directly under the root go into a category named after their folder, and a folder named after
// a root, as an export of the whole base holds them, stands for that root. A folder's category
// name comes from the export's index.md when there is one (safe folder names may differ from
// the names), else from the folder's name, repaired when the tree would refuse it; a category
// that exists already takes the files in. Folders whose files are all of other types are left
// out; hidden files and folders, folders reached through links and links to files outside the
// folder are not looked at (the last are named in the report).
class ImportPlan
{
public:
    struct File
    {
        QString path;
        QStringList place; // root, category and, when there is one, sub-category
    };

    // The target's names from the root down; empty for the whole base.
    ImportPlan(const QString &folder, const QStringList &target, const QVector<TreeNode> &tree);

    // Walks the folder; proceed(files found so far) is asked after every folder and cancels the
    // walk when it returns false.
    bool scan(const std::function<bool(int files)> &proceed);

    QString folder() const { return m_folder; }
    const QVector<File> &files() const { return m_files; }
    // The categories to add, each after its parent, by their names from the root down.
    const QVector<QStringList> &newCategories() const { return m_newCategories; }
    // Renamed and folded folders, folders and files left out.
    const ExchangeReport &report() const { return m_report; }

private:
    struct Folder
    {
        QString path;
        QString relativePath;
        QStringList files; // .md, .txt and source files, by name
        QVector<Folder> children;
        int otherFiles = 0;
        bool hasTextFiles = false; // here or below
        bool hasAnyFile = false;   // here or below
    };

    bool read(Folder &folder, const std::function<bool(int files)> &proceed);
    // A link to a file outside the folder: whatever it leads to was not given to the import (a
    // key in ~/.ssh, say, in a folder someone sent), and is left out.
    bool leadsOutside(const QFileInfo &entry) const;
    void readIndex();
    void place(const Folder &folder, const QStringList &place, bool isTop, bool folded);
    QString categoryName(const Folder &folder);
    void ensure(const QStringList &category);
    static QString key(const QStringList &names) { return names.join(QChar(0)); }

    QString m_folder;
    QString m_canonicalFolder;
    QStringList m_target;
    QSet<QString> m_existing;
    QHash<QString, QString> m_indexNames;
    QHash<QString, int> m_indexOrder;
    QString m_indexPath;
    int m_found = 0;
    int m_otherFiles = 0;
    QVector<File> m_files;
    QVector<QStringList> m_newCategories;
    ExchangeReport m_report;
};
