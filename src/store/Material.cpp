#include "store/Material.h"

#include "store/CreateTime.h"
#include "store/Database.h"
#include "store/RootKinds.h"
#include "store/SqlText.h"

#include <QSqlQuery>
#include <QVariant>

namespace {
const QString NoDatabase = QStringLiteral("数据模块尚未建立");

Database *database(QString *error)
{
    Database *data = Database::current();
    if (!data)
        *error = NoDatabase;
    return data;
}
} // namespace

Material::Material() : createTime(CreateTime::now())
{
    if (Database *data = Database::current())
        data->pointAtProgramFolder();
}

bool Material::write(const QString &sql, const QString &successText, qint64 updatedId)
{
    m_resultMessage.clear();
    // A statement ends at a NUL character: the engine would only say "unrecognized token".
    if (sql.contains(QChar(u'\0'))) {
        m_resultMessage = FailurePrefix + QStringLiteral("文字中含有空字符（NUL），无法保存，请删去后再试。");
        return false;
    }
    QString error;
    Database *data = database(&error);
    int rows = 0;
    if (!data || !data->execute(sql, &error, &rows)) {
        m_resultMessage = FailurePrefix + error;
        return false;
    }
    // Saved over nothing: the material was deleted meanwhile (on a shared base, by another
    // machine), and saving it again would bring back what someone took away.
    if (updatedId > 0 && rows == 0) {
        m_resultMessage =
            FailurePrefix + QStringLiteral("找不到编号为%1的资料，它已被删除（可能是在另一台电脑上）。"
                                           "修改没有保存；要保留这些文字，请复制后作为新资料添加。")
                                .arg(updatedId);
        return false;
    }
    m_resultMessage = successText;
    return true;
}

bool Material::insert()
{
    return write(insertStatement(), AddedText);
}

bool Material::update(qint64 id)
{
    return write(updateStatement(id), DoneText, id);
}

bool Material::load(qint64 id)
{
    m_resultMessage.clear();
    clearText();
    QString error;
    bool found = false;
    Database *data = database(&error);
    const bool ok = data && data->select(
                                loadStatement(id),
                                [this, &found](const QSqlQuery &row) {
                                    if (found)
                                        return;
                                    found = true;
                                    readRow(row);
                                },
                                &error);
    if (ok && !found)
        error = QStringLiteral("找不到编号为%1的资料").arg(id);
    if (!ok || !found) {
        m_resultMessage = FailurePrefix + error;
        return false;
    }
    m_resultMessage = DoneText;
    return true;
}

QString Material::commonValues() const
{
    using SqlText::literal;
    return literal(title) + QLatin1Char(',') + literal(subcategory) + QLatin1Char(',') + literal(category) +
           QLatin1Char(',') + literal(author) + QLatin1Char(',') + literal(createTime);
}

QString Material::commonAssignments() const
{
    using SqlText::literal;
    return QStringLiteral("title=") + literal(title) + QStringLiteral(",classname=") + literal(subcategory) +
           QStringLiteral(",bigclassname=") + literal(category) + QStringLiteral(",writer=") +
           literal(author) + QStringLiteral(",createtime=") + literal(createTime);
}

void Material::readCommonColumns(const QSqlQuery &row)
{
    title = SqlText::fromTokens(row.value(1).toString(), false);
    author = row.value(4).toString();
    category = row.value(3).toString();
    subcategory = row.value(2).toString();
    createTime = row.value(5).toString();
}

bool Material::executeStatement(const QString &sql, const std::function<bool()> &keep)
{
    QString error;
    Database *data = database(&error);
    if (data) {
        data->reportProgress(3);
        data->reportStatus(QStringLiteral("正在操作数据库！"));
        if (keep ? data->executeKeptIf(sql, keep, &error) : data->execute(sql, &error)) {
            data->reportProgress(100);
            data->reportStatus(QStringLiteral("数据库操作成功！"));
            return true;
        }
        // Not kept: whoever refused says why.
        if (!error.isEmpty())
            data->reportStatus(failureStatus(error));
        data->reportProgress(0);
    }
    return false;
}

QString Material::failureStatus(const QString &error)
{
    const Database *data = Database::current();
    return data && data->isServer() ? error : error + FatalSuffix;
}

bool Material::countRows(const QString &sql, int &count)
{
    QString error;
    Database *data = database(&error);
    if (!data)
        return false;
    int rows = 0;
    // The database counts: the same number as walking the rows, without carrying them here.
    if (!data->select(
            data->dialect().countOf(sql), [&rows](const QSqlQuery &row) { rows = row.value(0).toInt(); },
            &error)) {
        data->reportStatus(failureStatus(error));
        data->reportProgress(0);
        return false;
    }
    count = rows;
    return true;
}

QString Material::renameStatement(const QString &category, const QString &subcategory,
                                  const QString &rootText, const QString &newName)
{
    using SqlText::literal;
    const QString table = RootKinds::tableOfRoot(rootText);
    if (subcategory.isEmpty())
        return QStringLiteral("update ") + table + QStringLiteral(" set bigclassname=") + literal(newName) +
               QStringLiteral(" where bigclassname=") + literal(category);
    return QStringLiteral("update ") + table + QStringLiteral(" set classname=") + literal(newName) +
           QStringLiteral(" where bigclassname=") + literal(category) + QStringLiteral(" and classname=") +
           literal(subcategory);
}

QString Material::deleteStatement(const QString &category, const QString &subcategory,
                                  const QString &rootText)
{
    QString sql = QStringLiteral("delete from ") + RootKinds::tableOfRoot(rootText) +
                  QStringLiteral(" where bigclassname=") + SqlText::literal(category);
    if (!subcategory.isEmpty())
        sql += QStringLiteral(" and classname=") + SqlText::literal(subcategory);
    return sql;
}

bool Material::renameCategory(const QString &category, const QString &subcategory, const QString &rootText,
                              const QString &newName, const std::function<bool()> &keep)
{
    return executeStatement(renameStatement(category, subcategory, rootText, newName), keep);
}

bool Material::deleteCategory(const QString &category, const QString &subcategory, const QString &rootText,
                              const std::function<bool()> &keep)
{
    return executeStatement(deleteStatement(category, subcategory, rootText), keep);
}
