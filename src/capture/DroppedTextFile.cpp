#include "capture/DroppedTextFile.h"

#include "base/AnsiText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {
constexpr char16_t CtrlZ = 0x1A;

QString megabytes(qint64 bytes)
{
    return QString::number(static_cast<double>(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
}

QString tooLarge(const QString &path, qint64 bytes)
{
    return QStringLiteral("文件%1有%2，超过了%3，不能作为文字资料读入。")
        .arg(path, megabytes(bytes), megabytes(DroppedTextFile::MaximumBytes));
}
} // namespace

bool DroppedTextFile::read(const QString &path, QString *text, QString *error)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *error = QStringLiteral("%1不是普通文件，不能作为文字资料读入。").arg(path);
        return false;
    }
    if (info.size() > MaximumBytes) {
        *error = tooLarge(path, info.size());
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法打开文件%1：%2").arg(path, file.errorString());
        return false;
    }
    // At most one byte more than allowed: a file that grew meanwhile is still caught.
    const QByteArray bytes = file.read(MaximumBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("无法读取文件%1：%2").arg(path, file.errorString());
        return false;
    }
    if (bytes.size() > MaximumBytes) {
        *error = tooLarge(path, bytes.size());
        return false;
    }
    *text = joinedLines(decode(bytes));
    return true;
}

QString DroppedTextFile::decode(const QByteArray &bytes, bool *utf8)
{
    // The decoder skips a leading byte-order mark.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (utf8)
        *utf8 = !decoder.hasError();
    if (!decoder.hasError())
        return text;
    return AnsiText::decode(bytes);
}

QString DroppedTextFile::joinedLines(const QString &text)
{
    QString result;
    result.reserve(text.size() + text.size() / 16);
    bool lineStarted = false;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar ch = text.at(i);
        if (!lineStarted && ch.unicode() == CtrlZ)
            break;
        if (ch == QLatin1Char('\n')) {
            result += QLatin1String("\r\n");
            lineStarted = false;
            continue;
        }
        lineStarted = true;
        if (ch == QLatin1Char('\r')) {
            if (i + 1 < size && text.at(i + 1) == QLatin1Char('\n')) {
                result += QLatin1String("\r\n");
                lineStarted = false;
                ++i;
            }
            continue; // a CR alone is dropped
        }
        result += ch;
    }
    if (lineStarted)
        result += QLatin1String("\r\n");
    return result;
}
