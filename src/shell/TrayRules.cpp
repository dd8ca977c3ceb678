#include "shell/TrayRules.h"

bool TrayRules::hidesInstead(int trayMode, Command command, bool trayAvailable)
{
    const int bit = command == Minimise ? MinimiseToTray : CloseToTray;
    return trayAvailable && (trayMode & bit) != 0;
}

bool TrayRules::mayHide(bool trayAvailable, bool otherWindowShown)
{
    return trayAvailable || otherWindowShown;
}
