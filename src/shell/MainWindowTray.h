#pragma once

#include "shell/TrayRules.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <optional>

class QAction;
class QMenu;
class QWidget;

// The main window's tray icon and its hiding: the icon with the tip "Zindrel" and the tray
// menu, hiding the main window to the tray and bringing it back, and the two check items of
// the menu kept in step with the windows.
class MainWindowTray : public QObject
{
    Q_OBJECT
public:
    MainWindowTray(QWidget *window, QMenu *menu, QAction *windowItem, QAction *floatingItem);

    void add();
    void remove();
    const QSystemTrayIcon *icon() const { return m_icon; }

    // Whether the desktop has a tray to put the icon in.
    bool available() const;
    void setAvailableForTesting(bool available);

    // Hides the main window with its task-bar button and unchecks "显示主窗口".
    void hideWindow();
    // Shows the main window as it was before it hid and checks "显示主窗口".
    void showWindow();

    // Minimise or close of the main window: true when the window was hidden instead.
    bool systemCommand(TrayRules::Command command, int trayMode);
    // Double click on the icon: a hidden main window comes back; other clicks do nothing here
    // (the icon opens the tray menu itself).
    void iconActivated(QSystemTrayIcon::ActivationReason reason);

    // "显示主窗口" and "显示悬浮窗口" after their check mark toggled.
    void windowItemToggled(const QWidget *floating);
    void floatingItemToggled(QWidget *floating);

signals:
    void activated(QSystemTrayIcon::ActivationReason reason);

private:
    QPointer<QWidget> m_window;
    QPointer<QAction> m_windowItem;
    QPointer<QAction> m_floatingItem;
    QSystemTrayIcon *m_icon = nullptr;
    std::optional<bool> m_availableForTesting;
};
