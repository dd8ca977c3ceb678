#include "CodeOpenBenchmark.h"

#include "IdleWait.h"
#include "Measure.h"

#include "base/AnsiText.h"
#include "browse/DetailPane.h"
#include "browse/DetailRows.h"
#include "browse/MaterialReader.h"
#include "code/MaterialTextView.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "store/TextMaterial.h"
#include "widgets/ActionLink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QTimer>
#include <QVariant>

namespace {
// C++ of about the size asked for: functions with comments, strings and numbers.
QStringList cppLines(int bytes)
{
    QStringList lines{QStringLiteral("#include <vector>"), QStringLiteral("#include <string>"), QString()};
    int size = 0;
    for (int i = 0; size < bytes; ++i) {
        const QStringList function{QStringLiteral("/* Sums the values of block %1,").arg(i),
                                   QStringLiteral("   skipping the negative ones. */"),
                                   QStringLiteral("int sum%1(const std::vector<int> &values)").arg(i),
                                   QStringLiteral("{"),
                                   QStringLiteral("    int total = %1; // start").arg(i),
                                   QStringLiteral("    for (int value : values) {"),
                                   QStringLiteral("        if (value > 0)"),
                                   QStringLiteral("            total += value * 2;"),
                                   QStringLiteral("    }"),
                                   QStringLiteral("    const std::string name = \"块%1\";").arg(i),
                                   QStringLiteral("    return total;"),
                                   QStringLiteral("}"),
                                   QString()};
        for (const QString &line : function)
            size += line.size() + 1;
        lines += function;
    }
    return lines;
}

qint64 add(const QString &title, const QStringList &body, QString *error)
{
    TextMaterial record;
    record.title = title;
    record.category = QStringLiteral("基准代码");
    record.body = body;
    if (!record.insert()) {
        *error = record.resultMessage();
        return 0;
    }
    qint64 id = 0;
    Database::current()->select(
        QStringLiteral("select max(id) from textfile"),
        [&id](const QSqlQuery &row) { id = row.value(0).toLongLong(); }, error);
    return id;
}

// The paint event of a widget, seen when its handling is over.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *view) : m_view(view) { view->installEventFilter(this); }
    bool painted() const { return m_painted; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_view && event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [this] { m_painted = true; });
        }
        return false;
    }

private:
    QWidget *m_view;
    bool m_seen = false;
    bool m_painted = false;
};
} // namespace

double CodeOpenBenchmark::openInWindow(qint64 id)
{
    DetailPane *pane = m_window.detailPane();
    pane->hideViewer();
    IdleWait::settle();
    ActionLink link(DetailRows::ViewHere, id, nullptr);
    return Measure::timed([pane, &link] {
        pane->viewHere(&link);
        IdleWait::settle();
    });
}

double CodeOpenBenchmark::untilFirstPaint(qint64 id)
{
    DetailPane *pane = m_window.detailPane();
    pane->hideViewer();
    IdleWait::settle();
    ActionLink link(DetailRows::ViewHere, id, nullptr);
    FirstPaint watcher(pane->viewer()->sourceView()->viewport());
    QElapsedTimer clock;
    clock.start();
    pane->viewHere(&link);
    while (!watcher.painted() && clock.elapsed() < 10000)
        QCoreApplication::processEvents();
    const double ms = watcher.painted() ? static_cast<double>(clock.nsecsElapsed()) / 1e6 : -1;
    IdleWait::settle(); // the rest of the colouring, untimed
    return ms;
}

bool CodeOpenBenchmark::run(CodeFigures *figures, QString *error)
{
    const QStringList small = cppLines(4096);
    const QStringList big = cppLines(1024 * 1024);
    const qint64 coloured = add(QStringLiteral("bench-4k.cpp"), small, error);
    const qint64 plain = coloured > 0 ? add(QStringLiteral("bench-4k plain"), small, error) : 0;
    const qint64 large = plain > 0 ? add(QStringLiteral("bench-1m.cpp"), big, error) : 0;
    if (large > 0) {
        const Measure::Pair pair = Measure::alternating([this, coloured] { return openInWindow(coloured); },
                                                        [this, plain] { return openInWindow(plain); });
        figures->coloured = pair.program;
        figures->plain = pair.raw;
        figures->bigFirstPaint = Measure::median([this, large] { return untilFirstPaint(large); });
        if (figures->bigFirstPaint < 0)
            *error = QStringLiteral("the viewer never painted the 1 MB material");
    }
    m_window.detailPane()->hideViewer();
    QString ignored;
    Database::current()->execute(QStringLiteral("delete from textfile where bigclassname='基准代码'"),
                                 &ignored);
    return large > 0 && figures->bigFirstPaint >= 0;
}
