#pragma once

#include <QString>

#include <stdexcept>

// Raised by the tree loader when the tree file yields no category at all; only the main
// window's creation catches it.
class TreeFileError : public std::runtime_error
{
public:
    explicit TreeFileError(const QString &message);
    QString message() const;
};
