#pragma once

#include <QString>

// The two kinds of material as the store keeps them: the root each kind is filed under, and its
// table. The tree names its roots by these; the store needs no tree to find a table.
namespace RootKinds {

inline const QString TextRootText = QStringLiteral("文字资料");
inline const QString InstanceRootText = QStringLiteral("实例资料");
inline const QString TextTable = QStringLiteral("textfile");
inline const QString InstanceTable = QStringLiteral("exefile");

// "textfile" for the text root, "exefile" for any other root.
inline QString tableOfRoot(const QString &rootText)
{
    return rootText == TextRootText ? TextTable : InstanceTable;
}

} // namespace RootKinds
