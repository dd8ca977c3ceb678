#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>

class QLockFile;

// The new folder an export writes into, beside whatever the chosen folder holds: named by the
// date and time, never over anything that exists. While the export runs the folder's name says
// that it is unfinished ("（未完成）"); only when every file is written and on the disk does it
// take its final name, so a folder under that name is always complete. A failed or cancelled
// export removes it; one that was killed leaves it, locked by nobody, and the next export into
// the same place removes it (a running export holds a lock file in its folder, which keeps it).
//
// Files are written in place rather than through QSaveFile: one flush to the disk per file
// would cost an export of 220,000 materials ten minutes; the whole folder is flushed once, and
// its unfinished name covers every file in it until then.
class ExportFolder
{
public:
    ExportFolder();
    ~ExportFolder();
    ExportFolder(const ExportFolder &) = delete;
    ExportFolder &operator=(const ExportFolder &) = delete;

    bool create(const QString &target, const QDateTime &time, QString *error);
    bool makeFolder(const QString &relativePath, QString *error);
    // A new file; never replaces one. Fails unless every byte was written.
    bool writeFile(const QString &relativePath, const QByteArray &bytes, QString *error);
    // Puts everything on the disk and gives the folder its final name.
    bool finish(QString *error);
    // Removes the unfinished folder and everything in it.
    void discard();

    // The folder's path: its final one once finished.
    QString path() const { return m_path; }

private:
    QString absolute(const QString &relativePath) const;

    std::unique_ptr<QLockFile> m_lock;
    QString m_target;
    QString m_finalName;
    QString m_path;
    bool m_finished = false;
};
