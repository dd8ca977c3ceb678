#pragma once

#include "store/FullTextQuery.h"

#include <QList>
#include <QTextEdit>

class QTextDocument;

// The places where a full-text search's terms occur in a viewer's text, marked so that they
// stand out on any background.
namespace TermMarks {

// A mark on every occurrence of the query's terms in the document, in order; none for an empty
// query.
QList<QTextEdit::ExtraSelection> of(QTextDocument *document, const FullTextQuery &query);

} // namespace TermMarks
