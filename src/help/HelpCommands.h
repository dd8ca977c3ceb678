#pragma once

#include <QString>
#include <QUrl>

// The help manual, the author's mail address and home page, handed to the desktop. The
// desktop's answer is not examined; a help file that is missing opens nothing.
class HelpCommands
{
public:
    // QBHELP.html in the program folder (QBHELP.CHM on Windows).
    static QString helpFilePath();
    static QUrl mailUrl();
    static QUrl webUrl();

    static void openHelp();
    static void openMail();
    static void openWeb();
};
