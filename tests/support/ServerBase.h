#pragma once

#include "store/BaseSettings.h"
#include "tree/TreeNode.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

// A shared base as it is before any copy of the program starts on it: an empty database of its
// own on the test server (TestServer), dropped when the object goes. Each connection opened
// through the program's own code stands for another machine sharing it.
class ServerBase
{
public:
    ServerBase();
    ~ServerBase();

    // What a Base.ini naming this database says.
    BaseSettings settings() const;
    // A new connection as the program opens one (tables checked, or created on an empty
    // database); closed again on failure, else when the object goes.
    bool open(QString *error);

    // Statements past the program's own code, on a plain connection of the test's.
    bool exec(const QString &sql) const;
    QList<QVariantList> rows(const QString &sql) const;
    QVariant value(const QString &sql) const;
    // The rows, each as one line of its values.
    QStringList lines(const QString &sql) const;
    // Everything the tables of the shared base hold, row by row.
    QStringList contents() const;
    // The tables and other relations the database holds, by name.
    QStringList relations() const;
    // The tree as kept, in the lines of a tree file.
    QStringList treeLines() const;
    // The tree that the rows of ServerTree::loadStatement() make.
    static QVector<TreeNode> treeOf(const QList<QVariantList> &loadedRows);

private:
    QTemporaryDir m_iniDir;
    QString m_database;
    QString m_plainConnection;
    QStringList m_connections;
};
