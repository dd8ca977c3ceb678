#include "tree/EOpenFileError.h"

EOpenFileError::EOpenFileError(const QString &message) : std::runtime_error(message.toStdString()) {}

QString EOpenFileError::message() const
{
    return QString::fromStdString(what());
}
