#pragma once

#include <QString>
#include <QStringList>

class QSqlQuery;
namespace HistorySchema {
struct Kind;
}

// A material as one row held it: an earlier version, a deleted material, or the current row.
// Titles and texts as a person reads them, without their tokens.
struct KeptMaterial
{
    bool instance = false;
    qint64 seq = 0; // the kept row's number; 0 for a current row
    qint64 id = 0;
    QString keptTime; // stored form; empty for a current row
    QString title;
    QString category;
    QString subcategory;
    QString author;
    QString createTime;
    QString text; // the body, or an instance's description
    QString path; // an instance's

    // The lines two versions are compared by: the body; for an instance its path, an empty line
    // and its description.
    QStringList comparedLines() const;

    // The columns that read() takes, from a table of kept rows (seq and kepttime included) or
    // from the material table itself (they stand empty there).
    static QString selectList(const HistorySchema::Kind &kind, bool materialTable);
    static KeptMaterial read(const QSqlQuery &row, const HistorySchema::Kind &kind);
};
