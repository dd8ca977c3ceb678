#pragma once

#include "store/FullTextQuery.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QWidget>

class HighlightDefinitions;
class LanguageBar;
class MaterialTextView;
class QPlainTextEdit;
class TextMaterial;

// A viewer's reading area: a text material's text in its language, with the bar where the reader
// sets that language (remembered for the material) or shows Markdown's source; or an instance
// material's description, which is plain text. The in-window viewer and the separate viewer are
// each one of these.
class MaterialReader : public QWidget
{
    Q_OBJECT
public:
    MaterialReader(HighlightDefinitions *definitions, const QString &textName, QWidget *parent);

    MaterialTextView *textView() const { return m_view; }
    // The text as it stands (prose, code, Markdown's source): what tests and copies read.
    QPlainTextEdit *sourceView() const;
    LanguageBar *languageBar() const { return m_bar; }

    // The background from the settings, applied to what is shown next.
    void setBackColor(int color);
    // Reads the viewer font from the settings file; a line that cannot be read is reported in a
    // message box on messageParent, and what was read before it applies.
    void readFont(QWidget *messageParent);

    // The text material's first lines and body, in the language stored for it or guessed from it.
    void showTextMaterial(const TextMaterial &record, qint64 id);
    void showDescription(const QStringList &lines);
    void clear();
    // Marks where a full-text search's terms occur; an empty query takes marks away.
    void markTerms(const FullTextQuery &query);

public slots:
    void selectAll();
    void copy();

signals:
    // What the status line should say: why the text is shown plain, or that a language was not
    // remembered.
    void statusChanged(const QString &text);

private:
    void chooseLanguage(const QString &language);
    void showMarks();
    void applyLook();

    LanguageBar *m_bar;
    MaterialTextView *m_view;
    qint64 m_id = 0;       // the text material shown; 0 for a description
    FullTextQuery m_query; // whose terms are marked
    QColor m_background = Qt::white;
    QColor m_text = Qt::black;
    QFont m_font;
};
