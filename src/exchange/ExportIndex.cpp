#include "exchange/ExportIndex.h"

#include "exchange/ExportLayout.h"
#include "exchange/FrontMatter.h"

#include <QFile>

#include <algorithm>

namespace {
const QString CategoriesKey = QStringLiteral("categories");
const QString FolderKey = QStringLiteral("folder");
const QString NameKey = QStringLiteral("name");
const QString Title = QStringLiteral("Zindrel 资料导出");

// Text that Markdown shows as it is: its marks escaped, line breaks and controls as blanks.
QString plain(const QString &text)
{
    static const QString marks = QStringLiteral("\\`*_[]<>#|~");
    QString result;
    result.reserve(text.size() + 8);
    for (const QChar ch : text) {
        if (ch.category() == QChar::Other_Control) {
            result += QLatin1Char(' ');
            continue;
        }
        if (marks.contains(ch))
            result += QLatin1Char('\\');
        result += ch;
    }
    return result;
}
} // namespace

void ExportIndex::addMaterial(int folder, const QString &title, const QString &fileName)
{
    if (folder >= m_entries.size())
        m_entries.resize(folder + 1);
    // A link without text would not show.
    const QString shown = title.trimmed().isEmpty() ? QStringLiteral("（无标题）") : plain(title);
    m_entries[folder].append({shown.toUtf8(), fileName.toUtf8()});
    ++m_materials;
}

QByteArray ExportIndex::toUtf8(const ExportLayout &layout, const QString &created) const
{
    FrontMatter fields;
    fields.append(QStringLiteral("title"), Title);
    fields.append(QStringLiteral("created"), created);
    fields.append(QStringLiteral("kind"), Kind);
    int categories = 0;
    const QVector<int> order = layout.treeOrder();
    for (int i : order) {
        fields.appendRecord(CategoriesKey,
                            {{FolderKey, layout.folder(i).path}, {NameKey, layout.folder(i).name}});
        categories += layout.folder(i).isRoot ? 0 : 1;
    }
    QByteArray text = fields.text().toUtf8();
    text += (QStringLiteral("\n# ") + Title +
             QStringLiteral("\n\n导出于%1，共%2份资料，%3个分类。\n")
                 .arg(created)
                 .arg(m_materials)
                 .arg(categories))
                .toUtf8();
    for (int i : order) {
        const ExportLayout::Folder &folder = layout.folder(i);
        QStringList heading;
        for (const QString &name : folder.names)
            heading.append(plain(name));
        text +=
            (QStringLiteral("\n## ") + heading.join(QStringLiteral(" / ")) + QStringLiteral("\n\n")).toUtf8();
        QVector<Entry> entries = m_entries.value(i);
        if (entries.isEmpty() && !folder.isRoot)
            text += QStringLiteral("（没有资料）\n").toUtf8();
        std::sort(entries.begin(), entries.end());
        const QByteArray path = folder.path.toUtf8();
        for (const Entry &entry : entries)
            text += "- [" + entry.first + "](<" + path + '/' + entry.second + ">)\n";
    }
    return text;
}

QVector<QPair<QString, QString>> ExportIndex::folderNames(const QString &text)
{
    FrontMatter fields;
    QString rest;
    QVector<QPair<QString, QString>> names;
    if (!FrontMatter::split(text, &fields, &rest) || fields.value(QStringLiteral("kind")) != Kind)
        return names;
    auto collect = [&names](const FrontMatter::Record &pairs) {
        QString folder;
        for (const auto &field : pairs) {
            if (field.first == FolderKey)
                folder = field.second;
            else if (field.first == NameKey && !folder.isEmpty())
                names.append({folder, field.second});
        }
    };
    const QVector<FrontMatter::Record> records = fields.records(CategoriesKey);
    for (const FrontMatter::Record &record : records)
        collect(record);
    // An index of an earlier export gave every folder and name as fields of the front matter.
    if (records.isEmpty())
        collect(fields.fields());
    return names;
}

QVector<QPair<QString, QString>> ExportIndex::readFolderNames(const QString &path)
{
    constexpr qsizetype MaxBytes = 16 * 1024 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray head;
    for (int fences = 0; fences < 2 && head.size() < MaxBytes;) {
        const QByteArray line = file.readLine();
        if (line.isEmpty() || (head.isEmpty() && line.trimmed() != "---"))
            break;
        head += line;
        fences += line.trimmed() == "---" ? 1 : 0;
    }
    return folderNames(QString::fromUtf8(head));
}
