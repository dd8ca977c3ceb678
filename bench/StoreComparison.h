#pragma once

#include "Measure.h"

#include <QString>

class MainWindow;
class RawStore;

// The figures that compare the program with the same statements run straight on its store.
struct StoreFigures
{
    Measure::Pair list; // a refresh of the list for the big category, against the raw select
    int listRows = 0;
    Measure::Pair search; // the search dialog's search over all text titles, against the raw select
    int searchHits = 0;
    QString searchStatement;
    Measure::Pair insert; // 2,000 TextMaterial::insert, against raw inserts
    int inserts = 0;
};

// Measures a main window on the store of its database (Data.QBD or a shared base) against the
// reference on the same store: the list of the big category, the search dialog's title search,
// inserts one by one through the text record. Each is false, with the reason, when the program
// and the reference did not do the same work.
class StoreComparison
{
public:
    StoreComparison(MainWindow &window, const RawStore &raw);

    // Brings a category onto the list as a tree click does, and waits until all is done.
    static void showCategory(MainWindow &window, const QString &name);

    // In the list's current view style.
    bool list(Measure::Pair *pair, int *rows, QString *error);
    bool search(StoreFigures *figures, QString *error);
    // The inserted materials are removed again: a kept folder or base stays as generated.
    bool insert(StoreFigures *figures, QString *error);

private:
    MainWindow &m_window;
    const RawStore &m_raw;
};
