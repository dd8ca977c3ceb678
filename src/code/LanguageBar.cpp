#include "code/LanguageBar.h"

#include "code/LanguageCatalog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

LanguageBar::LanguageBar(QWidget *parent)
    : QWidget(parent), m_languages(new QComboBox(this)),
      m_source(new QCheckBox(QStringLiteral("源文本"), this))
{
    setObjectName(QStringLiteral("languageBar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    auto *label = new QLabel(QStringLiteral("语言"), this);
    label->setBuddy(m_languages);
    m_languages->setObjectName(QStringLiteral("languageBox"));
    m_languages->setAccessibleName(QStringLiteral("语言"));
    m_languages->setMaxVisibleItems(20);
    for (const LanguageCatalog::Language &language : LanguageCatalog::all())
        m_languages->addItem(language.title, language.name);
    m_source->setObjectName(QStringLiteral("sourceBox"));
    m_source->setToolTip(QStringLiteral("显示Markdown的源文本，而不是排好版的样子"));
    layout->addWidget(label);
    layout->addWidget(m_languages);
    layout->addWidget(m_source);
    layout->addStretch(1);
    connect(m_languages, &QComboBox::activated, this,
            [this](int index) { emit languageChosen(m_languages->itemData(index).toString()); });
    connect(m_source, &QCheckBox::toggled, this, &LanguageBar::sourceToggled);
}

void LanguageBar::showLanguage(const QString &language)
{
    const QSignalBlocker blocker(m_languages);
    int index = m_languages->findData(language);
    if (index < 0) {
        // A language another program stored: shown as it is called, so that nothing hides it.
        m_languages->addItem(language, language);
        index = m_languages->count() - 1;
    }
    m_languages->setCurrentIndex(index);
    m_source->setEnabled(language == LanguageCatalog::Markdown);
}

QString LanguageBar::language() const
{
    return m_languages->currentData().toString();
}

bool LanguageBar::showsSource() const
{
    return m_source->isChecked();
}
