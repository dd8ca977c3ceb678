#include "code/LanguageGuess.h"

#include "code/CodeFence.h"
#include "code/LanguageCatalog.h"

#include <QRegularExpression>
#include <QtAlgorithms>

namespace LanguageGuess {

namespace {
// Structure shows in the first lines; a body of megabytes is not read to its end for it.
constexpr int LinesLooked = 400;

// "python3.11" → "python", "node" → "javascript": the interpreter's name, then without its
// version.
QString interpreterLanguage(const QString &program)
{
    const QString name = program.section(QLatin1Char('/'), -1);
    static const QRegularExpression version(QStringLiteral("[0-9.]+$"));
    QString language = LanguageCatalog::resolve(name);
    if (language.isEmpty())
        language = LanguageCatalog::resolve(QString(name).remove(version));
    if (language.isEmpty() && (name == QLatin1String("node") || name == QLatin1String("nodejs")))
        language = QStringLiteral("javascript");
    return language;
}

QString fromShebang(const QString &line)
{
    QStringList words = line.mid(2).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return QString();
    // "/usr/bin/env -S python3 -u", "/usr/bin/env LANG=C perl": the program after env's own words.
    if (words.first().section(QLatin1Char('/'), -1) == QLatin1String("env")) {
        words.removeFirst();
        while (!words.isEmpty() &&
               (words.first().startsWith(QLatin1Char('-')) || words.first().contains(QLatin1Char('='))))
            words.removeFirst();
        if (words.isEmpty())
            return QString();
    }
    return interpreterLanguage(words.first());
}

QString fromModeLine(const QString &line)
{
    // Emacs: "-*- mode: python; coding: utf-8 -*-" or "-*- c++ -*-".
    static const QRegularExpression emacs(QStringLiteral("-\\*-\\s*(.*?)\\s*-\\*-"));
    const QRegularExpressionMatch emacsMatch = emacs.match(line);
    if (emacsMatch.hasMatch()) {
        const QString inner = emacsMatch.captured(1);
        static const QRegularExpression mode(QStringLiteral("(?:^|;)\\s*mode\\s*:\\s*([^;\\s]+)"),
                                             QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch modeMatch = mode.match(inner);
        QString name = modeMatch.hasMatch() ? modeMatch.captured(1) : inner;
        if (!name.contains(QLatin1Char(':'))) {
            name.remove(QRegularExpression(QStringLiteral("-(mode|ts-mode)$")));
            if (name == QLatin1String("shell-script"))
                return QStringLiteral("sh");
            const QString language = LanguageCatalog::resolve(name);
            if (!language.isEmpty())
                return language;
        }
    }
    // Vim: "vim: set ft=cpp:", "vi: syntax=sh", "ex: filetype=python".
    static const QRegularExpression vim(
        QStringLiteral("(?:^|\\s)(?:vi|vim|ex):.*?\\b(?:ft|filetype|syn|syntax)=([A-Za-z0-9_+#-]+)"));
    const QRegularExpressionMatch vimMatch = vim.match(line);
    return vimMatch.hasMatch() ? LanguageCatalog::resolve(vimMatch.captured(1)) : QString();
}

QString fromMarkup(const QString &line)
{
    const QString start = line.trimmed().left(64).toLower();
    if (start.startsWith(QLatin1String("<?php")))
        return QStringLiteral("php");
    if (start.startsWith(QLatin1String("<?xml")))
        return QStringLiteral("xml");
    if (start.startsWith(QLatin1String("<!doctype html")) || start.startsWith(QLatin1String("<html")))
        return QStringLiteral("html");
    return QString();
}
} // namespace

QString fromFirstLines(const QStringList &lines)
{
    if (lines.isEmpty())
        return QString();
    QString first = lines.first();
    if (first.startsWith(QChar(0xFEFF)))
        first.remove(0, 1);
    if (first.startsWith(QLatin1String("#!"))) {
        const QString language = fromShebang(first);
        if (!language.isEmpty())
            return language;
        return lines.size() > 1 ? fromModeLine(lines.at(1)) : QString();
    }
    const QString language = fromMarkup(first);
    return language.isEmpty() ? fromModeLine(first) : language;
}

QString fromSingleFence(const QStringList &lines)
{
    qsizetype first = 0;
    qsizetype last = lines.size() - 1;
    while (first <= last && lines.at(first).trimmed().isEmpty())
        ++first;
    while (last >= first && lines.at(last).trimmed().isEmpty())
        --last;
    if (last <= first)
        return QString();
    const CodeFence::Opening opening = CodeFence::opening(lines.at(first));
    if (!opening.isValid() || !CodeFence::closes(opening, lines.at(last)))
        return QString();
    for (qsizetype i = first + 1; i < last; ++i) {
        if (CodeFence::closes(opening, lines.at(i)))
            return QString(); // two blocks, or a block and text
    }
    return LanguageCatalog::resolve(opening.info.section(QLatin1Char(' '), 0, 0));
}

bool looksLikeMarkdown(const QStringList &lines)
{
    static const QRegularExpression heading(QStringLiteral("^#{1,6}\\s+\\S"));
    static const QRegularExpression listItem(QStringLiteral("^\\s{0,3}(?:[-*+]|\\d{1,9}[.)])\\s+\\S"));
    static const QRegularExpression link(QStringLiteral("\\[[^\\]]+\\]\\([^)\\s]+\\)|<https?://[^>\\s]+>"));
    static const QRegularExpression emphasis(
        QStringLiteral("\\*\\*[^*\\s][^*]*\\*\\*|__[^_\\s][^_]*__|`[^`]+`"));
    static const QRegularExpression tableRule(QStringLiteral("^\\s*\\|?\\s*:?-{3,}:?\\s*\\|"));
    enum Mark { Heading = 1, List = 2, Link = 4, Emphasis = 8, Table = 16, Quote = 32 };
    int marks = 0;
    int listItems = 0;
    int fences = 0;
    const qsizetype looked = qMin<qsizetype>(lines.size(), LinesLooked);
    for (qsizetype i = 0; i < looked; ++i) {
        const QString &line = lines.at(i);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        // Each expression only where its mark can be: most lines of prose and code have none.
        const QChar first = trimmed.at(0);
        if ((first == QLatin1Char('`') || first == QLatin1Char('~')) && CodeFence::opening(line).isValid() &&
            ++fences == 2)
            return true;
        if (first == QLatin1Char('#') && heading.match(line).hasMatch())
            marks |= Heading;
        if ((first.isDigit() || first == QLatin1Char('-') || first == QLatin1Char('*') ||
             first == QLatin1Char('+')) &&
            listItem.match(line).hasMatch() && ++listItems >= 2)
            marks |= List;
        if (line.contains(QLatin1Char('[')) || line.contains(QLatin1String("<http")))
            marks |= link.match(line).hasMatch() ? Link : 0;
        if (line.contains(QLatin1String("**")) || line.contains(QLatin1String("__")) ||
            line.contains(QLatin1Char('`')))
            marks |= emphasis.match(line).hasMatch() ? Emphasis : 0;
        if (line.contains(QLatin1String("---")) && tableRule.match(line).hasMatch())
            marks |= Table;
        if (first == QLatin1Char('>') && trimmed.size() > 1 && trimmed.at(1).isSpace())
            marks |= Quote;
    }
    // Two kinds of structure: one alone is as likely a comment, a numbered note or a URL.
    return qPopulationCount(static_cast<quint32>(marks)) >= 2;
}

QString of(const QString &title, const QStringList &bodyLines)
{
    QString language = LanguageCatalog::ofFileName(title);
    if (language.isEmpty())
        language = fromFirstLines(bodyLines);
    if (language.isEmpty())
        language = fromSingleFence(bodyLines);
    if (language.isEmpty() && looksLikeMarkdown(bodyLines))
        language = LanguageCatalog::Markdown;
    return language.isEmpty() ? LanguageCatalog::PlainText : language;
}

} // namespace LanguageGuess
