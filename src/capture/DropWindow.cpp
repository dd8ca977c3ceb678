#include "capture/DropWindow.h"

#include "capture/DropRules.h"
#include "capture/DroppedTextFile.h"
#include "capture/QuickInstanceDialog.h"
#include "capture/QuickTextDialog.h"
#include "resources/IconLibrary.h"
#include "tree/CategoryCheck.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ProgramEvents.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QTreeWidget>
#include <QWindow>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>

namespace {
constexpr int IconSize = 32;
constexpr int Margin = 4;
constexpr double Opacity = 160 / 255.0;
const QColor SkyBlue(166, 202, 240);
} // namespace

DropWindow::DropWindow(QMenu *trayMenu, QTreeWidget *tree)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint), m_trayMenu(trayMenu),
      m_tree(tree)
{
    setObjectName(QStringLiteral("DropWindow"));
    setWindowTitle(QStringLiteral("Zindrel"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, SkyBlue);
    setPalette(colours);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(IconLibrary::mainIcon().pixmap(IconSize, IconSize));
    icon->setFixedSize(IconSize, IconSize);
    icon->move(Margin, Margin);

    setFixedSize(icon->width() + 2 * Margin, icon->height() + 2 * Margin);
    const QScreen *screen = QGuiApplication::primaryScreen();
    move((screen ? screen->geometry().width() : 0) - 100, 50);
    setWindowOpacity(Opacity);
    setAcceptDrops(true);
}

void DropWindow::setCategoryCheck(CategoryCheck *check)
{
    m_categoryCheck = check;
}

DropWindow *DropWindow::open(QMenu *trayMenu, QTreeWidget *tree)
{
    try {
        auto *window = new DropWindow(trayMenu, tree);
        window->show();
        if (window->isVisible())
            return window;
        delete window;
    } catch (const std::exception &) {
    }
    return nullptr;
}

void DropWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// The whole window acts as a title bar.
void DropWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_moving = true;
    m_grabOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void DropWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_moving)
        move(event->globalPosition().toPoint() - m_grabOffset);
}

void DropWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_moving = false;
    QWidget::mouseReleaseEvent(event);
}

void DropWindow::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_trayMenu)
        m_trayMenu->popup(event->globalPos());
}

void DropWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DropRules::accepts(event->mimeData()))
        return; // not accepted: the drag shows that nothing can be dropped here
    // Always a copy, so that the source keeps what was dragged.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropWindow::dragMoveEvent(QDragMoveEvent *event)
{
    if (!DropRules::accepts(event->mimeData()))
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropWindow::dropEvent(QDropEvent *event)
{
    const DropAction action = DropRules::interpret(event->mimeData());
    event->setDropAction(Qt::CopyAction);
    event->accept();
    switch (action.kind) {
    case DropAction::Text:
        handOverText(action.content);
        break;
    case DropAction::Instance:
        handOverPath(action.content);
        break;
    case DropAction::TextFile:
        readTextFile(action.content);
        break;
    case DropAction::Nothing:
        break;
    }
}

template <class Dialog> void DropWindow::handOver(QPointer<Dialog> &reference, const QString &content)
{
    if (reference) {
        TextEvent message(ProgramEvent::TakeCaptureData, content);
        QCoreApplication::sendEvent(reference, &message);
        return;
    }
    try {
        // Owned by this window: above it, without task-bar button, ended with it.
        auto *dialog = new Dialog(this, m_tree, content);
        dialog->setCategoryCheck(m_categoryCheck);
        reference = dialog;
        connect(dialog, &QuickCaptureDialog::released, this, [&reference, dialog] {
            if (reference == dialog)
                reference.clear();
        });
        dialog->show();
    } catch (const std::exception &error) {
        MessageBoxes::show(this,
                           QStringLiteral("创建窗体错误，原因：") + QString::fromLocal8Bit(error.what()),
                           MessageBoxes::AppTitle, QMessageBox::Warning);
    }
}

void DropWindow::readTextFile(const QString &path)
{
    struct Read
    {
        bool ok = false;
        QString text;
        QString error;
    };
    // Read away from the window: a slow disk or network share must not freeze it.
    auto *watcher = new QFutureWatcher<Read>(this);
    connect(watcher, &QFutureWatcher<Read>::finished, this, [this, watcher] {
        const Read read = watcher->result();
        watcher->deleteLater();
        if (read.ok)
            handOverText(read.text);
        else
            MessageBoxes::show(this, read.error, MessageBoxes::AppTitle, QMessageBox::Critical);
    });
    watcher->setFuture(QtConcurrent::run([path] {
        Read read;
        read.ok = DroppedTextFile::read(path, &read.text, &read.error);
        return read;
    }));
}

QuickTextDialog *DropWindow::textDialog() const
{
    return m_textDialog;
}

QuickInstanceDialog *DropWindow::instanceDialog() const
{
    return m_instanceDialog;
}

void DropWindow::handOverText(const QString &text)
{
    handOver(m_textDialog, text);
}

void DropWindow::handOverPath(const QString &path)
{
    handOver(m_instanceDialog, path);
}
