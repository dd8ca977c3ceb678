#include "base/AnsiText.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextCodec>

namespace AnsiText {

namespace {
QTextCodec *codec()
{
    static QTextCodec *const gb18030 = QTextCodec::codecForName("GB18030");
    return gb18030;
}

// Code units of the character that starts at position: two for a surrogate pair.
qsizetype characterUnits(const QString &text, qsizetype position)
{
    return text.at(position).isHighSurrogate() && position + 1 < text.size() &&
                   text.at(position + 1).isLowSurrogate()
               ? 2
               : 1;
}

int characterBytes(const QString &text, qsizetype position, qsizetype units)
{
    if (text.at(position).unicode() < 0x80)
        return 1;
    return static_cast<int>(
        codec()->fromUnicode(text.constData() + position, static_cast<int>(units)).size());
}
} // namespace

QByteArray encode(const QString &text)
{
    return codec()->fromUnicode(text);
}

QString decode(const QByteArray &bytes)
{
    return codec()->toUnicode(bytes);
}

int byteLength(const QString &text)
{
    return static_cast<int>(encode(text).size());
}

QString leftBytes(const QString &text, int maxBytes)
{
    int used = 0;
    for (qsizetype position = 0; position < text.size();) {
        const qsizetype units = characterUnits(text, position);
        used += characterBytes(text, position, units);
        if (used > maxBytes)
            return text.left(position);
        position += units;
    }
    return text;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar ch = text.at(i);
        if (ch != QLatin1Char('\r') && ch != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (ch == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

QString joinLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

QStringList typedLines(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.isEmpty() ? QStringList() : text.split(lineBreak);
}

bool readLineFile(const QString &path, QStringList *lines, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    *lines = splitLines(decode(bytes));
    return true;
}

bool writeLineFile(const QString &path, const QStringList &lines, QString *error)
{
    const QByteArray bytes = encode(joinLines(lines));
    // Nothing to write when the file holds these bytes already: at the end, on a full disk, an
    // unchanged file is no failure.
    if (QFileInfo(path).size() == bytes.size()) {
        QFile current(path);
        if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes)
            return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // A full disk may take only part of the bytes without an error: such a file is never
    // committed over the old one.
    const qint64 written = file.write(bytes);
    if (written == bytes.size() && file.commit())
        return true;
    if (error) {
        *error =
            file.error() != QFileDevice::NoError || written < 0
                ? file.errorString()
                : QStringLiteral("只写入了%1字节中的%2字节（磁盘可能已满）").arg(bytes.size()).arg(written);
    }
    return false;
}

} // namespace AnsiText
