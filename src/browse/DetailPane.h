#pragma once

#include <QList>
#include <QObject>
#include <QString>

class ActionLink;
class QModelIndex;
class QPlainTextEdit;
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

    QTreeWidget *rows() const { return m_rows; }
    QPlainTextEdit *viewer() const { return m_viewer; }
    QList<ActionLink *> links() const { return m_links; }
    void setViewerSettings(const ViewerSettings &settings) { m_settings = settings; }
    const ViewerSettings &viewerSettings() const { return m_settings; }
    // The path "运行资料" runs: the instance shown last.
    const QString &runPath() const { return m_runPath; }

public slots:
    // A list entry became selected (or no longer is).
    void showEntry(const QModelIndex &entry, bool selected);
    // Removes every row and link.
    void clear();
    void hideViewer();
    void viewHere(ActionLink *link);
    void viewInNewWindow(ActionLink *link);
    void runMaterial();

private:
    void removeLinks();
    void showRows(const QList<DetailRow> &rows);
    void showCategory(const QString &caption, int image);
    QWidget *window() const;

    QTreeWidget *m_categoryTree;
    QTreeWidget *m_rows;
    QPlainTextEdit *m_viewer;
    QList<ActionLink *> m_links;
    ViewerSettings m_settings;
    QString m_runPath;           // the path of the instance shown last: "运行资料" runs it
    QString m_lastViewerCaption; // the separate viewer filled last; emptied when any viewer closes
};
