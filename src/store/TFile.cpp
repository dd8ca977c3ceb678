#include "store/TFile.h"

#include "store/CreateTime.h"
#include "store/ResultMessage.h"
#include "store/SqlText.h"
#include "store/TMainData.h"
#include "tree/NodeRules.h"

#include <QSqlQuery>
#include <QVariant>

QString ResultMessage;

const QString TFile::FatalSuffix = QStringLiteral("   严重错误，请重新安装程序");

namespace {
const QString NoDataModule = QStringLiteral("数据模块尚未建立");

TMainData *dataModule(QString *error)
{
    TMainData *data = TMainData::current();
    if (!data)
        *error = NoDataModule;
    return data;
}
} // namespace

TFile::TFile()
{
    ResultMessage.clear();
    createtime = CreateTime::now();
    if (TMainData *data = TMainData::current())
        data->setConnectionString();
}

bool TFile::write(const QString &sql, const QString &successText)
{
    ResultMessage.clear();
    QString error;
    TMainData *data = dataModule(&error);
    if (!data || !data->execute(sql, &error)) {
        ResultMessage = ResultText::FailurePrefix + error;
        return false;
    }
    ResultMessage = successText;
    return true;
}

bool TFile::InsertRecord()
{
    return write(insertStatement(), ResultText::Added);
}

bool TFile::UpdateRecord(qint64 id)
{
    return write(updateStatement(id), ResultText::Done);
}

bool TFile::LoadRecord(qint64 id)
{
    ResultMessage.clear();
    clearText();
    QString error;
    bool found = false;
    TMainData *data = dataModule(&error);
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
        ResultMessage = ResultText::FailurePrefix + error;
        return false;
    }
    ResultMessage = ResultText::Done;
    return true;
}

QString TFile::commonValues() const
{
    return SqlText::literal(title) + QLatin1Char(',') + SqlText::literal(classname) + QLatin1Char(',') +
           SqlText::literal(bigclassname) + QLatin1Char(',') + SqlText::literal(writer) + QLatin1Char(',') +
           SqlText::literal(createtime);
}

QString TFile::commonAssignments() const
{
    return QStringLiteral("title=") + SqlText::literal(title) + QStringLiteral(",classname=") +
           SqlText::literal(classname) + QStringLiteral(",bigclassname=") + SqlText::literal(bigclassname) +
           QStringLiteral(",writer=") + SqlText::literal(writer) + QStringLiteral(",createtime=") +
           SqlText::literal(createtime);
}

void TFile::readCommonColumns(const QSqlQuery &row)
{
    title = UnquoteFromSql(row.value(1).toString(), false);
    writer = row.value(4).toString();
    bigclassname = row.value(3).toString();
    classname = row.value(2).toString();
    createtime = row.value(5).toString();
}

bool TFile::ExecuteStatement(const QString &sql)
{
    QString error;
    TMainData *data = dataModule(&error);
    if (data) {
        data->reportProgress(3);
        data->reportStatus(QStringLiteral("正在操作数据库！"));
        if (data->execute(sql, &error)) {
            data->reportProgress(100);
            data->reportStatus(QStringLiteral("数据库操作成功！"));
            return true;
        }
        data->reportStatus(error + FatalSuffix);
        data->reportProgress(0);
    }
    return false;
}

bool TFile::CountRows(const QString &sql, int &count)
{
    QString error;
    TMainData *data = dataModule(&error);
    if (!data)
        return false;
    int rows = 0;
    // The database counts: the same number as walking the rows, without carrying them here.
    if (!data->select(
            QStringLiteral("select count(*) from (") + sql + QLatin1Char(')'),
            [&rows](const QSqlQuery &row) { rows = row.value(0).toInt(); }, &error)) {
        data->reportStatus(error + FatalSuffix);
        data->reportProgress(0);
        return false;
    }
    count = rows;
    return true;
}

QString TFile::renameStatement(const QString &bigClass, const QString &className, const QString &rootText,
                               const QString &newName)
{
    const QString table = NodeRules::tableOfRoot(rootText);
    if (className.isEmpty())
        return QStringLiteral("update ") + table + QStringLiteral(" set bigclassname=") +
               SqlText::literal(newName) + QStringLiteral(" where bigclassname=") +
               SqlText::literal(bigClass);
    return QStringLiteral("update ") + table + QStringLiteral(" set classname=") + SqlText::literal(newName) +
           QStringLiteral(" where bigclassname=") + SqlText::literal(bigClass) +
           QStringLiteral(" and classname=") + SqlText::literal(className);
}

QString TFile::deleteStatement(const QString &bigClass, const QString &className, const QString &rootText)
{
    QString sql = QStringLiteral("delete from ") + NodeRules::tableOfRoot(rootText) +
                  QStringLiteral(" where bigclassname=") + SqlText::literal(bigClass);
    if (!className.isEmpty())
        sql += QStringLiteral(" and classname=") + SqlText::literal(className);
    return sql;
}

bool TFile::RenameCategoryRecords(const QString &bigClass, const QString &className, const QString &rootText,
                                  const QString &newName)
{
    return ExecuteStatement(renameStatement(bigClass, className, rootText, newName));
}

bool TFile::DeleteCategoryRecords(const QString &bigClass, const QString &className, const QString &rootText)
{
    return ExecuteStatement(deleteStatement(bigClass, className, rootText));
}
