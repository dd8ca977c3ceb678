#pragma once

#include "store/BaseSettings.h"

#include <QString>

class MainWindow;
class QSqlDatabase;

// How soon a change that another copy of the program makes on a shared base shows in this copy's
// list. A connection of its own inserts a material into the big category, which the window
// lists, with the statement that TextMaterial::insert runs; the window hears of it on its own
// connection as the program does (LISTEN, through its Database and ChangeFollower), and the list
// is read again. A run is timed from the insert's commit until the list holds the material and
// the window is idle; the material is deleted again after it.
class ChangeLatency
{
public:
    ChangeLatency(MainWindow &window, const BaseSettings &server);

    // The median in milliseconds; negative, with the reason, when a change did not show.
    double measure(QString *error);

private:
    double once(QSqlDatabase &writer, int run, QString *error);
    // Runs the event loop until the list holds that many entries; false after ten seconds.
    bool waitForRows(int rows);

    MainWindow &m_window;
    BaseSettings m_server;
};
