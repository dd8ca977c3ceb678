#pragma once

#include "exchange/ExportWriter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class MaterialListModel;
class QProgressDialog;
class QTreeWidget;
class QWidget;
class TreeStore;
struct ExchangeReport;

// "导出资料…" and "导入资料…": materials out to a folder of Markdown files and back in; and
// "上传到共享资料库…": the local base into an empty shared one. Each shows its progress in a
// dialog that can cancel it and on the status line, lets the window work meanwhile, and ends
// with a report. An import's categories are saved with the tree in the materials' transaction;
// both announce when the list must be read again.
class ExchangeCommands : public QObject
{
    Q_OBJECT
public:
    // The tree's selection says what to export and where to import; the search's hits are what
    // "搜索结果" exports; an import's categories are kept where the tree is; dialogs open over the
    // window.
    ExchangeCommands(QTreeWidget *tree, const MaterialListModel *searchResults, TreeStore *treeStore,
                     QWidget *window);

public slots:
    // The selected category with its sub-categories, a root, the last search's hits, or with
    // nothing selected the whole base, into a new folder of a folder the person picks.
    void exportMaterials();
    // A folder of .md and .txt files into the selected category (the whole base with nothing
    // selected).
    void importMaterials();
    // Data.QBD and MTS.qb of the program folder, copied to the empty shared base of Base.ini; the
    // local files stay as they are.
    void uploadToSharedBase();

signals:
    void statusChanged(const QString &text);
    void progressChanged(int value);
    void listChanged();

private:
    // What the tree's selection exports; empty, after a message, when there is nothing.
    QVector<ExportWriter::Part> exportParts() const;
    QString askFolder(const QString &caption, const QString &name);
    void prepareProgress(QProgressDialog &dialog, const QString &caption);
    // Shows where the work stands now and then, letting the window work; false when the person
    // cancelled.
    bool showProgress(QProgressDialog &dialog, const QString &text, int done, int total);
    void finish(const QString &caption, const QString &summary, const ExchangeReport &report);

    QTreeWidget *m_tree;
    const MaterialListModel *m_searchResults;
    TreeStore *m_treeStore;
    QWidget *m_window;
    QString m_lastFolder;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceUpdate;
    bool m_running = false;
};
