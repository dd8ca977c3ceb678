#pragma once

#include "store/FullTextIndex.h"
#include "store/FullTextQuery.h"

#include <QObject>

class MaterialList;
class QTreeWidget;

// The full-text search as the main window offers it: brings the index up to date at start, runs
// a query typed into the tool bar's box, puts the hits where the search dialog puts its hits and
// shows them under "搜索结果". Reports on the status line and the progress bar through signals.
class FullTextSearch : public QObject
{
    Q_OBJECT
public:
    // A build of at least this many materials reports its progress; smaller work goes unnoticed.
    static constexpr int ReportedBuild = 1000;

    FullTextSearch(QTreeWidget *tree, MaterialList *list, QObject *parent);

    // The query whose hits "搜索结果" holds; empty once other hits have taken their place.
    const FullTextQuery &shownQuery() const { return m_shownQuery; }
    // How many materials the last search found, listed or not.
    qint64 lastFound() const { return m_lastFound; }

public slots:
    void prepareIndex();
    void search(const QString &typed);

signals:
    void statusChanged(const QString &text);
    void progressChanged(int value);
    void shownQueryChanged(const FullTextQuery &query);

private:
    // Reports a build between its batches, keeping the window painted.
    FullTextIndex::Progress buildReporter(int *reportedTotal);
    QString failure(const QString &error) const;
    void showHits(const FullTextQuery &query, const QVector<FullTextHit> &hits);
    void forgetQuery();

    QTreeWidget *m_tree;
    MaterialList *m_list;
    FullTextQuery m_shownQuery;
    bool m_filling = false;
    qint64 m_lastFound = 0;
};
