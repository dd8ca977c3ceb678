#pragma once

#include "store/RootKinds.h"
#include "tree/Location.h"

#include <QString>
#include <QStringList>

// How a category node maps onto the database and the history. A node is described by its
// image index and the names on its path from the root (the root's name first).
namespace NodeRules {

inline const QString &TextRootText = RootKinds::TextRootText;
inline const QString &InstanceRootText = RootKinds::InstanceRootText;
inline const QString SearchResultText = QStringLiteral("搜索结果");

// Node images.
enum Image {
    RootCollapsed = 0,
    FirstLevelCollapsed = 1,
    SecondLevel = 2,
    RootExpanded = 3,
    FirstLevelExpanded = 4
};

int expandedImage(int image);
int collapsedImage(int image);

using RootKinds::tableOfRoot;

// Empty when the image gives no location.
Location locationOf(int image, const QStringList &path);

} // namespace NodeRules
