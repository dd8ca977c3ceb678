#pragma once

#include <QtGlobal>

class MainWindow;
class QString;

// What showing code costs: a 4 KB C++ material opened in the in-window viewer, coloured, against
// the same body as plain text; and a 1 MB one until the viewer has painted its first screen
// (the rest is coloured in slices after).
struct CodeFigures
{
    double plain = 0;    // the 4 KB body as plain text, milliseconds (median)
    double coloured = 0; // the same as C++, coloured
    double bigFirstPaint = 0;
    double extra() const { return coloured - plain; }
};

class CodeOpenBenchmark
{
public:
    explicit CodeOpenBenchmark(MainWindow &window) : m_window(window) {}

    // Adds its materials, measures, and deletes them again.
    bool run(CodeFigures *figures, QString *error);

private:
    double openInWindow(qint64 id);
    double untilFirstPaint(qint64 id);

    MainWindow &m_window;
};
