#pragma once

#include <QString>
#include <QVector>

// A node of the category tree: its name, its image, its children in order.
struct TreeNode
{
    QString name;
    int image = 0;
    QVector<TreeNode> children;

    bool operator==(const TreeNode &other) const
    {
        return name == other.name && image == other.image && children == other.children;
    }
};
