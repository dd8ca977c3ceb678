#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

class HighlightDefinitions;
class QPlainTextEdit;
class QStackedWidget;
class QTextBrowser;
class SourceHighlighter;

// What a viewer shows of one material: first lines that tell about it, as they stand, then its
// text in the look its language asks for. Prose in the configured face; code in the system's
// fixed-pitch face at the configured size, coloured; Markdown rendered (its code blocks coloured
// and fixed-pitch), or as its source when asked. Read-only. A long text shows its beginning at
// once and the rest follows in parts on the event loop, coloured in slices as it comes.
class MaterialTextView : public QWidget
{
    Q_OBJECT
public:
    // Markdown longer than this many characters shows as its source: Qt's reader would hold the
    // window for seconds.
    static constexpr int LongestRendered = 1024 * 1024;
    // Characters of a text's source shown at once, and in each later part.
    static constexpr int LoadedAtOnce = 64 * 1024;

    // The text view keeps the object name given: what finds it.
    MaterialTextView(HighlightDefinitions *definitions, const QString &textName, QWidget *parent);

    // The text as it stands: prose, code, or Markdown's source.
    QPlainTextEdit *sourceView() const { return m_source; }
    // Rendered Markdown.
    QTextBrowser *renderedView() const { return m_rendered; }
    // The view in front.
    QWidget *shownView() const;
    QTextDocument *shownDocument() const;

    // The look from the settings: background, text colour and the prose face.
    void setLook(const QColor &background, const QColor &text, const QFont &font);
    // Shows the lines; the language decides how the body looks.
    void showText(const QStringList &firstLines, const QStringList &body, const QString &language);
    // Shows the same text in another language.
    void setLanguage(const QString &language);
    QString language() const { return m_language; }
    // Markdown as its source rather than rendered.
    void setShowSource(bool source);
    bool showsSource() const { return m_showSource; }
    void clear();
    // The source view's text is still coming in parts.
    bool isLoading() const { return m_loading.isActive(); }

    // Marks (from TermMarks::of over shownDocument()) shown, the first scrolled into view.
    void showMarks(const QList<QTextEdit::ExtraSelection> &marks);

public slots:
    void selectAll();
    void copy();

signals:
    // Why the text is not shown as its language asks (a definition missing, too long to
    // render); empty once it is.
    void problemReported(const QString &problem);
    // The whole text is in the view: what is marked or searched in it is all there.
    void textComplete();

private:
    void present();
    // The font at the configured size, and the tab stops it gives.
    QFont sized(const QFont &face) const;
    void applyLook(QWidget *view, const QFont &font);
    // The source view's next text, in a document of its own with its own highlighter: the old
    // one is taken apart only after the new one is on screen.
    void showSource(const QString &text, const QFont &face);
    void loadNextPart();
    void finishLoading();
    void dropRetiredDocuments();
    bool isRendered() const;
    // Rendered Markdown's code blocks stand on a shade of the background, and its links take a
    // colour that reads on it.
    void fitToBackground(QTextDocument *document) const;

    HighlightDefinitions *m_definitions;
    QStackedWidget *m_pages;
    QPlainTextEdit *m_source;
    QTextBrowser *m_rendered;
    SourceHighlighter *m_sourceHighlighter = nullptr; // of the source view's document
    SourceHighlighter *m_renderedHighlighter;
    QColor m_background = Qt::white;
    QColor m_text = Qt::black;
    QColor m_codeBackground = QColor(240, 240, 240);
    QColor m_link = Qt::blue;
    QFont m_font;
    QStringList m_firstLines;
    QStringList m_body;
    QString m_language;
    bool m_showSource = false;
    QTimer m_loading;
    QString m_pending;          // the whole source text while it is being loaded
    qsizetype m_loadedUpTo = 0; // of m_pending
    QList<QPointer<QTextDocument>> m_retired;
    QTimer m_dropping; // takes the retired documents apart
};
