#pragma once

#include <QString>

// How user text is made safe for SQL text and restored when read.
namespace SqlText {

// Titles keep each apostrophe as "+(DYH)+"; bodies and descriptions (the long form) also keep
// each colon as "+(MH)+". Stored data relies on these tokens.
QString toTokens(const QString &text, bool isLong);
QString fromTokens(const QString &text, bool isLong);
// The same restoring as an SQL expression over a column, for statements that read stored text
// as a person sees it.
QString fromTokensExpression(const QString &column, bool isLong);

// A text value between single quotes with each apostrophe doubled, so that no value can end
// the literal early. For a value without an apostrophe this is the value between quotes.
QString literal(const QString &value);

} // namespace SqlText
