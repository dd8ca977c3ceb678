#include "browse/LaunchPlan.h"

#include <QDir>
#include <QFileInfo>

LaunchPlan LaunchPlan::of(const QString &path)
{
    LaunchPlan plan;
    const QFileInfo info(QDir::fromNativeSeparators(path));
    plan.path = info.absoluteFilePath();
    if (path.trimmed().isEmpty() || !info.exists())
        return plan;
    if (!info.isReadable()) {
        plan.action = NotAllowed;
    } else if (info.isDir()) {
        plan.action = OpenFolder;
    } else if (info.isFile() && info.isExecutable()) {
        plan.action = Run;
        plan.workingFolder = info.absolutePath();
    } else {
        plan.action = Open;
    }
    return plan;
}
