#pragma once

#include <QStringList>
#include <QVector>

// Which lines differ between two texts, by a shortest edit script over whole lines (dtl): the
// lines of the earlier text that the later one lacks, and the lines the later one added.
class LineDiff
{
public:
    LineDiff(const QStringList &before, const QStringList &after);

    // Line numbers from 0, ascending.
    const QVector<int> &removed() const { return m_removed; }
    const QVector<int> &added() const { return m_added; }

private:
    QVector<int> m_removed;
    QVector<int> m_added;
};
