#include "code/HighlightDefinitions.h"

#include <QFileInfo>

#include <srchilite/langdefmanager.h>
#include <srchilite/regexrulefactory.h>

#include <exception>

HighlightDefinitions::HighlightDefinitions(const QString &folder)
    : m_folder(folder), m_ruleFactory(std::make_unique<srchilite::RegexRuleFactory>()),
      m_manager(std::make_unique<srchilite::LangDefManager>(m_ruleFactory.get()))
{
}

HighlightDefinitions::~HighlightDefinitions() = default;

srchilite::HighlightStatePtr HighlightDefinitions::startState(const QString &file, QString *problem)
{
    auto found = m_loaded.find(file);
    if (found == m_loaded.end()) {
        Loaded loaded;
        // The library would look through its own search path for a missing file.
        if (!QFileInfo(m_folder + QLatin1Char('/') + file).isFile()) {
            loaded.problem = QStringLiteral("找不到语言定义文件%1").arg(m_folder + QLatin1Char('/') + file);
        } else {
            try {
                loaded.state = m_manager->getHighlightState(m_folder.toStdString(), file.toStdString());
            } catch (const std::exception &failure) {
                loaded.problem = QStringLiteral("语言定义文件%1有错：%2")
                                     .arg(file, QString::fromLocal8Bit(failure.what()).trimmed());
            } catch (...) {
                loaded.problem = QStringLiteral("语言定义文件%1有错").arg(file);
            }
            if (!loaded.state && loaded.problem.isEmpty())
                loaded.problem = QStringLiteral("语言定义文件%1有错").arg(file);
        }
        found = m_loaded.insert(file, loaded);
    }
    if (problem)
        *problem = found->problem;
    return found->state;
}
