#pragma once

#include <QPair>
#include <QString>
#include <QVector>

// The block of fields at the top of a Markdown file, between two lines of "---":
//
//   ---
//   title: "C++: the \"new\" rules"
//   ---
//
// Written, every value stands between double quotes; inside them a backslash and a double quote
// are escaped ("\\", "\""), and so is every control character ("\n", "\r", "\t", other ones as
// "\u0001"), with the line and paragraph separators, the byte-order mark, non-characters and
// surrogates without their partner, which YAML readers refuse or misread. Nothing else is
// touched, so any text survives, with ':' '"' '#' or blanks at either end; and since this is a
// subset of YAML's double-quoted form, other Markdown tools read the same values. A list of records stands
// under its key, one "- key: value" line beginning each record and further fields indented below it, so that
// no key repeats:
//
//   categories:
//     - folder: "文字资料"
//       name: "文字资料"
//
// Read, a value may also be bare (taken without its outer blanks) or single-quoted ('' for '), as
// other programs write them; other indented lines and comments are passed over. A block holding
// any other line is no front matter at all, so a file that merely begins with a horizontal rule
// keeps its text.
class FrontMatter
{
public:
    using Record = QVector<QPair<QString, QString>>;

    void append(const QString &key, const QString &value) { m_fields.append({key, value}); }
    void appendRecord(const QString &list, const Record &record);
    // The records of the list in order; none when there is no such list.
    QVector<Record> records(const QString &list) const;
    // The first value of the key; empty when there is none.
    QString value(const QString &key) const;
    bool contains(const QString &key) const;
    const QVector<QPair<QString, QString>> &fields() const { return m_fields; }

    // The block with its two "---" lines, every line ended by LF.
    QString text() const;

    // Splits a file's text into its front matter and the rest after the closing line; false,
    // with the whole text as the rest, when the text does not begin with a front matter.
    static bool split(const QString &text, FrontMatter *fields, QString *rest);

    static QString quoted(const QString &value);
    // A value as it stands after "key:", quoted or bare.
    static QString unquoted(const QString &value);

private:
    QVector<QPair<QString, QString>>::const_iterator findField(const QString &key) const;

    QVector<QPair<QString, QString>> m_fields;
    QVector<QPair<QString, QVector<Record>>> m_lists;
};
