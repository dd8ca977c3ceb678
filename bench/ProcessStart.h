#pragma once

#include <QProcess>
#include <QString>

// Whole-program start as a person waits for it: from starting an executable to its main window
// being mapped on a virtual X screen (Xvfb with a window manager, started here), looking at the
// window list every few milliseconds.
class ProcessStart
{
public:
    ProcessStart();
    ~ProcessStart();
    ProcessStart(const ProcessStart &) = delete;
    ProcessStart &operator=(const ProcessStart &) = delete;

    // False when Xvfb, openbox or xdotool is missing.
    bool available() const { return m_available; }

    // Milliseconds until a window titled exactly so is mapped, or -1 when none was within ten
    // seconds. The program is ended afterwards.
    double once(const QString &executable, const QString &title) const;

private:
    bool m_available = false;
    QString m_display;
    QProcess m_server;
    QProcess m_windowManager;
};
