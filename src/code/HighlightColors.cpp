#include "code/HighlightColors.h"

#include <QHash>

namespace HighlightColors {

namespace {
struct Look
{
    QColor light;
    QColor dark;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

const QHash<QString, Look> &looks()
{
    static const QHash<QString, Look> table = [] {
        const Look keyword{QColor(0, 0, 170), QColor(130, 170, 255), true};
        const Look type{QColor(0, 110, 110), QColor(90, 210, 200)};
        const Look string{QColor(170, 30, 20), QColor(240, 160, 110)};
        const Look comment{QColor(100, 110, 100), QColor(150, 165, 150), false, true};
        const Look preproc{QColor(140, 70, 0), QColor(230, 180, 100)};
        const Look number{QColor(120, 0, 150), QColor(210, 150, 240)};
        const Look function{QColor(0, 80, 150), QColor(120, 200, 250)};
        const Look special{QColor(190, 0, 120), QColor(250, 130, 200)};
        const Look variable{QColor(0, 110, 40), QColor(140, 220, 140)};
        const Look removed{QColor(180, 0, 0), QColor(255, 120, 120)};
        const Look added{QColor(0, 120, 0), QColor(120, 230, 120)};
        const Look url{QColor(0, 0, 200), QColor(120, 170, 255), false, false, true};
        const Look todo{QColor(170, 0, 0), QColor(255, 110, 110), true};
        QHash<QString, Look> result;
        auto add = [&result](std::initializer_list<const char *> names, const Look &look) {
            for (const char *name : names)
                result.insert(QLatin1String(name), look);
        };
        add({"keyword", "selector", "gherken", "markup_command", "section"}, keyword);
        add({"type", "classname", "usertype", "atom", "scheme"}, type);
        add({"string", "regexp", "value", "scheme_value", "fixed", "code"}, string);
        add({"comment", "meta"}, comment);
        add({"preproc", "predef_func", "predef_var", "label", "date", "time"}, preproc);
        add({"number", "twonumbers", "math"}, number);
        add({"function", "property", "attribute", "argument", "optionalargument"}, function);
        add({"specialchar", "regex"}, special);
        add({"variable", "name", "ip", "path", "file"}, variable);
        add({"oldfile", "error"}, removed);
        add({"newfile", "warning", "difflines"}, added);
        add({"url"}, url);
        add({"todo"}, todo);
        return result;
    }();
    return table;
}
} // namespace

bool isDark(const QColor &background)
{
    return background.lightnessF() < 0.5;
}

QTextCharFormat format(const QString &element, bool darkBackground)
{
    QTextCharFormat result;
    const auto found = looks().constFind(element);
    if (found == looks().cend())
        return result;
    result.setForeground(darkBackground ? found->dark : found->light);
    if (found->bold)
        result.setFontWeight(QFont::Bold);
    if (found->italic)
        result.setFontItalic(true);
    if (found->underline)
        result.setFontUnderline(true);
    return result;
}

QStringList elements()
{
    return looks().keys();
}

} // namespace HighlightColors
