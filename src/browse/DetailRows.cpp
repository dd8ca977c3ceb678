#include "browse/DetailRows.h"

#include "base/AnsiText.h"
#include "store/InstanceMaterial.h"
#include "store/SqlText.h"
#include "store/TextMaterial.h"
#include "tree/NodeRules.h"

namespace DetailRows {

namespace {
QList<DetailRow> commonRows(const Material &record)
{
    return {{QStringLiteral("名称:"), record.title, {}, 0},
            {QStringLiteral("分类:"), record.category + QStringLiteral("--->") + record.subcategory, {}, 0},
            {QStringLiteral("作者:"), record.author, {}, 0},
            {QStringLiteral("创建时间:"), record.createTime, {}, 0}};
}
} // namespace

QString childrenValue(const QStringList &children)
{
    if (children.isEmpty())
        return QStringLiteral("0个");
    return QStringLiteral("共%1个  它们是：").arg(children.size()) + children.join(QStringLiteral("， "));
}

QString preview(const QStringList &lines, int maxBytes)
{
    return AnsiText::leftBytes(AnsiText::joinLines(lines), maxBytes) + QStringLiteral("...     ");
}

QString countStatementOfKind(const QString &kindCaption)
{
    return QStringLiteral("select id from ") + NodeRules::tableOfRoot(kindCaption);
}

QString countStatementOfCategory(const QString &rootText, const QString &name, const QString &parentCategory)
{
    const QString prefix = QStringLiteral("select id from ") + NodeRules::tableOfRoot(rootText);
    if (!parentCategory.isEmpty())
        return prefix + QStringLiteral(" where classname=") + SqlText::literal(name) +
               QStringLiteral(" and bigclassname=") + SqlText::literal(parentCategory);
    return prefix + QStringLiteral(" where bigclassname=") + SqlText::literal(name);
}

QList<DetailRow> categoryRows(bool topLevel, const QString &children, const QString &count)
{
    return {
        {QStringLiteral("类型:"), topLevel ? QStringLiteral("总目录") : QStringLiteral("分类目录"), {}, 0},
        {QStringLiteral("拥有子分类："), children, {}, 0},
        {QStringLiteral("拥有资料数："), count, {}, 0}};
}

QList<DetailRow> textRows(const TextMaterial &record, qint64 id, bool browseInNewWindow)
{
    QList<DetailRow> rows = commonRows(record);
    rows.append({QStringLiteral("内容:"), preview(record.body, TextPreviewBytes),
                 browseInNewWindow ? ViewInNewWindow : ViewHere, id});
    return rows;
}

QList<DetailRow> instanceRows(const InstanceMaterial &record, qint64 id)
{
    QList<DetailRow> rows = commonRows(record);
    rows.append({QStringLiteral("简介:"), preview(record.description, AboutPreviewBytes), ViewAbout, id});
    rows.append({QStringLiteral("资料路径:"), record.path, Run, 0});
    return rows;
}

QStringList composedHeader(const TextMaterial &record)
{
    return QStringList{QStringLiteral("作者：") + record.author,
                       QString(),
                       QStringLiteral("所属分类：") + record.category + QStringLiteral("--->") +
                           record.subcategory,
                       QString(),
                       QStringLiteral("创建时间：") + record.createTime,
                       QString()};
}

QStringList composedText(const TextMaterial &record)
{
    return composedHeader(record) + record.body;
}

} // namespace DetailRows
