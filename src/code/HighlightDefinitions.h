#pragma once

#include <QHash>
#include <QString>

#include <srchilite/highlightstate.h>

#include <memory>

namespace srchilite {
class LangDefManager;
class RegexRuleFactory;
} // namespace srchilite

// The highlighter's language definitions (Source-highlight's .lang files), each read once and
// kept for every later viewer. A file that is missing or that the library cannot read is
// remembered with the library's reason, so that it is not read again either.
class HighlightDefinitions
{
public:
    static inline const QString InstalledFolder = QStringLiteral("/usr/share/source-highlight");

    explicit HighlightDefinitions(const QString &folder = InstalledFolder);
    ~HighlightDefinitions();
    HighlightDefinitions(const HighlightDefinitions &) = delete;
    HighlightDefinitions &operator=(const HighlightDefinitions &) = delete;

    // The start state of the definition file; null, with the reason, when it cannot be had.
    srchilite::HighlightStatePtr startState(const QString &file, QString *problem);

private:
    struct Loaded
    {
        srchilite::HighlightStatePtr state;
        QString problem;
    };

    QString m_folder;
    std::unique_ptr<srchilite::RegexRuleFactory> m_ruleFactory;
    std::unique_ptr<srchilite::LangDefManager> m_manager;
    QHash<QString, Loaded> m_loaded;
};
