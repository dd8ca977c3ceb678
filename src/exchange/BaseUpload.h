#pragma once

#include "store/BaseSettings.h"

#include <QString>

#include <functional>

class QSqlDatabase;
class QSqlQuery;
struct TreeNode;

// Moving in: copies every material of the local Data.QBD with its id, what is kept beside the
// materials (their languages), and the tree of MTS.qb (with the categories that materials name
// grown back) to the shared base that Base.ini names, which must
// be empty, in one transaction: all of it or, when cancelled or failed, nothing. The local files
// are only read. Works on connections of its own, whichever base the program uses meanwhile.
class BaseUpload
{
public:
    enum Outcome { Done, Cancelled, Failed };

    BaseUpload(const BaseSettings &server, const QString &databasePath, const QString &treePath);

    // progress(done, total) between batches of materials; false cancels. With done equal to
    // total the server builds the full-text index, which takes a while.
    Outcome run(const std::function<bool(int done, int total)> &progress);
    const QString &error() const { return m_error; }
    int materials() const { return m_materials; }
    int categories() const { return m_categories; }

private:
    bool readTree(QSqlDatabase &source, QVector<TreeNode> *roots);
    bool checkEmpty(QSqlQuery &target);
    Outcome copyMaterials(QSqlDatabase &source, QSqlQuery &target,
                          const std::function<bool(int, int)> &progress);
    // Copies the rows of a table; those of a material table count as materials, and progress is
    // told between their batches.
    bool copy(QSqlDatabase &source, QSqlQuery &target, const QString &table, const QString &columnNames,
              bool materials, const std::function<bool()> &proceed);
    Outcome upload(QSqlDatabase &source, QSqlDatabase &target, const std::function<bool(int, int)> &progress);

    BaseSettings m_server;
    QString m_databasePath;
    QString m_treePath;
    QString m_error;
    int m_total = 0;
    int m_materials = 0;
    int m_categories = 0;
};
