#include "exchange/ImportedFile.h"

#include "capture/DroppedTextFile.h"
#include "code/LanguageCatalog.h"

#include <QFile>
#include <QFileInfo>

namespace ImportedFile {

namespace {
// Text holds no NUL byte and few control characters; the bytes of a picture or a program do.
bool looksBinary(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return true;
    const qsizetype sample = qMin<qsizetype>(bytes.size(), 65536);
    qsizetype controls = 0;
    for (qsizetype i = 0; i < sample; ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f' && byte != '\v' &&
            byte != 0x1A && byte != 0x1B)
            ++controls;
    }
    return controls * 20 > sample;
}
} // namespace

bool read(const QString &path, MaterialFile *material, QString *reason)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *reason = QStringLiteral("无法读取：文件不存在（或链接指向的文件不存在）");
        return false;
    }
    if (!info.isFile()) {
        *reason = QStringLiteral("不是普通文件");
        return false;
    }
    if (info.size() > MaxBytes) {
        *reason = QStringLiteral("文件有%1MB，超过了16MB的上限").arg(info.size() / (1024 * 1024));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = QStringLiteral("无法读取：") + file.errorString();
        return false;
    }
    // One byte past the size: a file that grew since it was looked at is still caught (and a
    // buffer of the limit's size for every small file would cost more than the reading).
    const QByteArray bytes = file.read(qMin(file.size(), MaxBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        *reason = QStringLiteral("无法读取：") + file.errorString();
        return false;
    }
    if (bytes.size() > MaxBytes) {
        *reason = QStringLiteral("文件超过了16MB的上限");
        return false;
    }
    if (looksBinary(bytes)) {
        *reason = QStringLiteral("不是文本文件（含有二进制数据）");
        return false;
    }
    if (LanguageCatalog::importedExtensions().contains(info.suffix().toLower())) {
        *material = MaterialFile::fromSource(info.fileName(), DroppedTextFile::decode(bytes));
        return true;
    }
    *material = MaterialFile::parse(DroppedTextFile::decode(bytes));
    // An export's own file keeps its title as it was, also an empty one.
    const bool exported =
        material->kind == MaterialFile::TextKind || material->kind == MaterialFile::InstanceKind;
    if (!exported && material->title.trimmed().isEmpty())
        material->title = info.completeBaseName();
    return true;
}

} // namespace ImportedFile
