#pragma once

#include "exchange/UniqueNames.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// Where an export puts each category: one folder per category, named by it (made safe), inside
// the folder of its parent; the material files beside its sub-folders. Names are distinct within
// each folder, folders and files alike, and "index.md" stays free at the top.
class ExportLayout
{
public:
    struct Folder
    {
        QString path;      // relative to the export, "/" between names
        QString name;      // the category's (or root's) own name
        QStringList names; // the names from the root down, for headings
        bool isRoot = false;
    };

    ExportLayout();

    // A folder at the top for a root or a category, given by the names from the root down.
    int addTop(const QStringList &names);
    // The sub-folder of a category below the folder, added when it is not there yet.
    int child(int folder, const QString &name);
    // The folder below the top for the categories named, one level after another.
    int descendant(int top, const QStringList &names);
    // A distinct file name in the folder for a material with the title.
    QString claimFile(int folder, const QString &title);

    int count() const { return static_cast<int>(m_folders.size()); }
    const Folder &folder(int index) const { return m_folders.at(index); }
    // Every folder, each top followed by what lies below it, children in the order they came.
    QVector<int> treeOrder() const;

private:
    struct Node
    {
        UniqueNames names;
        QHash<QString, int> children; // by category name
        QVector<int> order;           // the children as they came
    };

    void appendSubtree(int folder, QVector<int> *order) const;

    int add(const Folder &folder);

    QVector<Folder> m_folders;
    QVector<Node> m_nodes;
    UniqueNames m_topNames;
    QVector<int> m_tops;
};
