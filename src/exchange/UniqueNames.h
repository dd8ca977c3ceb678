#pragma once

#include <QSet>
#include <QString>

// The names handed out within one folder: each differs from every earlier one as file systems
// that ignore case and letter composition (NTFS, APFS) compare them, by " (2)", " (3)", … before
// its extension.
class UniqueNames
{
public:
    // A safe name (see SafeName) with its extension (".md", or empty for a folder), made distinct.
    QString claim(const QString &safeName, const QString &extension = QString());
    // Marks a name as taken without handing it out.
    void reserve(const QString &name) { m_taken.insert(key(name)); }

private:
    static QString key(const QString &name);

    QSet<QString> m_taken;
};
