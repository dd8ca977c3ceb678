#include "tree/NodeRules.h"

namespace NodeRules {

int expandedImage(int image)
{
    switch (image) {
    case RootCollapsed:
        return RootExpanded;
    case FirstLevelCollapsed:
        return FirstLevelExpanded;
    default:
        return image;
    }
}

int collapsedImage(int image)
{
    switch (image) {
    case RootExpanded:
        return RootCollapsed;
    case FirstLevelExpanded:
        return FirstLevelCollapsed;
    default:
        return image;
    }
}

Location locationOf(int image, const QStringList &path)
{
    switch (image) {
    case RootCollapsed:
    case RootExpanded:
    case FirstLevelCollapsed:
    case FirstLevelExpanded:
    case SecondLevel:
        return Location(path);
    default:
        return Location();
    }
}

} // namespace NodeRules
