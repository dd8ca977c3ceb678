#include "shell/ServerStart.h"

#include "store/Database.h"
#include "widgets/MessageBoxes.h"

namespace ServerStart {

bool connect(Database *database)
{
    QString error;
    if (database->connectServer(&error))
        return true;
    const BaseSettings &settings = database->settings();
    // A file that names no usable server has no server or user worth naming.
    const QString what =
        !settings.refusal().isEmpty()
            ? QStringLiteral("Base.ini没有写明可以使用的共享资料库")
            : QStringLiteral("无法使用共享资料库（服务器%1，用户%2）")
                  .arg(settings.place(),
                       settings.user().isEmpty() ? QStringLiteral("与系统用户同名") : settings.user());
    const QString text =
        QStringLiteral("%1：\n%2\n\n要改用本机的资料库（Data.QBD和MTS.qb）继续吗？选“否”结束程序。")
            .arg(what, error);
    if (MessageBoxes::show(nullptr, text, MessageBoxes::AppTitle, QMessageBox::Warning,
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
    database->useLocalBase();
    return true;
}

} // namespace ServerStart
