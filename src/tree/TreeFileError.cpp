#include "tree/TreeFileError.h"

TreeFileError::TreeFileError(const QString &message) : std::runtime_error(message.toStdString()) {}

QString TreeFileError::message() const
{
    return QString::fromStdString(what());
}
