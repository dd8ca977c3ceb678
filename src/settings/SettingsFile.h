#pragma once

#include <QString>
#include <QStringList>

// The viewers' font as the settings file keeps it (lines 7 to 12).
struct ViewerFontValues
{
    int charset = 134;     // kept and written back; Qt has no charset
    int color = -16777208; // window text
    int height = -12;      // negative: character height in pixels
    QString face = QStringLiteral("宋体");
    int size = 9; // points; decides the size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    // "0" bold, "1" italic, "2" underline, "3" strike-out, ascending, no gaps.
    QString styleDigits() const;
    void setStyleDigits(const QString &digits);
};

// Every value of the 14-line file. A digit that is not a valid choice reads as -1, so that a
// dialog can leave its group without a checked button.
struct SettingsValues
{
    int icon = 0;            // 0 large icons, 1 small icons, 2 list
    int order = 0;           // 0 by title, 1 by creation time
    int viewStyle = 0;       // 0 in the main window, 1 in a separate viewer
    int viewStyleDetail = 0; // 0 one viewer reused, 1 a viewer per material
    int backColor = 16777215;
    ViewerFontValues font;
    QString trayWay; // "", "0", "1" or "01"
};

// What the main window takes from the file when it starts.
struct StartupSettings
{
    enum IconStyle { LargeIcons = 0, SmallIcons = 1, List = 2 };
    int iconStyle = LargeIcons;
    int listOrder = 1; // 0 unsorted, 1 by title, 2 by creation time
    int browseInNewWindow = 0;
    int windowPerMaterial = 0;
    int viewerBackColor = 16777215;
    int trayMode = 0; // bit 0 minimise to tray, bit 1 close to tray
};

// QB.ini: 14 lines read by position. A missing or short file gives the defaults for what it
// lacks; only a value that is present and not a number is an error. Such a line keeps its
// default, and every other line is read all the same: one bad font line must not cost the tray
// setting at the end of the file.
class SettingsFile
{
public:
    static QString path();

    static StartupSettings readStartup(const QString &path);
    // False with an error naming every line that is not a number (or why the file cannot be
    // read); every other line is read.
    static bool readFont(const QString &path, ViewerFontValues *font, QString *error);
    static bool readAll(const QString &path, SettingsValues *values, QString *error);

    static QStringList lines(const SettingsValues &values);
    static bool write(const QString &path, const SettingsValues &values, QString *error);

    static int trayModeOf(const QString &trayWay);
};
