#include "code/SourceHighlighter.h"

#include "code/HighlightColors.h"
#include "code/HighlightDefinitions.h"
#include "code/LanguageCatalog.h"

#include <QTextBlock>
#include <QTextDocument>

#include <srchilite/formatter.h>
#include <srchilite/formattermanager.h>
#include <srchilite/formatterparams.h>
#include <srchilite/sourcehighlighter.h>

#include <exception>

// Hands each element the library finds to the highlighter, with the look of its kind.
class SourceHighlighter::Collector : public srchilite::Formatter
{
public:
    Collector(std::vector<Span> *spans, const QTextCharFormat *format) : m_spans(spans), m_format(format) {}
    void format(const std::string &text, const srchilite::FormatterParams *params) override
    {
        if (m_format && params && params->start >= 0)
            m_spans->push_back({params->start, static_cast<int>(text.size()), m_format});
    }

private:
    std::vector<Span> *m_spans;
    const QTextCharFormat *m_format;
};

// The library's state at the end of a block: where the next block begins.
class SourceHighlighter::BlockState : public QTextBlockUserData
{
public:
    BlockState(const QString &language, srchilite::HighlightStatePtr state,
               const srchilite::HighlightStateStackPtr &stack)
        : language(language), state(std::move(state)),
          stack(stack ? new srchilite::HighlightStateStack(*stack) : new srchilite::HighlightStateStack)
    {
    }

    // A number that differs when the state does: a block whose number changed makes the
    // highlighter colour the next block again.
    int number() const
    {
        uint hash = state ? state->getId() : 0;
        srchilite::HighlightStateStack copy = *stack;
        for (; !copy.empty(); copy.pop())
            hash = hash * 31 + (copy.top() ? copy.top()->getId() : 0);
        return static_cast<int>(hash & 0x3fffffff);
    }

    QString language;
    srchilite::HighlightStatePtr state;
    srchilite::HighlightStateStackPtr stack;
};

namespace {
// Where each byte of the line's UTF-8 begins in its UTF-16 text; one more entry for the end.
std::vector<int> characterPositions(const QString &text, int bytes)
{
    std::vector<int> positions(static_cast<size_t>(bytes) + 1, static_cast<int>(text.size()));
    int byte = 0;
    for (int i = 0; i < text.size() && byte < bytes;) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const uint code = pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
        const int length = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        for (int k = 0; k < length && byte < bytes; ++k)
            positions[static_cast<size_t>(byte++)] = i;
        i += pair ? 2 : 1;
    }
    return positions;
}

constexpr int Uncoloured = -1;
constexpr int NoCode = 0;
} // namespace

SourceHighlighter::SourceHighlighter(HighlightDefinitions *definitions, QTextDocument *document)
    : QSyntaxHighlighter(document), m_definitions(definitions),
      m_params(std::make_unique<srchilite::FormatterParams>())
{
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &SourceHighlighter::colourNextSlice);
    const QStringList elements = HighlightColors::elements();
    m_formats.resize(static_cast<size_t>(elements.size()));
    m_formatters = std::make_unique<srchilite::FormatterManager>(
        srchilite::FormatterPtr(new Collector(&m_spans, nullptr)));
    for (int i = 0; i < elements.size(); ++i)
        m_formatters->addFormatter(elements.at(i).toStdString(),
                                   srchilite::FormatterPtr(new Collector(&m_spans, &m_formats[i])));
}

SourceHighlighter::~SourceHighlighter() = default;

bool SourceHighlighter::setLanguage(const QString &language, bool darkBackground, int firstBlock)
{
    m_fencedBlocks = false;
    m_firstBlock = firstBlock;
    m_problem.clear();
    m_language = language;
    const LanguageCatalog::Language *known = LanguageCatalog::find(language);
    if (!language.isEmpty() && !known)
        m_problem = QStringLiteral("不认识的语言“%1”").arg(language);
    else if (known && !known->definitionFile.isEmpty())
        highlighterFor(language);
    if (!m_problem.isEmpty())
        m_language.clear();
    restart(darkBackground);
    return m_problem.isEmpty();
}

void SourceHighlighter::setFencedBlocks(bool darkBackground)
{
    m_fencedBlocks = true;
    m_firstBlock = 0;
    m_problem.clear();
    m_language.clear();
    restart(darkBackground);
}

void SourceHighlighter::restart(bool darkBackground)
{
    m_dark = darkBackground;
    const QStringList elements = HighlightColors::elements();
    for (int i = 0; i < elements.size(); ++i)
        m_formats[static_cast<size_t>(i)] = HighlightColors::format(elements.at(i), darkBackground);
    m_slices.stop();
    m_horizon = 0;
    // Takes away earlier colours: every block now lies past the horizon.
    if (m_coloured)
        rehighlight();
    m_coloured = false;
    const LanguageCatalog::Language *known = LanguageCatalog::find(m_language);
    if (m_fencedBlocks || (known && !known->definitionFile.isEmpty()))
        colourNextSlice();
}

void SourceHighlighter::forgetColours()
{
    m_slices.stop();
    m_horizon = 0;
    m_coloured = false;
}

void SourceHighlighter::continueColouring()
{
    if ((m_fencedBlocks || !m_language.isEmpty()) && !m_slices.isActive() &&
        m_horizon < document()->blockCount())
        m_slices.start();
}

void SourceHighlighter::colourNextSlice()
{
    m_coloured = true;
    const QTextBlock first = document()->findBlockByNumber(m_horizon);
    QTextBlock block = first;
    int characters = 0;
    while (block.isValid() && characters < SliceCharacters) {
        characters += block.length();
        ++m_horizon;
        block = block.next();
    }
    if (first.isValid())
        rehighlightBlock(first); // goes on through the slice: each block's state changes
    if (block.isValid() && (m_fencedBlocks || !m_language.isEmpty())) {
        if (!m_slices.isActive())
            m_slices.start();
        return;
    }
    m_slices.stop();
    emit finished();
}

srchilite::SourceHighlighter *SourceHighlighter::highlighterFor(const QString &language)
{
    const LanguageCatalog::Language *known = LanguageCatalog::find(language);
    if (!known || known->definitionFile.isEmpty())
        return nullptr;
    const auto found = m_highlighters.find(language);
    if (found != m_highlighters.end()) {
        if (!found->second)
            m_definitions->startState(known->definitionFile, &m_problem); // why there is none
        return found->second.get();
    }
    const srchilite::HighlightStatePtr start = m_definitions->startState(known->definitionFile, &m_problem);
    std::unique_ptr<srchilite::SourceHighlighter> highlighter;
    if (start) {
        highlighter = std::make_unique<srchilite::SourceHighlighter>(start);
        highlighter->setFormatterManager(m_formatters.get());
        highlighter->setFormatterParams(m_params.get());
        highlighter->setOptimize(false);
    }
    return m_highlighters.emplace(language, std::move(highlighter)).first->second.get();
}

void SourceHighlighter::highlightBlock(const QString &text)
{
    const QTextBlock block = currentBlock();
    if (block.blockNumber() >= m_horizon) {
        setCurrentBlockState(Uncoloured);
        return;
    }
    QString language = m_language;
    if (m_fencedBlocks) {
        const QTextBlockFormat look = block.blockFormat();
        language =
            look.hasProperty(QTextFormat::BlockCodeFence) || look.hasProperty(QTextFormat::BlockCodeLanguage)
                ? LanguageCatalog::resolve(look.stringProperty(QTextFormat::BlockCodeLanguage))
                : QString();
    }
    srchilite::SourceHighlighter *highlighter =
        language.isEmpty() || block.blockNumber() < m_firstBlock ? nullptr : highlighterFor(language);
    if (!highlighter) {
        setCurrentBlockUserData(nullptr);
        setCurrentBlockState(NoCode);
        return;
    }
    const auto *previous = static_cast<const BlockState *>(block.previous().userData());
    if (previous && previous->language == language) {
        highlighter->setCurrentState(previous->state);
        highlighter->setStateStack(
            srchilite::HighlightStateStackPtr(new srchilite::HighlightStateStack(*previous->stack)));
    } else {
        highlighter->setCurrentState(highlighter->getMainState());
        highlighter->setStateStack(srchilite::HighlightStateStackPtr(new srchilite::HighlightStateStack));
    }
    if (text.size() <= LongestLine)
        colour(text, highlighter);
    auto *state = new BlockState(language, highlighter->getCurrentState(), highlighter->getStateStack());
    setCurrentBlockState(state->number());
    setCurrentBlockUserData(state);
}

void SourceHighlighter::colour(const QString &text, srchilite::SourceHighlighter *highlighter)
{
    const QByteArray bytes = text.toUtf8();
    m_spans.clear();
    try {
        highlighter->highlightParagraph(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
    } catch (const std::exception &failure) {
        fail(QStringLiteral("代码着色失败：%1").arg(QString::fromLocal8Bit(failure.what())));
        return;
    } catch (...) {
        fail(QStringLiteral("代码着色失败"));
        return;
    }
    const bool ascii = bytes.size() == text.size();
    const std::vector<int> positions = ascii ? std::vector<int>() : characterPositions(text, bytes.size());
    auto position = [&](int byte) {
        byte = qBound(0, byte, static_cast<int>(bytes.size()));
        return ascii ? byte : positions[static_cast<size_t>(byte)];
    };
    for (const Span &span : m_spans) {
        const int start = position(span.start);
        setFormat(start, position(span.start + span.length) - start, *span.format);
    }
}

void SourceHighlighter::fail(const QString &problem)
{
    m_problem = problem;
    m_language.clear();
    m_fencedBlocks = false;
    m_slices.stop();
    emit failed(problem);
    // Plain text from the start, once this block is done.
    QMetaObject::invokeMethod(
        this, [this] { restart(m_dark); }, Qt::QueuedConnection);
}
