#pragma once

// When the main window hides to the tray instead of minimising or closing, and when a window
// may be hidden from the tray menu. Nothing hides where nothing could bring it back.
class TrayRules
{
public:
    enum Command { Minimise, Close };

    static constexpr int MinimiseToTray = 1; // bit 0 of TrayMode
    static constexpr int CloseToTray = 2;    // bit 1 of TrayMode

    // True when the command only hides the main window: its bit of TrayMode is set and a tray
    // icon is there to bring the window back.
    static bool hidesInstead(int trayMode, Command command, bool trayAvailable);

    // True when one of the two windows may be hidden from the tray menu. Without a tray the
    // other window must stay shown, since its menu is the only way back.
    static bool mayHide(bool trayAvailable, bool otherWindowShown);
};
