#include "InsertSample.h"

#include "BenchFolder.h"
#include "SampleText.h"

#include "base/AnsiText.h"
#include "store/TextMaterial.h"
#include "tree/NodeRules.h"

namespace {
constexpr std::uint32_t Seed = 4711;
}

InsertSample::InsertSample()
{
    SampleText sample(Seed);
    for (int i = 0; i < Count; ++i)
        m_samples.append(
            {sample.title(), sample.author(), AnsiText::splitLines(QString::fromUtf8(sample.body()))});
}

void InsertSample::fill(TextMaterial &record, const Sample &sample)
{
    record.title = sample.title;
    record.category = BenchFolder::InsertCategory;
    record.author = sample.author;
    record.body = sample.body;
}

QList<QByteArray> InsertSample::statements() const
{
    QList<QByteArray> statements;
    for (const Sample &sample : m_samples) {
        TextMaterial record;
        fill(record, sample);
        statements.append(record.insertStatement().toUtf8());
    }
    return statements;
}

bool InsertSample::insertAll() const
{
    bool ok = true;
    for (const Sample &sample : m_samples) {
        TextMaterial record;
        fill(record, sample);
        ok = record.insert() && ok;
    }
    return ok;
}

QString InsertSample::removal()
{
    return Material::deleteStatement(BenchFolder::InsertCategory, QString(), NodeRules::TextRootText);
}
