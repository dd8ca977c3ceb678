#include "browse/TermMarks.h"

#include <QTextCursor>
#include <QTextDocument>

namespace TermMarks {

QList<QTextEdit::ExtraSelection> of(QTextDocument *document, const FullTextQuery &query)
{
    QList<QTextEdit::ExtraSelection> marks;
    if (query.isEmpty())
        return marks;
    // Black on yellow reads on any background colour the settings give the viewer.
    QTextCharFormat look;
    look.setBackground(QColor(255, 230, 0));
    look.setForeground(Qt::black);
    for (const FullTextQuery::Occurrence &occurrence : query.occurrences(document->toPlainText())) {
        QTextCursor cursor(document);
        cursor.setPosition(occurrence.start);
        cursor.setPosition(occurrence.start + occurrence.length, QTextCursor::KeepAnchor);
        marks.append({cursor, look});
    }
    return marks;
}

} // namespace TermMarks
