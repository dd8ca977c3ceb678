#include "capture/DropRules.h"

#include "base/AnsiText.h"

#include <QDir>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

namespace {
QStringList localFiles(const QMimeData *data)
{
    QStringList files;
    if (!data->hasUrls())
        return files;
    const QList<QUrl> urls = data->urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            files.append(QDir::toNativeSeparators(url.toLocalFile()));
    }
    return files;
}
} // namespace

bool DropRules::accepts(const QMimeData *data)
{
    return data && (data->hasText() || !localFiles(data).isEmpty());
}

DropAction DropRules::interpret(const QMimeData *data)
{
    if (!data)
        return {};
    const QStringList files = localFiles(data);
    if (!files.isEmpty()) {
        if (files.size() != 1)
            return {};
        const QString &path = files.first();
        return {isTextFileName(path) ? DropAction::TextFile : DropAction::Instance, path};
    }
    if (data->hasText())
        return {DropAction::Text, data->text()};
    return {};
}

bool DropRules::isTextFileName(const QString &path)
{
    return path.endsWith(QLatin1String(".txt"), Qt::CaseSensitive);
}

QString DropRules::titleOf(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    // Ten bytes lie within the first twenty characters even when CR LF pairs shrink to blanks.
    QString flat = text.left(2 * TitleBytes);
    flat.replace(lineBreak, QStringLiteral(" "));
    return AnsiText::leftBytes(flat, TitleBytes);
}
