#pragma once

#include <QString>

// The data folder of a Zindrel installed for everyone, made on its first start: the folder
// itself (readable by its owner alone), MTS.qb and QB.ini copied from the installed defaults,
// and Data.QBD made from the installed schema. What the folder holds already stays as it is.
namespace UserDataFolder {

// False, with the reason, when the folder or one of its files cannot be made.
bool prepare(const QString &folder, const QString &defaults, QString *error);

} // namespace UserDataFolder
