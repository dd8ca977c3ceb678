#include "shell/MainWindowTray.h"

#include "resources/IconLibrary.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

MainWindowTray::MainWindowTray(QWidget *window, QMenu *menu, QAction *windowItem, QAction *floatingItem)
    : QObject(window), m_window(window), m_windowItem(windowItem), m_floatingItem(floatingItem)
{
    m_icon = new QSystemTrayIcon(IconLibrary::mainIcon(), this);
    m_icon->setToolTip(QStringLiteral("Zindrel"));
    m_icon->setContextMenu(menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, &MainWindowTray::activated);
}

void MainWindowTray::add()
{
    m_icon->show();
}

void MainWindowTray::remove()
{
    m_icon->hide();
}

bool MainWindowTray::available() const
{
    return m_availableForTesting.value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

void MainWindowTray::setAvailableForTesting(bool available)
{
    m_availableForTesting = available;
}

void MainWindowTray::hideWindow()
{
    if (!m_window)
        return;
    m_window->hide();
    // Forget the minimised state, so that whatever shows the window again shows it restored.
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_windowItem->setChecked(false);
}

void MainWindowTray::showWindow()
{
    if (!m_window)
        return;
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    m_windowItem->setChecked(true);
}

bool MainWindowTray::systemCommand(TrayRules::Command command, int trayMode)
{
    if (!TrayRules::hidesInstead(trayMode, command, available()))
        return false;
    hideWindow();
    return true;
}

void MainWindowTray::iconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::DoubleClick || !m_window || m_window->isVisible())
        return;
    showWindow();
}

void MainWindowTray::windowItemToggled(const QWidget *floating)
{
    if (m_windowItem->isChecked()) {
        showWindow();
        return;
    }
    if (TrayRules::mayHide(available(), floating && floating->isVisible()))
        hideWindow();
    else
        m_windowItem->setChecked(true);
}

void MainWindowTray::floatingItemToggled(QWidget *floating)
{
    if (!floating) {
        m_floatingItem->setChecked(false);
        return;
    }
    if (m_floatingItem->isChecked())
        floating->show();
    else if (TrayRules::mayHide(available(), m_window && m_window->isVisible()))
        floating->hide();
    else
        m_floatingItem->setChecked(true);
}
