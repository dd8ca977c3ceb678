#pragma once

#include "tree/CategoryRecovery.h"

#include <QString>
#include <QStringList>
#include <QVector>

// What a restore did, for its report: how many materials came back, which of them went to the
// rescue category and why, which got a new id, which were gone already, and the categories the
// tree needs for them.
struct RestoreOutcome
{
    int restored = 0;
    QStringList rescued;    // each: the title, the category it named, why that cannot be used
    QStringList renumbered; // titles of those whose id another material holds
    int gone = 0;           // no longer there: another copy restored or removed them meanwhile
    int grownCategories = 0;
    QVector<CategoryRecovery::Pair> needed[2]; // by kind: text, instance

    // The report of a restore from the recycle bin, several lines.
    QString binReport() const;
    // The report of a version made current; empty when there is nothing to say beyond it.
    QString versionReport() const;
};
