#include "exchange/MaterialImporter.h"

#include "base/AnsiText.h"
#include "code/LanguageGuess.h"
#include "exchange/ImportPlan.h"
#include "exchange/ImportedFile.h"
#include "store/Database.h"
#include "store/InstanceMaterial.h"
#include "store/MaterialLanguages.h"
#include "store/SqlText.h"
#include "store/TextMaterial.h"
#include "tree/NodeRules.h"

#include <QDir>

namespace {
void fillCommon(Material &record, const MaterialFile &material, const QStringList &place)
{
    record.title = SqlText::toTokens(material.title, false);
    record.author = material.author;
    record.category = place.value(1);
    record.subcategory = place.value(2);
    const QString created = material.storedCreateTime();
    if (!created.isEmpty())
        record.createTime = created; // otherwise the record's own stamp: now
}

QStringList storedLines(const QString &text)
{
    return AnsiText::typedLines(SqlText::toTokens(text, true));
}

// The language a text material's file names, when it is not the one the material would be
// guessed to have; empty otherwise.
QString languageToStore(const MaterialFile &material)
{
    if (material.language.isEmpty() || material.kind == MaterialFile::InstanceKind)
        return QString();
    const QString guessed = LanguageGuess::of(material.title, AnsiText::typedLines(material.body));
    return material.language == guessed ? QString() : material.language;
}
} // namespace

QString MaterialImporter::statement(const MaterialFile &material, const QStringList &place, QString *reason)
{
    const bool instance = place.first() == NodeRules::InstanceRootText;
    QString sql;
    if (instance && material.kind != MaterialFile::InstanceKind) {
        *reason = QStringLiteral("不是实例资料的文件，只能导入到“文字资料”下的分类");
    } else if (!instance && material.kind == MaterialFile::InstanceKind) {
        *reason = QStringLiteral("是实例资料的文件，只能导入到“实例资料”下的分类");
    } else if (instance) {
        InstanceMaterial record;
        fillCommon(record, material, place);
        record.description = storedLines(material.body);
        record.path = material.path;
        sql = record.insertStatement();
    } else {
        TextMaterial record;
        fillCommon(record, material, place);
        record.body = storedLines(material.body);
        sql = record.insertStatement();
    }
    // A statement ends at a NUL character; only an escape in the front matter can bring one.
    if (sql.contains(QChar(u'\0'))) {
        *reason = QStringLiteral("文字中含有空字符（NUL）");
        sql.clear();
    }
    return sql;
}

ExchangeReport MaterialImporter::run(const std::function<bool(int done, int total)> &progress,
                                     const std::function<bool(QString *error)> &beforeCommit)
{
    ExchangeReport report = m_plan.report();
    Database *data = Database::current();
    if (!data) {
        report.outcome = ExchangeReport::Failed;
        report.error = QStringLiteral("数据模块尚未建立");
        return report;
    }
    data->pointAtProgramFolder();
    const QVector<ImportPlan::File> &files = m_plan.files();
    const QDir folder(m_plan.folder());
    const int total = static_cast<int>(files.size());
    int position = 0;
    QString languageStatement; // runs right after the insert of its material
    auto next = [&](QString *sql) {
        if (!languageStatement.isEmpty()) {
            *sql = languageStatement;
            languageStatement.clear();
            return true;
        }
        if (position >= total)
            return false;
        const ImportPlan::File &file = files.at(position++);
        MaterialFile material;
        QString reason;
        QString note;
        sql->clear();
        if (ImportedFile::read(file.path, &material, &reason, &note))
            *sql = statement(material, file.place, &reason);
        if (sql->isEmpty()) {
            report.skip(folder.relativeFilePath(file.path), reason);
            return true;
        }
        if (!note.isEmpty())
            report.change(QStringLiteral("文件“%1”%2").arg(folder.relativeFilePath(file.path), note));
        ++report.materials;
        const QString language = languageToStore(material);
        if (!language.isEmpty())
            languageStatement = MaterialLanguages::storeForLastInsertStatement(data->dialect(), language);
        return true;
    };
    const Database::BatchOutcome outcome = data->executeBatch(
        next, [&progress, &position, total](int) { return progress(position, total); }, &report.error,
        beforeCommit);
    if (outcome != Database::BatchOutcome::Committed) {
        report.outcome =
            outcome == Database::BatchOutcome::Cancelled ? ExchangeReport::Cancelled : ExchangeReport::Failed;
        report.materials = 0;
        report.categories = 0;
    }
    return report;
}
