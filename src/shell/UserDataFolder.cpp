#include "shell/UserDataFolder.h"

#include "store/SchemaFile.h"

#include <QDir>
#include <QFile>

namespace UserDataFolder {

bool prepare(const QString &folder, const QString &defaults, QString *error)
{
    const QDir target(folder);
    if (!target.exists()) {
        if (!QDir().mkpath(folder)) {
            *error = QStringLiteral("无法建立资料文件夹%1").arg(QDir::toNativeSeparators(folder));
            return false;
        }
        // The materials are the person's own: nobody else reads them.
        QFile::setPermissions(folder,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    for (const QString &name : {QStringLiteral("MTS.qb"), QStringLiteral("QB.ini")}) {
        if (target.exists(name))
            continue;
        QFile installed(QDir(defaults).filePath(name));
        if (!installed.copy(target.filePath(name))) {
            *error = QStringLiteral("无法把%1复制到%2：%3")
                         .arg(QDir::toNativeSeparators(installed.fileName()),
                              QDir::toNativeSeparators(folder), installed.errorString());
            return false;
        }
        QFile::setPermissions(target.filePath(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return SchemaFile::createDatabase(target.filePath(QStringLiteral("Data.QBD")),
                                      QDir(defaults).filePath(QStringLiteral("schema.sql")), error);
}

} // namespace UserDataFolder
