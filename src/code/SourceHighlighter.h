#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTimer>

#include <srchilite/highlightstate.h>

#include <map>
#include <memory>
#include <vector>

class HighlightDefinitions;

namespace srchilite {
class FormatterManager;
struct FormatterParams;
class SourceHighlighter;
} // namespace srchilite

// Colours a document with Source-highlight's definitions, a line (a text block) at a time. The
// library's state at the end of each block is kept with the block, so that a comment or a string
// that spans lines stays coloured. Either the whole document is in one language, or (a rendered
// Markdown document) each code block in the language of its fence. A large document is coloured
// in slices on the event loop, the first at once: the viewer shows its first screen coloured and
// keeps answering while the rest follows.
class SourceHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    // Text of about this many characters is coloured in one slice.
    static constexpr int SliceCharacters = 16000;
    // A longer line is left as it is: the library's expressions would take seconds over it.
    static constexpr int LongestLine = 20000;

    SourceHighlighter(HighlightDefinitions *definitions, QTextDocument *document);
    ~SourceHighlighter() override;

    // Colours the document from the block with that number on as the language; plain text and
    // Markdown as it is. False, with the reason in problem(), when the language has a definition
    // the library cannot give.
    bool setLanguage(const QString &language, bool darkBackground, int firstBlock = 0);
    // Colours the code blocks of a document that Qt read from Markdown, each by its fence's info
    // string; the rest of the document keeps its own look.
    void setFencedBlocks(bool darkBackground);
    // Stops colouring before the document's text is replaced: the new text then comes without
    // colours at once, and setLanguage() or setFencedBlocks() colours it.
    void forgetColours();
    // Text was added at the end: it is coloured in slices too.
    void continueColouring();
    // Why the document is not coloured as asked; empty when it is.
    QString problem() const { return m_problem; }
    // Whether the whole document has been coloured.
    bool isFinished() const { return !m_slices.isActive(); }

signals:
    // The library failed while colouring: the rest of the document stays plain.
    void failed(const QString &problem);
    // The last slice is done.
    void finished();

protected:
    void highlightBlock(const QString &text) override;

private:
    struct Span
    {
        int start;  // in bytes of the line's UTF-8
        int length; // in bytes
        const QTextCharFormat *format;
    };
    class Collector;
    class BlockState;

    // Starts colouring the document from its first block again.
    void restart(bool darkBackground);
    void colourNextSlice();
    // The library's highlighter for the language; null when there is none to be had.
    srchilite::SourceHighlighter *highlighterFor(const QString &language);
    void colour(const QString &text, srchilite::SourceHighlighter *highlighter);
    void fail(const QString &problem);

    HighlightDefinitions *m_definitions;
    QString m_language; // of the whole document; empty for fenced blocks
    bool m_fencedBlocks = false;
    bool m_dark = false;
    int m_firstBlock = 0;    // blocks before this one are no code
    int m_horizon = 0;       // blocks before this one are coloured
    bool m_coloured = false; // some block may hold colours
    QTimer m_slices;
    QString m_problem;
    std::vector<Span> m_spans;
    std::vector<QTextCharFormat> m_formats; // one per element that has a look
    std::unique_ptr<srchilite::FormatterManager> m_formatters;
    std::unique_ptr<srchilite::FormatterParams> m_params;
    // One library highlighter per language met, built once.
    std::map<QString, std::unique_ptr<srchilite::SourceHighlighter>> m_highlighters;
};
