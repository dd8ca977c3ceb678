#pragma once

#include "tree/TreeStore.h"

#include <QStringList>

class Database;

// The category tree of a shared base: one row per category in the table "category" (its id, its
// parent's id, its place among its siblings, its name; the roots have no parent) and the tree's
// version in zindrel_state, which every save moves on. A save finds out when another copy saved
// since this one loaded (the version it saw is gone) and changes nothing then: the tree must be
// loaded again and the change made to that one. A save inside a transaction of the database
// takes part in it, so that a category's materials and the tree change together.
class ServerTree : public TreeStore
{
public:
    explicit ServerTree(Database *database);

    QVector<TreeNode> load() override;
    // A tree with the same names as the one loaded or saved last is not written again.
    bool save(const QVector<TreeNode> &roots, QString *error = nullptr) override;
    // Moves the version on without changing a row.
    bool holdUnchanged(QString *error = nullptr) override;
    bool movedOn() const override { return m_movedOn; }
    QString name() const override { return QStringLiteral("共享资料库中的分类"); }

    // A row of the table; the roots' parent is NoParent.
    struct Row
    {
        int id = 0;
        int parent = NoParent;
        int position = 0;
        QString name;
    };
    static constexpr int NoParent = -1;
    // The select of the tree's version and rows; a tree without rows gives one row without a category.
    static QString loadStatement();
    // The tree the rows make: children in the order of their places, three levels at most (deeper
    // rows, written by another program, are left out).
    static QVector<TreeNode> assemble(const QVector<Row> &rows);
    // The statements that put the tree's rows in place of those in the table.
    static QStringList rowStatements(const QVector<TreeNode> &roots);
    // The statement that moves the version on from the one seen; it changes no row when another
    // copy moved it on first.
    static QString versionStatement(qint64 seen);

private:
    // Moves the version on from the one seen, inside the transaction that runs it; false, with
    // movedOn() set, when another copy moved it on first.
    bool moveVersionOn(QString *error);

    Database *m_database;
    qint64 m_version = 0;
    QVector<TreeNode> m_known;
    bool m_movedOn = false;
};
