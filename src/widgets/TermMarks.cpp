#include "widgets/TermMarks.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace TermMarks {

void apply(QPlainTextEdit *viewer, const FullTextQuery &query)
{
    QList<QTextEdit::ExtraSelection> marks;
    const QVector<FullTextQuery::Occurrence> found =
        query.isEmpty() ? QVector<FullTextQuery::Occurrence>() : query.occurrences(viewer->toPlainText());
    // Black on yellow reads on any background colour the settings give the viewer.
    QTextCharFormat look;
    look.setBackground(QColor(255, 230, 0));
    look.setForeground(Qt::black);
    for (const FullTextQuery::Occurrence &occurrence : found) {
        QTextCursor cursor(viewer->document());
        cursor.setPosition(occurrence.start);
        cursor.setPosition(occurrence.start + occurrence.length, QTextCursor::KeepAnchor);
        marks.append({cursor, look});
    }
    viewer->setExtraSelections(marks);
    if (found.isEmpty())
        return;
    QTextCursor first(viewer->document());
    first.setPosition(found.first().start);
    viewer->setTextCursor(first);
    viewer->centerCursor();
}

} // namespace TermMarks
