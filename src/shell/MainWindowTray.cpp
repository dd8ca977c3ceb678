#include "shell/MainWindowTray.h"

#include "resources/IconLibrary.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

MainWindowTray::MainWindowTray(QWidget *window)
    : QObject(window), m_window(window), m_menu(new QMenu(window)),
      m_windowItem(m_menu->addAction(QStringLiteral("显示主窗口"))),
      m_floatingItem(m_menu->addAction(QStringLiteral("显示悬浮窗口"))),
      m_icon(new QSystemTrayIcon(IconLibrary::mainIcon(), this))
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    m_windowItem->setObjectName(QStringLiteral("showMainWindowAction"));
    m_windowItem->setCheckable(true);
    m_windowItem->setChecked(true);
    connect(m_windowItem, &QAction::triggered, this, &MainWindowTray::windowItemToggled);
    m_floatingItem->setObjectName(QStringLiteral("showDropWindowAction"));
    m_floatingItem->setCheckable(true);
    connect(m_floatingItem, &QAction::triggered, this, &MainWindowTray::floatingItemToggled);
    m_menu->addSeparator();
    connect(m_menu->addAction(QStringLiteral("关于")), &QAction::triggered, this,
            &MainWindowTray::aboutRequested);
    connect(m_menu->addAction(IconLibrary::detailImage(1), QStringLiteral("退出")), &QAction::triggered, this,
            &MainWindowTray::quitRequested);

    m_icon->setToolTip(QStringLiteral("Zindrel"));
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, &MainWindowTray::iconActivated);
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
    // Only hidden: changing the state of a window that is being unmapped maps it again on X11,
    // black. Showing it again restores it from being minimised.
    m_window->hide();
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

bool MainWindowTray::systemCommand(TrayRules::Command command)
{
    if (!TrayRules::hidesInstead(m_mode, command, available()))
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

void MainWindowTray::windowItemToggled()
{
    if (m_windowItem->isChecked()) {
        showWindow();
        return;
    }
    if (TrayRules::mayHide(available(), m_floating && m_floating->isVisible()))
        hideWindow();
    else
        m_windowItem->setChecked(true);
}

void MainWindowTray::floatingItemToggled()
{
    if (!m_floating) {
        m_floatingItem->setChecked(false);
        return;
    }
    if (m_floatingItem->isChecked())
        m_floating->show();
    else if (TrayRules::mayHide(available(), m_window && m_window->isVisible()))
        m_floating->hide();
    else
        m_floatingItem->setChecked(true);
}
