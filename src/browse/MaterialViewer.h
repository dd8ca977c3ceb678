#pragma once

#include <QString>
#include <QWidget>

#include <memory>

class FullTextQuery;
class HighlightDefinitions;
class MaterialReader;
class QStatusBar;

// A separate viewer: a window of its own, above the others, showing one material's text or an
// instance's description, with a status line that says why a text is shown plain. It lives
// until the user closes it.
class MaterialViewer : public QWidget
{
    Q_OBJECT
public:
    // What a refill shows.
    enum Kind { TextKind = 0, DescriptionKind = 1 };

    // The link's caption says what to show of the material with that id.
    MaterialViewer(const std::shared_ptr<HighlightDefinitions> &definitions, const QString &linkCaption,
                   qint64 id, int backColor);

    // The visible viewer with that caption, or nullptr.
    static MaterialViewer *findVisible(const QString &caption);
    // The colour a refill applies; the main window's setting may have changed since opening.
    void setBackColor(int color) { m_backColor = color; }
    // Marks where a full-text search's terms occur in the text shown; an empty query, none.
    void markTerms(const FullTextQuery &query);

public slots:
    void selectAll();
    void copy();

signals:
    void closed();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void refill(int kind, qint64 id);
    void fill(int kind, qint64 id);

    std::shared_ptr<HighlightDefinitions> m_definitions;
    MaterialReader *m_reader;
    QStatusBar *m_statusBar;
    int m_backColor;
};
