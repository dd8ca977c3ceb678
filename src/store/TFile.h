#pragma once

#include <QString>
#include <QStringList>

class QSqlQuery;

// A material record: carries one material between a window and the database for one
// operation. Each operation leaves its result in ResultMessage and tells the caller whether it
// succeeded. Titles and bodies are handed in already quoted and come back unquoted.
class TFile
{
public:
    // Stamps createtime, empties ResultMessage and points the connection at the program
    // folder's database.
    TFile();
    virtual ~TFile() = default;
    TFile(const TFile &) = delete;
    TFile &operator=(const TFile &) = delete;

    QString title;
    QString writer;
    QString classname;
    QString bigclassname;
    QString createtime;

    bool InsertRecord();
    bool LoadRecord(qint64 id);
    bool UpdateRecord(qint64 id);

    virtual QString insertStatement() const = 0;
    virtual QString loadStatement(qint64 id) const = 0;
    virtual QString updateStatement(qint64 id) const = 0;

    // Single statements for the main window; success and failure go to its status line.
    static bool ExecuteStatement(const QString &sql);
    // The number of rows the select returns; count is left alone on failure.
    static bool CountRows(const QString &sql, int &count);
    static bool RenameCategoryRecords(const QString &bigClass, const QString &className,
                                      const QString &rootText, const QString &newName);
    static bool DeleteCategoryRecords(const QString &bigClass, const QString &className,
                                      const QString &rootText);

    static QString renameStatement(const QString &bigClass, const QString &className, const QString &rootText,
                                   const QString &newName);
    static QString deleteStatement(const QString &bigClass, const QString &className,
                                   const QString &rootText);

    static const QString FatalSuffix;

protected:
    // Reads the row of a successful load; columns by position in the table's order.
    virtual void readRow(const QSqlQuery &row) = 0;
    void readCommonColumns(const QSqlQuery &row);
    // The five shared columns as an insert's values and as an update's assignments.
    QString commonValues() const;
    QString commonAssignments() const;
    // Clears the body or description before a load: it stays empty unless read.
    virtual void clearText() = 0;

private:
    bool write(const QString &sql, const QString &successText);
};
