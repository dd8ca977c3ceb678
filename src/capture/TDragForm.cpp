#include "capture/TDragForm.h"

#include "capture/DropRules.h"
#include "capture/TAcceptExeForm.h"
#include "capture/TAcceptTextForm.h"
#include "resources/IconLibrary.h"
#include "shell/MessageBoxes.h"
#include "shell/MessageNumbers.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QTreeWidget>
#include <QWindow>

#include <exception>

QPointer<TDragForm> DragForm;

namespace {
constexpr int IconSize = 32;
constexpr int Margin = 4;
constexpr double Opacity = 160 / 255.0;
const QColor SkyBlue(166, 202, 240);
} // namespace

TDragForm::TDragForm(QMenu *trayMenu, QTreeWidget *tree)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint), m_trayMenu(trayMenu),
      m_tree(tree)
{
    setObjectName(QStringLiteral("TDragForm"));
    setWindowTitle(QStringLiteral("Zindrel"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, SkyBlue);
    setPalette(colours);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(IconLibrary::mainIcon().pixmap(IconSize, IconSize));
    Image1->setFixedSize(IconSize, IconSize);
    Image1->move(Margin, Margin);

    setFixedSize(Image1->width() + 2 * Margin, Image1->height() + 2 * Margin);
    const QScreen *screen = QGuiApplication::primaryScreen();
    move((screen ? screen->geometry().width() : 0) - 100, 50);
    setWindowOpacity(Opacity);
    setAcceptDrops(true);
}

bool TDragForm::open(QMenu *trayMenu, QTreeWidget *tree)
{
    try {
        DragForm = new TDragForm(trayMenu, tree);
        DragForm->show();
        return DragForm->isVisible();
    } catch (const std::exception &) {
        return false;
    }
}

void TDragForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// The whole window acts as a title bar.
void TDragForm::mousePressEvent(QMouseEvent *event)
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

void TDragForm::mouseMoveEvent(QMouseEvent *event)
{
    if (m_moving)
        move(event->globalPosition().toPoint() - m_grabOffset);
}

void TDragForm::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_moving = false;
    QWidget::mouseReleaseEvent(event);
}

void TDragForm::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_trayMenu)
        m_trayMenu->popup(event->globalPos());
}

void TDragForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DropRules::accepts(event->mimeData()))
        return; // not accepted: the drag shows that nothing can be dropped here
    // Always a copy, so that the source keeps what was dragged.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TDragForm::dragMoveEvent(QDragMoveEvent *event)
{
    if (!DropRules::accepts(event->mimeData()))
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TDragForm::dropEvent(QDropEvent *event)
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
    case DropAction::Failed:
        MessageBoxes::show(this, action.content, MessageBoxes::AppTitle, QMessageBox::Critical);
        break;
    case DropAction::Nothing:
        break;
    }
}

template <class Form> void TDragForm::handOver(QPointer<Form> &reference, const QString &content)
{
    if (reference) {
        TextMessageEvent message(MessageNumber::AcceptDataMessage, content);
        QCoreApplication::sendEvent(reference, &message);
        return;
    }
    try {
        // Owned by this window: above it, without task-bar button, ended with it.
        reference = new Form(this, m_tree, content);
        reference->show();
    } catch (const std::exception &error) {
        MessageBoxes::show(this,
                           QStringLiteral("创建窗体错误，原因：") + QString::fromLocal8Bit(error.what()),
                           MessageBoxes::AppTitle, QMessageBox::Warning);
    }
}

void TDragForm::handOverText(const QString &text)
{
    handOver(AcceptTextForm, text);
}

void TDragForm::handOverPath(const QString &path)
{
    handOver(AcceptExeForm, path);
}
