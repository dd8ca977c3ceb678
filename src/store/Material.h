#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QSqlQuery;

// A material record: carries one material between a window and the database for one
// operation. Each operation keeps its result text in the record and tells the caller whether
// it succeeded. Titles and bodies are handed in already in token form and come back without.
class Material
{
public:
    static inline const QString AddedText = QStringLiteral("添加成功！你可以继续操作！");
    static inline const QString DoneText = QStringLiteral("操作成功！");
    static inline const QString FailurePrefix = QStringLiteral("数据库操作失败！ 原因：");
    static inline const QString FatalSuffix = QStringLiteral("   严重错误，请重新安装程序");
    // What the status line says of a failed statement: the error and FatalSuffix for Data.QBD;
    // on a shared base the error alone, the server's words or that it cannot be reached, since
    // nothing there is mended by installing the program again.
    static QString failureStatus(const QString &error);

    // Stamps the creation time and points the connection at the program folder's database.
    Material();
    virtual ~Material() = default;
    Material(const Material &) = delete;
    Material &operator=(const Material &) = delete;

    QString title;
    QString author;
    QString category;    // first level
    QString subcategory; // second level; empty directly under a first-level category
    QString createTime;

    bool insert();
    bool load(qint64 id);
    bool update(qint64 id);
    // What the last operation gave: the success text or the failure with its reason.
    const QString &resultMessage() const { return m_resultMessage; }

    virtual QString insertStatement() const = 0;
    virtual QString loadStatement(qint64 id) const = 0;
    virtual QString updateStatement(qint64 id) const = 0;

    // Single statements of the main window; success and failure go to its status line. With
    // keep given, the statement is undone unless keep(), asked after it ran, agrees.
    static bool executeStatement(const QString &sql, const std::function<bool()> &keep = {});
    // The number of rows the select returns; count is left alone on failure.
    static bool countRows(const QString &sql, int &count);
    // The materials of a category follow its rename or go with it, kept only when keep() agrees.
    static bool renameCategory(const QString &category, const QString &subcategory, const QString &rootText,
                               const QString &newName, const std::function<bool()> &keep);
    static bool deleteCategory(const QString &category, const QString &subcategory, const QString &rootText,
                               const std::function<bool()> &keep);

    static QString renameStatement(const QString &category, const QString &subcategory,
                                   const QString &rootText, const QString &newName);
    static QString deleteStatement(const QString &category, const QString &subcategory,
                                   const QString &rootText);

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
    // With the id of the material that an update saves over, a save over no row fails.
    bool write(const QString &sql, const QString &successText, qint64 updatedId = 0);

    QString m_resultMessage;
};
