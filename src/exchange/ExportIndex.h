#pragma once

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

class ExportLayout;

// index.md at the top of an export: a front matter whose list "categories" names every folder's
// category (a safe folder name may differ from it) in the tree's order, then every exported material by
// category with a relative link, for a person and for the import.
class ExportIndex
{
public:
    static inline const QString FileName = QStringLiteral("index.md");
    static inline const QString Kind = QStringLiteral("index");

    void addMaterial(int folder, const QString &title, const QString &fileName);
    QByteArray toUtf8(const ExportLayout &layout, const QString &created) const;

    // The category names an index gives its folders, by relative path, in its order; nothing
    // when the text is no index of an export.
    static QVector<QPair<QString, QString>> folderNames(const QString &text);
    // The same of the index file at the path, of which only the front matter is read: the list
    // below it runs to tens of megabytes in a large export.
    static QVector<QPair<QString, QString>> readFolderNames(const QString &path);

private:
    using Entry = QPair<QByteArray, QByteArray>; // the title as Markdown shows it, the file name
    QVector<QVector<Entry>> m_entries;           // by folder
    int m_materials = 0;
};
