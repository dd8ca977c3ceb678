#include "exchange/ExportWriter.h"

#include "base/AnsiText.h"
#include "base/Clock.h"
#include "code/LanguageGuess.h"
#include "exchange/ExportFolder.h"
#include "exchange/ExportIndex.h"
#include "exchange/ExportLayout.h"
#include "exchange/MaterialFile.h"
#include "store/CreateTime.h"
#include "store/Database.h"
#include "store/MaterialLanguages.h"
#include "store/SqlText.h"
#include "tree/NodeRules.h"

#include <QSqlQuery>
#include <QVariant>

namespace {
constexpr int BatchSize = 500;
const QString NoDatabase = QStringLiteral("数据模块尚未建立");

bool isInstanceRoot(const QStringList &names)
{
    return NodeRules::tableOfRoot(names.first()) != QLatin1String("textfile");
}

// The conditions that keep a select to the part's category; "1=1" for a whole root.
QString categoryConditions(const QStringList &names)
{
    QString conditions = QStringLiteral("1=1");
    if (names.size() > 1)
        conditions += QStringLiteral(" and bigclassname=") + SqlText::literal(names.at(1));
    if (names.size() > 2)
        conditions += QStringLiteral(" and classname=") + SqlText::literal(names.at(2));
    return conditions;
}

void addTree(ExportLayout &layout, int folder, const QVector<TreeNode> &children)
{
    for (const TreeNode &child : children)
        addTree(layout, layout.child(folder, child.name), child.children);
}
} // namespace

bool ExportWriter::collectIds(int *total, QString *error)
{
    Database *data = Database::current();
    if (!data) {
        *error = NoDatabase;
        return false;
    }
    data->pointAtProgramFolder();
    *total = 0;
    for (Part &part : m_parts) {
        if (!part.onlyIds) {
            // Read from an index alone; the rows follow by id, a batch at a time.
            part.ids.clear();
            const QString sql = QStringLiteral("select id from ") +
                                NodeRules::tableOfRoot(part.names.first()) + QStringLiteral(" where ") +
                                categoryConditions(part.names) + QStringLiteral(" order by id");
            if (!data->select(
                    sql, [&part](const QSqlQuery &row) { part.ids.append(row.value(0).toLongLong()); },
                    error))
                return false;
        }
        *total += static_cast<int>(part.ids.size());
    }
    return true;
}

QString ExportWriter::batchStatement(const Part &part, int position)
{
    QStringList ids;
    for (qint64 id : part.ids.mid(position, BatchSize))
        ids.append(QString::number(id));
    return QStringLiteral("select id,title,classname,bigclassname,writer,createtime,") +
           (isInstanceRoot(part.names) ? QStringLiteral("about,fpath from ") : QStringLiteral("main from ")) +
           NodeRules::tableOfRoot(part.names.first()) + QStringLiteral(" where id in (") +
           ids.join(QLatin1Char(',')) + QStringLiteral(") order by id");
}

ExportWriter::Row ExportWriter::readRow(const QSqlQuery &query, bool instance,
                                        const QHash<qint64, QString> &languages)
{
    MaterialFile file;
    file.title = SqlText::fromTokens(query.value(1).toString(), false);
    file.author = query.value(4).toString();
    file.created = query.value(5).toString();
    file.kind = instance ? MaterialFile::InstanceKind : MaterialFile::TextKind;
    const QStringList lines = AnsiText::splitLines(SqlText::fromTokens(query.value(6).toString(), true));
    // The stored lines joined by LF: the text as it was typed.
    file.body = lines.join(QLatin1Char('\n'));
    if (instance)
        file.path = query.value(7).toString();
    else
        file.language = languages.contains(query.value(0).toLongLong())
                            ? languages.value(query.value(0).toLongLong())
                            : LanguageGuess::of(file.title, lines);
    Row row;
    row.place = QStringList{query.value(3).toString()};
    if (!query.value(2).toString().isEmpty())
        row.place.append(query.value(2).toString());
    row.text = file.text().toUtf8();
    row.title = file.title;
    return row;
}

bool ExportWriter::makeNewFolders(ExportFolder &folder, const ExportLayout &layout, QString *error)
{
    for (; m_madeFolders < layout.count(); ++m_madeFolders) {
        if (!folder.makeFolder(layout.folder(m_madeFolders).path, error))
            return false;
    }
    return true;
}

bool ExportWriter::writePart(int partIndex, ExportFolder &folder, ExportLayout &layout, ExportIndex &index,
                             const std::function<bool()> &proceed, ExchangeReport *report)
{
    const Part &part = m_parts.at(partIndex);
    const bool instance = isInstanceRoot(part.names);
    const int top = m_tops.at(partIndex);
    for (int position = 0; position < part.ids.size(); position += BatchSize) {
        QVector<Row> rows;
        const QHash<qint64, QString> languages =
            instance ? QHash<qint64, QString>()
                     : MaterialLanguages::stored(*Database::current(), part.ids.mid(position, BatchSize));
        if (!Database::current()->select(
                batchStatement(part, position),
                [&rows, instance, &languages](const QSqlQuery &query) {
                    rows.append(readRow(query, instance, languages));
                },
                &report->error)) {
            report->outcome = ExchangeReport::Failed;
            return false;
        }
        for (const Row &row : rows) {
            // The row's category below the part's own: the part's names past the root are its.
            const int target = layout.descendant(top, row.place.mid(part.names.size() - 1));
            const QString name = layout.claimFile(target, row.title);
            if (name != row.title + QStringLiteral(".md"))
                ++m_renamedFiles;
            const QString path = layout.folder(target).path + QLatin1Char('/') + name;
            if (!makeNewFolders(folder, layout, &report->error) ||
                !folder.writeFile(path, row.text, &report->error)) {
                report->outcome = ExchangeReport::Failed;
                return false;
            }
            index.addMaterial(target, row.title, name);
            ++report->materials;
            if (!proceed()) {
                report->outcome = ExchangeReport::Cancelled;
                return false;
            }
        }
    }
    return true;
}

ExchangeReport ExportWriter::run(const QString &target,
                                 const std::function<bool(int done, int total)> &progress)
{
    ExchangeReport report;
    report.outcome = ExchangeReport::Failed;
    m_tops.clear();
    m_madeFolders = 0;
    m_renamedFiles = 0;
    int total = 0;
    ExportFolder folder;
    const QDateTime now = Clock::currentDateTime();
    m_madeFolder = false;
    if (!collectIds(&total, &report.error) || !folder.create(target, now, &report.error))
        return report;
    m_madeFolder = true;
    report.outcome = ExchangeReport::Done;
    ExportLayout layout;
    for (const Part &part : m_parts) {
        m_tops.append(layout.addTop(part.names));
        addTree(layout, m_tops.last(), part.children);
    }
    ExportIndex index;
    int done = 0;
    auto proceed = [&done, total, &progress] { return progress(++done, total); };
    if (!makeNewFolders(folder, layout, &report.error)) {
        report.outcome = ExchangeReport::Failed;
        return report;
    }
    for (int i = 0; i < m_parts.size(); ++i) {
        if (!writePart(i, folder, layout, index, proceed, &report))
            return report;
    }
    if (!folder.writeFile(ExportIndex::FileName, index.toUtf8(layout, CreateTime::format(now)),
                          &report.error) ||
        !folder.finish(&report.error)) {
        report.outcome = ExchangeReport::Failed;
        return report;
    }
    for (int i = 0; i < layout.count(); ++i) {
        if (layout.folder(i).isRoot)
            continue;
        ++report.categories;
        if (layout.folder(i).path.section(QLatin1Char('/'), -1) != layout.folder(i).name)
            report.change(
                QStringLiteral("分类“%1”的文件夹名为“%2”")
                    .arg(layout.folder(i).names.join(QStringLiteral(" / ")), layout.folder(i).path));
    }
    if (m_renamedFiles > 0)
        report.change(
            QStringLiteral("%1个文件名与标题不同（标题中有文件名不能用的字符、太长或与别的标题相同）；"
                           "每个文件开头都记着完整的标题")
                .arg(m_renamedFiles));
    m_folder = folder.path();
    return report;
}
