#pragma once

#include "exchange/ExchangeReport.h"
#include "tree/TreeFile.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class ExportFolder;
class ExportIndex;
class ExportLayout;
class QSqlQuery;

// Writes materials out as Markdown files (see MaterialFile) into a new folder of the chosen
// folder (see ExportFolder), one folder per category (see ExportLayout), with an index.md at
// the top. Materials are read by id in batches, each batch one operation on the database, so that
// the connection is closed whenever the caller's progress function lets the window work.
class ExportWriter
{
public:
    // One folder at the top of the export: a root or a category with all below it, or the
    // materials of a root with the given ids (a search's hits) under their own categories.
    struct Part
    {
        QStringList names;          // from the root down to the exported node
        QVector<TreeNode> children; // the node's sub-categories, exported also when empty
        QVector<qint64> ids;        // with onlyIds, the materials to export
        bool onlyIds = false;       // otherwise every material of the node and below it
    };

    explicit ExportWriter(const QVector<Part> &parts) : m_parts(parts) {}

    // progress(done, total) is called after every material; false cancels the export.
    ExchangeReport run(const QString &target, const std::function<bool(int done, int total)> &progress);
    // Where the export went, once it is done.
    QString folder() const { return m_folder; }
    // Whether the run made its folder (and so had one to remove when it failed).
    bool madeFolder() const { return m_madeFolder; }

private:
    struct Row
    {
        QStringList place; // root, category and, when there is one, sub-category
        QByteArray text;   // the file
        QString title;
    };

    // The ids of every part's materials, and how many they are together.
    bool collectIds(int *total, QString *error);
    // The rows of the part's next batch of ids from the position on.
    static QString batchStatement(const Part &part, int position);
    // A text material's language is the one stored for it, else the one guessed.
    static Row readRow(const QSqlQuery &query, bool instance, const QHash<qint64, QString> &languages);
    bool writePart(int partIndex, ExportFolder &folder, ExportLayout &layout, ExportIndex &index,
                   const std::function<bool()> &proceed, ExchangeReport *report);
    bool makeNewFolders(ExportFolder &folder, const ExportLayout &layout, QString *error);

    QVector<Part> m_parts;
    QString m_folder;
    bool m_madeFolder = false;
    QVector<int> m_tops; // the layout's folder of each part
    int m_madeFolders = 0;
    int m_renamedFiles = 0;
};
