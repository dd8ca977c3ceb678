#pragma once

#include <QColor>
#include <QString>
#include <QTextCharFormat>

// How the highlighter shows each kind of element its definitions name (keyword, type, string,
// comment, …): one set of colours that reads on a light background and one for a dark one.
// Elements it does not name keep the text's own colour.
namespace HighlightColors {

// A background darker than the middle grey takes the colours for dark backgrounds.
bool isDark(const QColor &background);
// The look of the element; an empty format for one shown as plain text.
QTextCharFormat format(const QString &element, bool darkBackground);
// Every element that has a look of its own.
QStringList elements();

} // namespace HighlightColors
