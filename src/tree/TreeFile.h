#pragma once

#include "tree/TreeStore.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The category tree file MTS.qb: one line per node in display order, "+" before a first-level
// name, "++" before a deeper one, the node's image digit after the name.
class TreeFile : public TreeStore
{
public:
    static QString defaultPath();

    explicit TreeFile(const QString &path = defaultPath());

    // Throws TreeFileError when the file is missing, unreadable, or yields no node. A file written
    // by hand in UTF-8 is read as UTF-8 (see the implementation for how it is told apart).
    QVector<TreeNode> load() override;
    // Atomic, in GB18030. Before the first save over a file that had lines the loader could not
    // place, bytes that do not read back as they were, or that was read as UTF-8, the original is
    // kept beside it as MTS.qb.bak.
    bool save(const QVector<TreeNode> &roots, QString *error = nullptr) override;
    QString name() const override { return QStringLiteral("分类文件MTS.qb"); }

    int skippedLines() const { return m_skippedLines; }

    // An empty line, a category line before any root, or a second-level line with no
    // first-level category before it cannot be placed and is skipped.
    static QVector<TreeNode> parse(const QStringList &lines, int *skippedLines = nullptr);
    static QStringList format(const QVector<TreeNode> &roots);

private:
    QString m_path;
    int m_skippedLines = 0;
    bool m_backupPending = false;
};
