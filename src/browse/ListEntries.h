#pragma once

#include "browse/ListEntry.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVector>

#include <string>
#include <vector>

// The entries of a list, held compactly: every caption in one buffer of UTF-8 bytes, made into
// text only when it is shown. Reading twenty thousand titles then costs no allocation and no
// conversion per title; a view shows a few dozen of them.
class ListEntries
{
public:
    ListEntries() = default;
    explicit ListEntries(const QVector<ListEntry> &entries);

    int size() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    // No entries, the storage kept for the next ones.
    void clear();

    // A title as the database holds it: its tokens are turned back when it is shown.
    void appendStored(QByteArrayView utf8Title, int image, qint64 id);
    void append(const ListEntry &entry);
    void append(const ListEntries &other);

    ListEntry at(int row) const;
    QString caption(int row) const;
    // The caption as a view draws it: at most that many characters and "…"; only its beginning
    // is made into text, however long the title.
    QString shownCaption(int row, int maxCharacters) const;
    int image(int row) const { return m_rows[static_cast<size_t>(row)].image; }
    qint64 id(int row) const { return m_rows[static_cast<size_t>(row)].id; }
    // The caption's bytes; in token form where captionHasTokens says so.
    QByteArrayView utf8(int row) const;
    bool captionHasTokens(int row) const { return m_rows[static_cast<size_t>(row)].tokens; }
    QVector<ListEntry> toVector() const;

private:
    struct Row
    {
        qint64 id;
        qsizetype offset;
        int bytes;
        qint8 image;
        bool tokens; // the bytes may hold "+(DYH)+" for an apostrophe
    };
    void appendBytes(QByteArrayView utf8, int image, qint64 id, bool tokens);

    // Standard containers: appending costs a few instructions, which count for twenty thousand.
    std::string m_text;
    std::vector<Row> m_rows;
};
