#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;

// Above a viewer's text: the "语言" drop-down, where the reader sets the material's language,
// and "源文本", which shows Markdown as its source instead of rendered.
class LanguageBar : public QWidget
{
    Q_OBJECT
public:
    explicit LanguageBar(QWidget *parent);

    // Shows the language without announcing it as the reader's choice.
    void showLanguage(const QString &language);
    QString language() const;
    bool showsSource() const;
    QComboBox *languageBox() const { return m_languages; }
    QCheckBox *sourceBox() const { return m_source; }

signals:
    void languageChosen(const QString &language);
    void sourceToggled(bool source);

private:
    QComboBox *m_languages;
    QCheckBox *m_source;
};
