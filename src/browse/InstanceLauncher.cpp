#include "browse/InstanceLauncher.h"

#include "browse/LaunchPlan.h"
#include "widgets/MessageBoxes.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace {
// What xdg-open's exit statuses mean.
QString openerFailure(int status)
{
    switch (status) {
    case 2:
        return QStringLiteral("文件不存在或无法读取");
    case 3:
        return QStringLiteral("系统中没有能打开这种文件的程序");
    default:
        return QStringLiteral("系统未能打开它（打开工具的退出码为%1）").arg(status);
    }
}
} // namespace

InstanceLauncher::InstanceLauncher(QWidget *window)
    : QObject(window), m_window(window), m_opener(defaultOpener())
{
}

QStringList InstanceLauncher::defaultOpener()
{
    if (!QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return {QStringLiteral("xdg-open")};
    return {QStringLiteral("gio"), QStringLiteral("open")};
}

void InstanceLauncher::launch(const QString &path)
{
    const LaunchPlan plan = LaunchPlan::of(path);
    switch (plan.action) {
    case LaunchPlan::Missing:
        MessageBoxes::plain(m_window, QStringLiteral("资料路径有错，不存在该路径，请修改。"));
        return;
    case LaunchPlan::NotAllowed:
        tell(plan.path, QStringLiteral("没有读取它的权限"));
        return;
    case LaunchPlan::Run:
        // A shared base can hold a path someone else wrote: a program runs only when asked to.
        if (MessageBoxes::confirm(
                m_window, QStringLiteral("要运行程序“%1”吗？").arg(QDir::toNativeSeparators(plan.path)),
                QStringLiteral("运行")))
            run(plan.path, plan.workingFolder);
        return;
    case LaunchPlan::OpenFolder:
    case LaunchPlan::Open:
        open(plan.path);
        return;
    }
}

void InstanceLauncher::run(const QString &program, const QString &folder)
{
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(folder);
    if (!process.startDetached())
        MessageBoxes::show(m_window,
                           QStringLiteral("无法运行程序“%1”：它无法启动（可能不是这台电脑能运行的程序，"
                                          "或者找不到它需要的解释器）。")
                               .arg(QDir::toNativeSeparators(program)),
                           MessageBoxes::AppTitle, QMessageBox::Warning);
}

void InstanceLauncher::open(const QString &path)
{
    auto *process = new QProcess(this);
    process->setProgram(m_opener.value(0));
    process->setArguments(m_opener.mid(1) + QStringList{path});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    connect(process, &QProcess::errorOccurred, this, [this, process, path](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        tell(path, QStringLiteral("系统中没有打开文件的工具%1（Debian的xdg-utils提供xdg-open）")
                       .arg(m_opener.value(0)));
        process->deleteLater();
        emit openerFinished(false);
    });
    connect(process, &QProcess::finished, this, [this, process, path](int status, QProcess::ExitStatus exit) {
        process->deleteLater();
        const bool opened = exit == QProcess::NormalExit && status == 0;
        if (!opened)
            tell(path,
                 exit == QProcess::NormalExit ? openerFailure(status) : QStringLiteral("打开工具意外退出"));
        emit openerFinished(opened);
    });
    process->start();
}

void InstanceLauncher::tell(const QString &path, const QString &reason)
{
    MessageBoxes::show(m_window,
                       QStringLiteral("无法打开“%1”：%2。").arg(QDir::toNativeSeparators(path), reason),
                       MessageBoxes::AppTitle, QMessageBox::Warning);
}
