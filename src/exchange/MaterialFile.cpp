#include "exchange/MaterialFile.h"

#include "code/CodeFence.h"
#include "code/LanguageCatalog.h"
#include "exchange/FrontMatter.h"
#include "store/CreateTime.h"

#include <QDateTime>

namespace {
const QString TitleKey = QStringLiteral("title");
const QString AuthorKey = QStringLiteral("author");
const QString CreatedKey = QStringLiteral("created");
const QString DateKey = QStringLiteral("date"); // what most other Markdown tools call it
const QString KindKey = QStringLiteral("kind");
const QString PathKey = QStringLiteral("path");
const QString LanguageKey = QStringLiteral("language");

// The text without one line break (CR LF, LF or CR) at its start or end.
QString withoutBreakAtStart(const QString &text)
{
    if (text.startsWith(QLatin1String("\r\n")))
        return text.mid(2);
    if (text.startsWith(QLatin1Char('\n')) || text.startsWith(QLatin1Char('\r')))
        return text.mid(1);
    return text;
}

QString withoutBreakAtEnd(const QString &text)
{
    if (text.endsWith(QLatin1String("\r\n")))
        return text.chopped(2);
    if (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        return text.chopped(1);
    return text;
}
} // namespace

QString MaterialFile::text() const
{
    FrontMatter fields;
    fields.append(TitleKey, title);
    fields.append(AuthorKey, author);
    fields.append(CreatedKey, created);
    fields.append(KindKey, kind);
    if (kind == InstanceKind)
        fields.append(PathKey, path);
    // A description is plain text.
    const QString shownLanguage =
        kind == InstanceKind || language.isEmpty() ? LanguageCatalog::PlainText : language;
    fields.append(LanguageKey, shownLanguage);
    const QString shownBody =
        shownLanguage == LanguageCatalog::Markdown ? body : CodeFence::fenced(body, shownLanguage);
    return fields.text() + QLatin1Char('\n') + shownBody + QLatin1Char('\n');
}

MaterialFile MaterialFile::parse(const QString &text)
{
    MaterialFile file;
    FrontMatter fields;
    QString rest;
    file.hasFrontMatter = FrontMatter::split(text, &fields, &rest);
    if (file.hasFrontMatter) {
        file.title = fields.value(TitleKey);
        file.author = fields.value(AuthorKey);
        file.created = fields.contains(CreatedKey) ? fields.value(CreatedKey) : fields.value(DateKey);
        file.kind = fields.value(KindKey);
        file.path = fields.value(PathKey);
        file.language = fields.value(LanguageKey).trimmed();
        rest = withoutBreakAtStart(rest);
    }
    file.body = withoutBreakAtEnd(rest);
    QString info;
    QString inner;
    if (!file.language.isEmpty() && file.language != LanguageCatalog::Markdown &&
        CodeFence::unwrap(file.body, &info, &inner) &&
        (info == file.language ||
         (!LanguageCatalog::resolve(info).isEmpty() &&
          LanguageCatalog::resolve(info) == LanguageCatalog::resolve(file.language))))
        file.body = inner;
    return file;
}

MaterialFile MaterialFile::fromSource(const QString &fileName, const QString &text)
{
    MaterialFile file;
    file.title = fileName;
    file.language = LanguageCatalog::ofFileName(fileName);
    file.body = withoutBreakAtEnd(text);
    return file;
}

QString MaterialFile::storedCreateTime() const
{
    // Date and time are read apart, as plain fields: a stored time that the local time zone
    // skips (a daylight-saving gap) stays as it was written.
    const QStringList parts = created.trimmed().split(QLatin1Char(' '));
    const QDate date = QDate::fromString(parts.first(), QStringLiteral("yyyy-MM-dd"));
    const QTime time =
        parts.size() == 2 ? QTime::fromString(parts.last(), QStringLiteral("HH:mm:ss")) : QTime(0, 0);
    if (parts.size() <= 2 && date.isValid() && time.isValid())
        return CreateTime::format(QDateTime(date, time, Qt::UTC));
    const QDateTime iso = QDateTime::fromString(created.trimmed(), Qt::ISODate);
    return iso.isValid() ? CreateTime::format(iso.toLocalTime()) : QString();
}
