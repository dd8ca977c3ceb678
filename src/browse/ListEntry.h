#pragma once

#include <QString>
#include <QVector>

// One entry of the material list or of the hidden search-result store.
struct ListEntry
{
    // Images: 0 category with sub-categories, 1 category without, 3 top-level kind,
    // 4 text material, 5 instance material.
    enum Image {
        CategoryWithChildren = 0,
        Category = 1,
        TopLevel = 3,
        TextMaterial = 4,
        InstanceMaterial = 5
    };

    QString caption;
    int image = 0;
    qint64 id = 0; // the material's id; 0 for every other entry

    bool isMaterial() const { return image == TextMaterial || image == InstanceMaterial; }
    bool operator==(const ListEntry &other) const
    {
        return caption == other.caption && image == other.image && id == other.id;
    }
};
