#include "search/SearchStatement.h"

#include "browse/ListEntry.h"
#include "store/SqlDialect.h"
#include "store/SqlText.h"
#include "tree/NodeRules.h"

namespace {
// The date part of a stored creation time, so that texts compare in time order.
const QString DateFormat = QStringLiteral("yyyy-MM-dd");
} // namespace

const QString SearchStatement::AllCategories = QStringLiteral("全部类别");

QString SearchStatement::refusal() const
{
    if (kind.isEmpty() || category.isEmpty() || subcategory.isEmpty())
        return QStringLiteral("请选择搜索范围！");
    if (keyword.isEmpty() && author.isEmpty())
        return QStringLiteral("标题关键字和作者至少填写一样！");
    // The database refuses a LIKE pattern longer than this many bytes.
    constexpr qsizetype LikePatternLimit = 50000;
    if (SqlText::toTokens(keyword, false).toUtf8().size() + 2 > LikePatternLimit)
        return QStringLiteral("标题关键字太长了，请缩短后再搜索。");
    return QString();
}

bool SearchStatement::categoryRestricted() const
{
    return category != AllCategories || subcategory != AllCategories;
}

QString SearchStatement::condition() const
{
    QString text;
    if (category != AllCategories)
        text += QStringLiteral("bigclassname=") + SqlText::literal(category) + QLatin1Char(' ');
    if (subcategory != AllCategories)
        text += QStringLiteral("and classname=") + SqlText::literal(subcategory) + QLatin1Char(' ');

    const QString title =
        SqlText::literal(QLatin1Char('%') + SqlText::toTokens(keyword, false) + QLatin1Char('%'));
    const QString writer = SqlText::literal(author);
    const SqlDialect dialect = SqlDialect::inUse();
    if (categoryRestricted()) {
        if (!keyword.isEmpty())
            text += QStringLiteral("and ") + dialect.like(QStringLiteral("title"), title);
        if (!author.isEmpty())
            text += QStringLiteral(" and writer=") + writer;
    } else if (!keyword.isEmpty()) {
        text += dialect.like(QStringLiteral("title"), title);
        if (!author.isEmpty())
            text += QStringLiteral(" and writer=") + writer;
    } else if (!author.isEmpty()) {
        text += QStringLiteral("writer=") + writer;
    }

    // Both bounds exclusive; a window that is empty or reversed is left out.
    if (dateWindow && begin < end)
        text += QStringLiteral(" and createtime<") + SqlText::literal(end.toString(DateFormat)) +
                QStringLiteral(" and createtime>") + SqlText::literal(begin.toString(DateFormat));
    return text;
}

QString SearchStatement::text() const
{
    return QStringLiteral("select id,title from ") + NodeRules::tableOfRoot(kind) +
           QStringLiteral(" where ") + condition() +
           SqlDialect::inUse().searchOrder(!categoryRestricted() && !author.isEmpty());
}

int SearchStatement::hitImage() const
{
    return kind == NodeRules::TextRootText ? ListEntry::TextMaterial : ListEntry::InstanceMaterial;
}
