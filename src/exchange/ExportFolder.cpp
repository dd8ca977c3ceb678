#include "exchange/ExportFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cerrno>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
const QString Unfinished = QStringLiteral("（未完成）");
const QString ExportPrefix = QStringLiteral("Zindrel 导出 ");
const QString LockName = QStringLiteral(".zindrel-export.lock");

QString lockPath(const QString &folder)
{
    return folder + QLatin1Char('/') + LockName;
}

// Unfinished folders whose export is over: killed, its lock held by no running process of this
// machine. One of another machine (a shared folder) is never taken for abandoned.
void removeAbandoned(const QDir &dir)
{
    const QStringList names = dir.entryList({ExportPrefix + QLatin1Char('*') + Unfinished},
                                            QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString &name : names) {
        QLockFile lock(lockPath(dir.filePath(name)));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        QDir(dir.filePath(name)).removeRecursively();
    }
}

QString folderName(const QDateTime &time, int number)
{
    const QString name = ExportPrefix + time.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    return number < 2 ? name : name + QStringLiteral(" (%1)").arg(number);
}

// Writes the file system's cached data of the folder to the disk.
bool flushToDisk(const QString &path, QString *error)
{
#ifdef Q_OS_LINUX
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool flushed = descriptor >= 0 && ::syncfs(descriptor) == 0;
    if (!flushed)
        *error = qt_error_string(errno);
    if (descriptor >= 0)
        ::close(descriptor);
    return flushed;
#else
    Q_UNUSED(path);
    Q_UNUSED(error);
    return true;
#endif
}
} // namespace

ExportFolder::ExportFolder() = default;

ExportFolder::~ExportFolder()
{
    discard();
}

bool ExportFolder::create(const QString &target, const QDateTime &time, QString *error)
{
    const QFileInfo info(target);
    if (!info.isDir()) {
        *error = QStringLiteral("文件夹“%1”不存在。").arg(QDir::toNativeSeparators(target));
        return false;
    }
    m_target = info.absoluteFilePath();
    const QDir dir(m_target);
    removeAbandoned(dir);
    for (int number = 1; number < 1000; ++number) {
        const QString name = folderName(time, number);
        if (dir.exists(name) || dir.exists(name + Unfinished))
            continue;
        if (!dir.mkdir(name + Unfinished))
            break;
        m_finalName = name;
        m_path = dir.filePath(name + Unfinished);
        m_lock = std::make_unique<QLockFile>(lockPath(m_path));
        if (m_lock->tryLock(0))
            return true;
        *error = QStringLiteral("无法在导出文件夹中建立锁文件（磁盘可能已满）。");
        discard();
        return false;
    }
    const int code = errno; // as mkdir left it
    const QString shown = QDir::toNativeSeparators(m_target);
    if (code == EACCES || code == EPERM || !info.isWritable())
        *error = QStringLiteral("没有在文件夹“%1”中写入的权限。").arg(shown);
    else if (code == EROFS)
        *error = QStringLiteral("文件夹“%1”所在的磁盘是只读的。").arg(shown);
    else
        *error = QStringLiteral("无法在文件夹“%1”中建立导出文件夹：%2").arg(shown, qt_error_string(code));
    return false;
}

QString ExportFolder::absolute(const QString &relativePath) const
{
    return m_path + QLatin1Char('/') + relativePath;
}

bool ExportFolder::makeFolder(const QString &relativePath, QString *error)
{
    if (QDir(m_path).mkdir(relativePath))
        return true;
    *error =
        QStringLiteral("无法建立文件夹“%1”（磁盘可能已满）。").arg(QDir::toNativeSeparators(relativePath));
    return false;
}

bool ExportFolder::writeFile(const QString &relativePath, const QByteArray &bytes, QString *error)
{
    QFile file(absolute(relativePath));
    // Unbuffered: a full disk shows at the write itself, not at some later flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        *error = QStringLiteral("无法建立文件“%1”：%2")
                     .arg(QDir::toNativeSeparators(relativePath), file.errorString());
        return false;
    }
    const qint64 written = file.write(bytes);
    file.close();
    if (written == bytes.size() && file.error() == QFileDevice::NoError)
        return true;
    *error = written < 0 || file.error() != QFileDevice::NoError
                 ? QStringLiteral("无法写入文件“%1”：%2（磁盘可能已满）")
                       .arg(QDir::toNativeSeparators(relativePath), file.errorString())
                 : QStringLiteral("文件“%1”只写入了%2字节中的%3字节（磁盘可能已满）。")
                       .arg(QDir::toNativeSeparators(relativePath))
                       .arg(bytes.size())
                       .arg(written);
    return false;
}

bool ExportFolder::finish(QString *error)
{
    QString reason;
    if (!flushToDisk(m_path, &reason)) {
        *error = QStringLiteral("导出的文件没能写到磁盘上：") + reason;
        return false;
    }
    // Its lock file must not stay in the finished folder.
    m_lock.reset();
    QDir dir(m_target);
    for (int number = 1; number < 1000; ++number) {
        // Another export of the same second may have taken the name meanwhile.
        const QString name = number < 2 ? m_finalName : m_finalName + QStringLiteral(" (%1)").arg(number);
        if (dir.exists(name))
            continue;
        if (!dir.rename(QFileInfo(m_path).fileName(), name))
            break;
        m_path = dir.filePath(name);
        m_finished = true;
        return true;
    }
    *error =
        QStringLiteral("无法把文件夹“%1”改名为“%2”。").arg(QDir::toNativeSeparators(m_path), m_finalName);
    return false;
}

void ExportFolder::discard()
{
    if (m_finished || m_path.isEmpty())
        return;
    m_lock.reset();
    QDir(m_path).removeRecursively();
    m_path.clear();
}
