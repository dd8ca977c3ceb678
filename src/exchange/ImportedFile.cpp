#include "exchange/ImportedFile.h"

#include "base/AnsiText.h"
#include "capture/DroppedTextFile.h"
#include "code/LanguageCatalog.h"

#include <QFile>
#include <QFileInfo>

namespace ImportedFile {

namespace {
constexpr qint64 ChunkBytes = 1024 * 1024;

qint64 megabytes(qint64 bytes)
{
    return bytes / (1024 * 1024);
}

// To the end, also of a file whose size reads 0 (those of /proc); one byte past the limit shows
// that the file is larger.
QByteArray readToEnd(QFile &file, qint64 limit)
{
    QByteArray bytes;
    bytes.reserve(qMin(file.size(), limit) + 1);
    while (bytes.size() <= limit) {
        const QByteArray chunk = file.read(qMin(ChunkBytes, limit + 1 - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    return bytes;
}

// Bytes that are neither UTF-8 nor GB18030 read as replacement characters (valid UTF-8 was read
// as UTF-8, and its replacement characters are the file's own).
bool holdsUnreadableBytes(const QByteArray &bytes, const QString &text, bool utf8)
{
    return !utf8 && text.contains(QChar::ReplacementCharacter) && AnsiText::encode(text) != bytes;
}
} // namespace

bool read(const QString &path, MaterialFile *material, QString *reason, QString *note)
{
    note->clear();
    const QFileInfo info(path);
    if (!info.exists()) {
        *reason = QStringLiteral("无法读取：文件不存在（或链接指向的文件不存在）");
        return false;
    }
    if (!info.isFile()) {
        *reason = QStringLiteral("不是普通文件");
        return false;
    }
    const QString tooLarge = QStringLiteral("文件有%1MB，超过了上限（一份资料的正文最多16MB）");
    if (info.size() > MaxFileBytes) {
        *reason = tooLarge.arg(megabytes(info.size()));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = QStringLiteral("无法读取：") + file.errorString();
        return false;
    }
    const QByteArray bytes = readToEnd(file, MaxFileBytes);
    if (file.error() != QFileDevice::NoError) {
        *reason = QStringLiteral("无法读取：") + file.errorString();
        return false;
    }
    if (bytes.size() > MaxFileBytes) {
        *reason = tooLarge.arg(megabytes(bytes.size()));
        return false;
    }
    // Only NUL ends a statement's text: every other control character is text a material holds
    // (backspace overstrikes, form feeds, escape sequences).
    if (bytes.contains('\0')) {
        *reason = QStringLiteral("不是文本文件（含有二进制数据）");
        return false;
    }
    bool utf8 = false;
    const QString text = DroppedTextFile::decode(bytes, &utf8);
    if (holdsUnreadableBytes(bytes, text, utf8))
        *note = QStringLiteral("既不是UTF-8也不是GB18030编码，无法识别的字节换成了“\uFFFD”");
    if (LanguageCatalog::importedExtensions().contains(info.suffix().toLower())) {
        *material = MaterialFile::fromSource(info.fileName(), text);
    } else {
        *material = MaterialFile::parse(text);
        // An export's own file keeps its title as it was, also an empty one.
        const bool exported =
            material->kind == MaterialFile::TextKind || material->kind == MaterialFile::InstanceKind;
        if (!exported && material->title.trimmed().isEmpty())
            material->title = info.completeBaseName();
    }
    // No file of at most half the limit holds more: no character takes more than twice its UTF-8 bytes.
    if (bytes.size() > MaxBytes / 2) {
        const qint64 stored = AnsiText::byteLength(material->body);
        if (stored > MaxBytes) {
            *reason = QStringLiteral("资料的正文有%1MB，超过了16MB的上限").arg(megabytes(stored));
            return false;
        }
    }
    return true;
}

} // namespace ImportedFile
