#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class InstanceMaterial;
class TextMaterial;

// One row of the detail pane: a caption, its value, and the caption of the row's link, if any.
struct DetailRow
{
    QString caption;
    QString value;
    QString link;
    qint64 linkTag = 0;

    bool operator==(const DetailRow &other) const
    {
        return caption == other.caption && value == other.value && link == other.link &&
               linkTag == other.linkTag;
    }
};

// What the detail pane says about a category or a material.
namespace DetailRows {

inline const QString ViewHere = QStringLiteral("在当前窗口浏览");
inline const QString ViewInNewWindow = QStringLiteral("在新窗口中浏览");
inline const QString ViewAbout = QStringLiteral("在新窗口浏览简介");
inline const QString Run = QStringLiteral("运行资料");

constexpr int TextPreviewBytes = 30;
constexpr int AboutPreviewBytes = 60;

// "0个", or "共n个  它们是：" and the names joined by "， ".
QString childrenValue(const QStringList &children);
// The lines joined with CR LF after each, cut at maxBytes without splitting a character,
// then "..." and five blanks.
QString preview(const QStringList &lines, int maxBytes);

// The statement that counts the materials of a top-level kind (its caption).
QString countStatementOfKind(const QString &kindCaption);
// The statement that counts the materials of a category node. A node with a parent category
// counts its own pair; any other counts its whole first-level category.
QString countStatementOfCategory(const QString &rootText, const QString &name, const QString &parentCategory);

QList<DetailRow> categoryRows(bool topLevel, const QString &children, const QString &count);
QList<DetailRow> textRows(const TextMaterial &record, qint64 id, bool browseInNewWindow);
QList<DetailRow> instanceRows(const InstanceMaterial &record, qint64 id);

// The text a viewer shows for a text material: the lines that tell its author, category and
// creation time, then its body.
QStringList composedHeader(const TextMaterial &record);
QStringList composedText(const TextMaterial &record);

} // namespace DetailRows
