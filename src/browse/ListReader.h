#pragma once

#include "browse/ListEntries.h"

#include <QString>

// Reads the entries of one select of id and title, for the material list and the searches: each
// title without its tokens, each entry with the given image and the row's id. On SQLite it reads
// through SQLite's own interface on the connection Qt opened, the titles' bytes straight into the
// entries: Qt's values and row cache, and turning every title into text, cost three times what
// SQLite itself does for a list of twenty thousand.
class ListReader
{
public:
    // Entries read before a failure stay in *entries.
    static bool read(const QString &sql, int image, ListEntries *entries, QString *error);
};
