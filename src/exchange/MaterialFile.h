#pragma once

#include <QString>

// One material as a Markdown file: a front matter (title, author, created, kind, language, and
// for an instance material its path), an empty line, then the body, ended by LF. A Markdown
// material's body stands as it was typed; any other body (code, prose, an instance's
// description) is one fenced code block whose info string is its language, so that Markdown
// programs show it as it is. Read back, the one empty line after the front matter and the one
// line break at the very end are dropped again, and a body that is one fenced block agreeing with
// the language is taken out of its fence, so that a body comes back exactly, blank lines and
// final breaks included, also after an editor has added a final line break or turned every LF
// into CR LF. A file without a language (an older export, another program's) keeps its body as
// it stands.
struct MaterialFile
{
    static inline const QString TextKind = QStringLiteral("text");
    static inline const QString InstanceKind = QStringLiteral("instance");

    QString title;
    QString author;
    QString created;  // as given, checked by storedCreateTime()
    QString kind;     // TextKind, InstanceKind, or what another program wrote; empty when none
    QString path;     // the file or program of an instance material
    QString language; // see LanguageCatalog; empty when the file names none
    QString body;     // line breaks as LF
    bool hasFrontMatter = false;

    QString text() const;
    static MaterialFile parse(const QString &text);
    // A source file: titled by its name, in the language of its extension, its text the body.
    static MaterialFile fromSource(const QString &fileName, const QString &text);

    // The creation time in its stored form ("yyyy-MM-dd HH:mm:ss", the date alone at midnight)
    // when the file gives one in that form, in ISO 8601 or as a date; empty otherwise.
    QString storedCreateTime() const;
};
