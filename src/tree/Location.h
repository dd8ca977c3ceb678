#pragma once

#include <QString>
#include <QStringList>

// Where a category sits: its root, first-level and second-level names (one to three of them).
// The joined text with "-" and "null" is only what menus show; the names themselves are kept,
// so that a category called "C-Sharp" or "null" is found again.
class Location
{
public:
    Location() = default;
    explicit Location(const QStringList &names);

    const QStringList &names() const { return m_names; }
    bool isEmpty() const { return m_names.isEmpty(); }
    // root + "-" + first + "-" + second, "null" standing for a missing level.
    QString text() const;

    bool operator==(const Location &other) const { return m_names == other.m_names; }
    bool operator!=(const Location &other) const { return !(*this == other); }

private:
    QStringList m_names;
};
