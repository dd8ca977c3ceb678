#pragma once

#include <QLineEdit>

#include <limits>

// Single-line boxes keep whatever length is typed or pasted; Qt would cut at 32767 characters.
inline void allowAnyLength(QLineEdit *box)
{
    box->setMaxLength(std::numeric_limits<int>::max());
}

inline QLineEdit *newLineEdit(QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    allowAnyLength(box);
    return box;
}
