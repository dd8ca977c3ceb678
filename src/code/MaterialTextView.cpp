#include "code/MaterialTextView.h"

#include "code/HighlightColors.h"
#include "code/LanguageCatalog.h"
#include "code/SourceHighlighter.h"
#include "settings/ColorContrast.h"

#include <QDesktopServices>
#include <QFontDatabase>
#include <QFontMetricsF>
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
    : QWidget(parent), m_pages(new QStackedWidget(this)), m_source(new QPlainTextEdit(m_pages)),
      m_rendered(new QTextBrowser(m_pages)),
      m_sourceHighlighter(new SourceHighlighter(definitions, m_source->document())),
      m_renderedHighlighter(new SourceHighlighter(definitions, m_rendered->document())), m_font(font())
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);
    m_source->setObjectName(textName);
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
    for (SourceHighlighter *highlighter : {m_sourceHighlighter, m_renderedHighlighter})
        connect(highlighter, &SourceHighlighter::failed, this, &MaterialTextView::problemReported);
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

void MaterialTextView::applyLook(QWidget *view, const QFont &face)
{
    QFont shown = face;
    if (m_font.pointSizeF() > 0)
        shown.setPointSizeF(m_font.pointSizeF());
    else if (m_font.pixelSize() > 0)
        shown.setPixelSize(m_font.pixelSize());
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
    m_sourceHighlighter->forgetColours();
    m_renderedHighlighter->forgetColours();
    m_source->clear();
    m_rendered->clear();
    m_pages->setCurrentWidget(m_source);
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
    m_sourceHighlighter->forgetColours();
    m_renderedHighlighter->forgetColours();
    if (render) {
        m_source->clear();
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
        applyLook(m_source, code ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : m_font);
        m_source->setPlainText((m_firstLines + m_body).join(QLatin1Char('\n')));
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
    if (isRendered())
        m_rendered->selectAll();
    else
        m_source->selectAll();
}

void MaterialTextView::copy()
{
    if (isRendered())
        m_rendered->copy();
    else
        m_source->copy();
}
