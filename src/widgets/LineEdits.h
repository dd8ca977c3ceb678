#pragma once

#include <QLineEdit>

#include <limits>

// Single-line boxes keep whatever length is typed or pasted; Qt would cut at 32767 characters.
namespace LineEdits {

inline void allowAnyLength(QLineEdit *box)
{
    box->setMaxLength(std::numeric_limits<int>::max());
}

inline QLineEdit *unlimited(QWidget *parent, const QString &objectName)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(objectName);
    allowAnyLength(box);
    return box;
}

} // namespace LineEdits
