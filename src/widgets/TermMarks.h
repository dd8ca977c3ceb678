#pragma once

#include "store/FullTextQuery.h"

class QPlainTextEdit;

// The places where a full-text search's terms occur in a viewer, marked so that they stand out.
namespace TermMarks {

// Marks every occurrence of the query's terms in the viewer's text and scrolls to the first; an
// empty query takes earlier marks away.
void apply(QPlainTextEdit *viewer, const FullTextQuery &query);

} // namespace TermMarks
