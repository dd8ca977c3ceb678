#pragma once

#include "store/FullTextQuery.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class ActionLink;
class HighlightDefinitions;
class InstanceLauncher;
class MaterialReader;
class QModelIndex;
class QTreeWidget;
class QWidget;
struct DetailRow;

// The detail pane below the material list: describes the selected entry, and opens a
// material's text in the in-window viewer or a separate viewer, or runs its file.
class DetailPane : public QObject
{
    Q_OBJECT
public:
    // How materials open, from the settings.
    struct ViewerSettings
    {
        bool browseInNewWindow = false;
        bool windowPerMaterial = false;
        int backColor = 16777215;
    };

    // The pane's rows and the in-window viewer are children of the panel; the category tree
    // names what a category entry holds.
    DetailPane(QTreeWidget *categoryTree, QWidget *panel);
    ~DetailPane() override;

    QTreeWidget *rows() const { return m_rows; }
    // The in-window viewer, in the pane's place when shown.
    MaterialReader *viewer() const { return m_viewer; }
    QList<ActionLink *> links() const { return m_links; }
    void setViewerSettings(const ViewerSettings &settings) { m_settings = settings; }
    const ViewerSettings &viewerSettings() const { return m_settings; }
    // The path "运行资料" runs: the instance shown last.
    const QString &runPath() const { return m_runPath; }
    InstanceLauncher *launcher() const { return m_launcher; }

public slots:
    // A list entry became selected (or no longer is).
    void showEntry(const QModelIndex &entry, bool selected);
    // Removes every row and link.
    void clear();
    void hideViewer();
    void viewHere(ActionLink *link);
    void viewInNewWindow(ActionLink *link);
    void runMaterial();
    // A material entry opened from the list: its text where the settings show it, or its file
    // run or opened. Other entries are the navigator's.
    void openEntry(const QModelIndex &entry);
    // The full-text query whose hits "搜索结果" holds: its hits show where the terms occur.
    void setFullTextQuery(const FullTextQuery &query) { m_fullTextQuery = query; }

signals:
    // What the in-window viewer says on the status line.
    void statusChanged(const QString &text);

private:
    void removeLinks();
    void showHere(qint64 id);
    void showInNewWindow(const QString &linkCaption, qint64 id);
    void showRows(const QList<DetailRow> &rows);
    void showCategory(const QString &caption, int image);
    QWidget *window() const;
    // The full-text query while its hits are listed; an empty one otherwise.
    FullTextQuery listedQuery() const;
    // The preview row shows the text around the first occurrence instead of the text's start.
    void showMatchContext(QList<DetailRow> &rows, const QStringList &lines) const;

    // Read once, for both kinds of viewer; a separate viewer may outlive the pane.
    std::shared_ptr<HighlightDefinitions> m_definitions;
    QTreeWidget *m_categoryTree;
    QTreeWidget *m_rows;
    MaterialReader *m_viewer;
    InstanceLauncher *m_launcher;
    QList<ActionLink *> m_links;
    ViewerSettings m_settings;
    QString m_runPath;           // the path of the instance shown last: "运行资料" runs it
    QString m_lastViewerCaption; // the separate viewer filled last; emptied when any viewer closes
    FullTextQuery m_fullTextQuery;
};
