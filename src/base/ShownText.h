#pragma once

#include <QString>

// Texts as windows draw them. A title may be a megabyte long; laying out and drawing it all
// takes seconds, so what is drawn is cut, never what is stored.
namespace ShownText {

constexpr int CaptionCharacters = 200; // list entries, window titles
constexpr int ValueCharacters = 1000;  // detail pane values

// The text, or its beginning and "…" when it has more characters than allowed; a character
// outside the basic plane is never split.
QString shortened(const QString &text, int maxCharacters);

} // namespace ShownText
