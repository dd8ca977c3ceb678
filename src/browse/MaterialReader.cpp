#include "browse/MaterialReader.h"

#include "browse/DetailRows.h"
#include "browse/TermMarks.h"
#include "browse/ViewerLook.h"
#include "code/LanguageBar.h"
#include "code/LanguageCatalog.h"
#include "code/LanguageGuess.h"
#include "code/MaterialTextView.h"
#include "settings/WindowsColor.h"
#include "store/Database.h"
#include "store/MaterialLanguages.h"
#include "store/TextMaterial.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

MaterialReader::MaterialReader(HighlightDefinitions *definitions, const QString &textName, QWidget *parent)
    : QWidget(parent), m_bar(new LanguageBar(this)), m_view(new MaterialTextView(definitions, textName, this))
{
    setObjectName(textName + QStringLiteral("Reader"));
    // In the main window it covers the detail pane: nothing of the pane may show through.
    setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bar);
    layout->addWidget(m_view, 1);
    setFocusProxy(m_view);
    connect(m_bar, &LanguageBar::languageChosen, this, &MaterialReader::chooseLanguage);
    connect(m_bar, &LanguageBar::sourceToggled, m_view, &MaterialTextView::setShowSource);
    connect(m_view, &MaterialTextView::problemReported, this, &MaterialReader::statusChanged);
    connect(m_view, &MaterialTextView::textComplete, this, &MaterialReader::showMarks);
}

QPlainTextEdit *MaterialReader::sourceView() const
{
    return m_view->sourceView();
}

void MaterialReader::setBackColor(int color)
{
    m_background = WindowsColor::toQColor(color, palette());
    applyLook();
}

void MaterialReader::readFont(QWidget *messageParent)
{
    const ViewerLook::FontLook look = ViewerLook::readFont(palette(), messageParent);
    m_font = look.font;
    m_text = look.color;
    applyLook();
}

void MaterialReader::applyLook()
{
    m_view->setLook(m_background, m_text, m_font);
}

void MaterialReader::showTextMaterial(const TextMaterial &record, qint64 id)
{
    m_id = id;
    QString language;
    if (Database *database = Database::current())
        language = MaterialLanguages::stored(*database, id);
    if (language.isEmpty())
        language = LanguageGuess::of(record.title, record.body);
    m_bar->show();
    m_bar->showLanguage(language);
    m_view->showText(DetailRows::composedHeader(record), record.body, language);
}

void MaterialReader::showDescription(const QStringList &lines)
{
    m_id = 0;
    m_bar->hide();
    m_view->showText({}, lines, LanguageCatalog::PlainText);
}

void MaterialReader::clear()
{
    m_id = 0;
    m_view->clear();
}

void MaterialReader::chooseLanguage(const QString &language)
{
    m_bar->showLanguage(language);
    m_view->setLanguage(language);
    Database *database = Database::current();
    QString error = QStringLiteral("数据模块尚未建立");
    if (m_id <= 0 || (database && MaterialLanguages::store(*database, m_id, language, &error)))
        return;
    emit statusChanged(QStringLiteral("资料的语言没有保存：") + error);
}

void MaterialReader::markTerms(const FullTextQuery &query)
{
    m_query = query;
    // A text still coming in parts is marked once it is whole.
    if (!m_view->isLoading())
        showMarks();
}

void MaterialReader::showMarks()
{
    m_view->showMarks(TermMarks::of(m_view->shownDocument(), m_query));
}

void MaterialReader::selectAll()
{
    m_view->selectAll();
}

void MaterialReader::copy()
{
    m_view->copy();
}
