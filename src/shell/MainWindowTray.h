#pragma once

#include "shell/TrayRules.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <optional>

class QAction;
class QMenu;
class QWidget;

// The main window's tray icon and its menu, and the hiding of the main window to it: the icon
// with the tip "Zindrel", hiding the main window to the tray and bringing it back, and the two
// check items of the menu ("显示主窗口", "显示悬浮窗口") kept in step with the windows.
class MainWindowTray : public QObject
{
    Q_OBJECT
public:
    explicit MainWindowTray(QWidget *window);

    QMenu *menu() const { return m_menu; }
    QAction *windowItem() const { return m_windowItem; }
    QAction *floatingItem() const { return m_floatingItem; }
    const QSystemTrayIcon *icon() const { return m_icon; }
    // The floating window the menu shows and hides.
    void setFloatingWindow(QWidget *floating) { m_floating = floating; }
    // Bit 0 minimise to the tray, bit 1 close to the tray.
    int mode() const { return m_mode; }
    void setMode(int mode) { m_mode = mode; }

    void add();
    void remove();

    // Whether the desktop has a tray to put the icon in.
    bool available() const;
    void setAvailableForTesting(bool available);

    // Hides the main window with its task-bar button and unchecks "显示主窗口".
    void hideWindow();
    // Shows the main window as it was before it hid and checks "显示主窗口".
    void showWindow();

    // Minimise or close of the main window: true when the window was hidden instead.
    bool systemCommand(TrayRules::Command command);

public slots:
    // Double click on the icon: a hidden main window comes back; other clicks do nothing here
    // (the icon opens the menu itself).
    void iconActivated(QSystemTrayIcon::ActivationReason reason);

signals:
    void aboutRequested();
    void quitRequested();

private:
    // "显示主窗口" and "显示悬浮窗口" after their check mark toggled.
    void windowItemToggled();
    void floatingItemToggled();

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_floating;
    QMenu *m_menu;
    QAction *m_windowItem;
    QAction *m_floatingItem;
    QSystemTrayIcon *m_icon;
    int m_mode = 0;
    std::optional<bool> m_availableForTesting;
};
