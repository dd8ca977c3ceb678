#include "shell/ServerStart.h"

#include "store/Database.h"
#include "widgets/MessageBoxes.h"

namespace ServerStart {

bool connect(Database *database)
{
    QString error;
    if (database->connectServer(&error))
        return true;
    const QString text =
        QStringLiteral(
            "无法使用共享资料库（服务器%1，用户%2）：\n%3\n\n要改用本机的资料库（Data.QBD和MTS.qb）继续吗？"
            "选“否”结束程序。")
            .arg(database->settings().place(),
                 database->settings().user().isEmpty() ? QStringLiteral("与系统用户同名")
                                                       : database->settings().user(),
                 error);
    if (MessageBoxes::show(nullptr, text, MessageBoxes::AppTitle, QMessageBox::Warning,
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
    database->useLocalBase();
    return true;
}

} // namespace ServerStart
