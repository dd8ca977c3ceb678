#pragma once

#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

// The category choices of a capture dialog, read from the main window's tree when asked: the
// first-level categories below the kind's root, and the second-level categories of one of them
// after the entry "根目录" (filed directly under the first-level category).
class CaptureCategories
{
public:
    enum Kind { TextKind, InstanceKind };

    static inline const QString RootEntry = QStringLiteral("根目录");

    CaptureCategories(const QTreeWidget *tree, Kind kind);

    QStringList firstLevel() const;
    // "根目录" first, then the children of the first first-level category of that name.
    QStringList secondLevel(const QString &firstLevel) const;

private:
    const QTreeWidgetItem *root() const;

    const QTreeWidget *m_tree;
    Kind m_kind;
};
