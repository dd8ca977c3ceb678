#include "code/MaterialTextView.h"

#include "code/HighlightColors.h"
#include "code/LanguageCatalog.h"
#include "code/SourceHighlighter.h"
#include "settings/ColorContrast.h"

#include <QDesktopServices>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr int TabCharacters = 4;

qsizetype characters(const QStringList &lines)
{
    qsizetype count = 0;
    for (const QString &line : lines)
        count += line.size() + 1;
    return count;
}

qsizetype longestLine(const QString &text)
{
    qsizetype longest = 0;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        longest = qMax(longest, end - start);
        start = end + 1;
    }
    return longest;
}

template <typename View> void markIn(View *view, const QList<QTextEdit::ExtraSelection> &marks)
{
    view->setExtraSelections(marks);
    if (marks.isEmpty())
        return;
    QTextCursor first = marks.first().cursor;
    first.setPosition(first.selectionStart());
    view->setTextCursor(first);
    view->ensureCursorVisible();
}
} // namespace

MaterialTextView::MaterialTextView(HighlightDefinitions *definitions, const QString &textName,
                                   QWidget *parent)
    : QWidget(parent), m_definitions(definitions), m_pages(new QStackedWidget(this)),
      m_source(new QPlainTextEdit(m_pages)), m_rendered(new QTextBrowser(m_pages)),
      m_renderedHighlighter(new SourceHighlighter(definitions, m_rendered->document())), m_font(font())
{
    m_loading.setInterval(0);
    connect(&m_loading, &QTimer::timeout, this, &MaterialTextView::loadNextPart);
    // Long enough for the new text to be painted first.
    m_dropping.setInterval(200);
    m_dropping.setSingleShot(true);
    connect(&m_dropping, &QTimer::timeout, this, &MaterialTextView::dropRetiredDocuments);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);
    m_source->setObjectName(textName);
    m_source->setAccessibleName(QStringLiteral("资料内容"));
    m_rendered->setAccessibleName(QStringLiteral("资料内容"));
    m_source->setReadOnly(true);
    m_source->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_rendered->setObjectName(textName + QStringLiteral("Rendered"));
    m_rendered->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Links leave for the browser or the mail program; a relative one names nothing here.
    m_rendered->setOpenLinks(false);
    connect(m_rendered, &QTextBrowser::anchorClicked, this, [](const QUrl &url) {
        if (!url.isRelative())
            QDesktopServices::openUrl(url);
    });
    m_pages->addWidget(m_source);
    m_pages->addWidget(m_rendered);
    setFocusProxy(m_source);
    connect(m_renderedHighlighter, &SourceHighlighter::failed, this, &MaterialTextView::problemReported);
    showSource(QString(), m_font);
}

QWidget *MaterialTextView::shownView() const
{
    return m_pages->currentWidget();
}

QTextDocument *MaterialTextView::shownDocument() const
{
    return isRendered() ? m_rendered->document() : m_source->document();
}

bool MaterialTextView::isRendered() const
{
    return m_pages->currentWidget() == m_rendered;
}

void MaterialTextView::setLook(const QColor &background, const QColor &text, const QFont &font)
{
    m_background = background;
    // A configured colour that the background would swallow (black text on a black viewer)
    // gives way to one that reads.
    m_text = ColorContrast::readable(text, background);
    m_font = font;
    const bool dark = HighlightColors::isDark(background);
    for (QWidget *view : {static_cast<QWidget *>(m_source), static_cast<QWidget *>(m_rendered)}) {
        QPalette palette = view->palette();
        palette.setColor(QPalette::Base, background);
        palette.setColor(QPalette::Text, m_text);
        view->setPalette(palette);
    }
    m_link = palette().color(QPalette::Link);
    m_link = ColorContrast::readable(dark ? m_link.lighter(180) : m_link, background);
    m_codeBackground = QColor::fromRgbF(background.redF() * 0.9 + m_text.redF() * 0.1,
                                        background.greenF() * 0.9 + m_text.greenF() * 0.1,
                                        background.blueF() * 0.9 + m_text.blueF() * 0.1);
    applyLook(m_rendered, font);
    applyLook(m_source, LanguageCatalog::isCode(m_language)
                            ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                            : font);
}

QFont MaterialTextView::sized(const QFont &face) const
{
    QFont shown = face;
    if (m_font.pointSizeF() > 0)
        shown.setPointSizeF(m_font.pointSizeF());
    else if (m_font.pixelSize() > 0)
        shown.setPixelSize(m_font.pixelSize());
    return shown;
}

void MaterialTextView::applyLook(QWidget *view, const QFont &face)
{
    const QFont shown = sized(face);
    view->setFont(shown);
    const qreal tab = TabCharacters * QFontMetricsF(shown).horizontalAdvance(QLatin1Char(' '));
    if (auto *plain = qobject_cast<QPlainTextEdit *>(view))
        plain->setTabStopDistance(tab);
    else if (auto *rich = qobject_cast<QTextEdit *>(view))
        rich->setTabStopDistance(tab);
}

void MaterialTextView::showText(const QStringList &firstLines, const QStringList &body,
                                const QString &language)
{
    m_firstLines = firstLines;
    m_body = body;
    m_language = language;
    present();
}

void MaterialTextView::setLanguage(const QString &language)
{
    if (language == m_language)
        return;
    m_language = language;
    present();
}

void MaterialTextView::setShowSource(bool source)
{
    if (source == m_showSource)
        return;
    m_showSource = source;
    present();
}

void MaterialTextView::clear()
{
    m_firstLines.clear();
    m_body.clear();
    m_renderedHighlighter->forgetColours();
    showSource(QString(), m_source->font());
    m_rendered->clear();
    m_pages->setCurrentWidget(m_source);
}

void MaterialTextView::showSource(const QString &text, const QFont &face)
{
    m_loading.stop();
    m_pending.clear();
    if (m_source->document())
        m_retired.append(m_source->document());
    auto *document = new QTextDocument(this);
    document->setUndoRedoEnabled(false);
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    document->setDefaultFont(sized(face));
    m_sourceHighlighter = new SourceHighlighter(m_definitions, document);
    connect(m_sourceHighlighter, &SourceHighlighter::failed, this, &MaterialTextView::problemReported);
    // A break near the end of the first part: the rest follows a part at a time. A text with a
    // line longer than a part goes in whole: a long line added to a shown document is laid out
    // again and again, for many seconds.
    const qsizetype cut = text.size() > LoadedAtOnce && longestLine(text) < LoadedAtOnce
                              ? text.lastIndexOf(QLatin1Char('\n'), LoadedAtOnce)
                              : -1;
    if (cut > 0) {
        m_pending = text;
        m_loadedUpTo = cut;
    }
    document->setPlainText(cut > 0 ? text.left(cut) : text);
    m_source->setDocument(document);
    applyLook(m_source, face);
    if (cut > 0)
        m_loading.start();
    else
        m_dropping.start();
}

void MaterialTextView::loadNextPart()
{
    // No line is longer than a part: a break lies within the next one.
    const qsizetype end = m_pending.size() - m_loadedUpTo > LoadedAtOnce
                              ? m_pending.lastIndexOf(QLatin1Char('\n'), m_loadedUpTo + LoadedAtOnce)
                              : m_pending.size();
    QTextCursor cursor(m_source->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(m_pending.mid(m_loadedUpTo, end - m_loadedUpTo));
    m_loadedUpTo = end;
    m_sourceHighlighter->continueColouring();
    if (m_loadedUpTo < m_pending.size())
        return;
    m_loading.stop();
    m_pending.clear();
    m_dropping.start();
    emit textComplete();
}

void MaterialTextView::finishLoading()
{
    while (isLoading())
        loadNextPart();
}

void MaterialTextView::dropRetiredDocuments()
{
    for (const QPointer<QTextDocument> &document : std::as_const(m_retired))
        delete document.data();
    m_retired.clear();
}

void MaterialTextView::present()
{
    QString problem;
    const bool dark = HighlightColors::isDark(m_background);
    bool render = m_language == LanguageCatalog::Markdown && !m_showSource;
    if (render && characters(m_body) > LongestRendered) {
        render = false;
        problem = QStringLiteral("这份资料超过了%1万字，不排版显示，只显示Markdown源文本")
                      .arg(LongestRendered / 10000);
    }
    // The hidden view lets its text go: a body may be many megabytes.
    m_renderedHighlighter->forgetColours();
    if (render) {
        showSource(QString(), m_font);
        QTextDocument *document = m_rendered->document();
        document->clear();
        applyLook(m_rendered, m_font);
        document->setDefaultFont(m_rendered->font());
        QTextCursor cursor(document);
        cursor.insertText(m_firstLines.join(QLatin1Char('\n')));
        cursor.insertBlock();
        cursor.insertMarkdown(m_body.join(QLatin1Char('\n')));
        fitToBackground(document);
        m_renderedHighlighter->setFencedBlocks(dark);
        m_pages->setCurrentWidget(m_rendered);
    } else {
        m_rendered->clear();
        const bool code = LanguageCatalog::isCode(m_language);
        showSource((m_firstLines + m_body).join(QLatin1Char('\n')),
                   code ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : m_font);
        const bool plain =
            m_language == LanguageCatalog::PlainText || m_language == LanguageCatalog::Markdown;
        if (!m_sourceHighlighter->setLanguage(plain ? QString() : m_language, dark,
                                              static_cast<int>(m_firstLines.size())))
            problem = m_sourceHighlighter->problem() + QStringLiteral("，以纯文本显示");
        m_pages->setCurrentWidget(m_source);
    }
    emit problemReported(problem);
}

void MaterialTextView::fitToBackground(QTextDocument *document) const
{
    QTextCursor cursor(document);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat look = block.blockFormat();
        if (look.hasProperty(QTextFormat::BlockCodeFence) ||
            look.hasProperty(QTextFormat::BlockCodeLanguage)) {
            look.setBackground(m_codeBackground);
            cursor.setPosition(block.position());
            cursor.setBlockFormat(look);
        }
        // Qt's reader gives links the application's link colour, blue also on black.
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (!fragment.fragment().charFormat().isAnchor())
                continue;
            QTextCharFormat linkLook;
            linkLook.setForeground(m_link);
            cursor.setPosition(fragment.fragment().position());
            cursor.setPosition(fragment.fragment().position() + fragment.fragment().length(),
                               QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(linkLook);
        }
    }
}

void MaterialTextView::showMarks(const QList<QTextEdit::ExtraSelection> &marks)
{
    if (isRendered())
        markIn(m_rendered, marks);
    else
        markIn(m_source, marks);
}

void MaterialTextView::selectAll()
{
    finishLoading();
    if (isRendered())
        m_rendered->selectAll();
    else
        m_source->selectAll();
}

void MaterialTextView::copy()
{
    finishLoading();
    if (isRendered())
        m_rendered->copy();
    else
        m_source->copy();
}
