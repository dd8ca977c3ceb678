#pragma once

#include "Measure.h"

#include <QVector>

class Database;
class MainWindow;
class QString;

// What keeping versions and deleted materials costs: 2,000 materials modified one by one through
// the record with the store's triggers, against the same without them; the 20,000-material
// category deleted into the recycle bin, against the same delete without it; and those 20,000
// restored from the bin as its dialog does.
struct HistoryFigures
{
    Measure::Pair modify;         // milliseconds: with the triggers (program), without (raw)
    Measure::Pair deleteCategory; // milliseconds: into the bin (program), without it (raw)
    double restoreSeconds = 0;    // median
    int restored = 0;
};

class HistoryBenchmark
{
public:
    HistoryBenchmark(MainWindow &window, Database &database) : m_window(window), m_database(database) {}

    // Adds its materials, measures, and leaves the base as it found it, the bin emptied.
    bool run(HistoryFigures *figures, QString *error);

private:
    bool measureModify(HistoryFigures *figures, QString *error);
    bool measureDelete(HistoryFigures *figures, QString *error);
    // Drops or creates again the text table's triggers of the given names' ending.
    bool setTriggers(const QString &suffix, bool on, QString *error);
    double deleteIntoBin(QVector<double> *restoreTimes, int *restored, QString *error);
    double deleteWithoutBin(QString *error);

    MainWindow &m_window;
    Database &m_database;
};
