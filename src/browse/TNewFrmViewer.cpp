#include "browse/TNewFrmViewer.h"

#include "browse/DetailRows.h"
#include "browse/ViewerLook.h"
#include "resources/IconLibrary.h"
#include "shell/MessageNumbers.h"
#include "store/TFileExe.h"
#include "store/TFileText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

QString LastViewerCaption;

namespace {
const QString BlankCaption = QStringLiteral("浏览资料");

QToolButton *addButton(QToolBar *bar, const QString &name, int image, const QString &hint)
{
    auto *button = new QToolButton(bar);
    button->setObjectName(name);
    button->setIcon(IconLibrary::viewerImage(image));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}
} // namespace

TNewFrmViewer::TNewFrmViewer(const QString &linkCaption, qint64 id, int backColor)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint), m_backColor(backColor)
{
    setObjectName(QStringLiteral("TNewFrmViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(BlankCaption);
    resize(619, 433);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ToolBar1 = new QToolBar(this);
    ToolBar1->setFixedHeight(29);
    ToolButton1 = addButton(ToolBar1, QStringLiteral("ToolButton1"), 0, QStringLiteral("全选"));
    ToolButton2 = addButton(ToolBar1, QStringLiteral("ToolButton2"), 1, QStringLiteral("复制"));
    connect(ToolButton1, &QToolButton::clicked, this, &TNewFrmViewer::ToolButton1Click);
    connect(ToolButton2, &QToolButton::clicked, this, &TNewFrmViewer::ToolButton2Click);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(ToolBar1);
    layout->addWidget(Memo1);

    ViewerLook::applyBackColor(Memo1, m_backColor);
    FontInit();
    if (linkCaption == DetailRows::ViewInNewWindow)
        fill(TextKind, id);
    else if (linkCaption == DetailRows::ViewAbout)
        fill(AboutKind, id);
    LastViewerCaption = windowTitle();
}

TNewFrmViewer *TNewFrmViewer::findByCaption(const QString &caption)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *viewer = qobject_cast<TNewFrmViewer *>(widget);
        if (viewer && viewer->isVisible() && viewer->windowTitle() == caption)
            return viewer;
    }
    return nullptr;
}

void TNewFrmViewer::fill(int kind, qint64 id)
{
    if (kind == TextKind) {
        TFileText record;
        record.LoadRecord(id);
        Memo1->setPlainText(DetailRows::composedText(record).join(QLatin1Char('\n')));
        setWindowTitle(record.title);
    } else {
        TFileExe record;
        record.LoadRecord(id);
        Memo1->setPlainText(record.about.join(QLatin1Char('\n')));
        setWindowTitle(record.title + QStringLiteral("的简介"));
    }
}

void TNewFrmViewer::ReView(int kind, qint64 id)
{
    ViewerLook::applyBackColor(Memo1, m_backColor);
    Memo1->clear();
    if (kind == TextKind || kind == AboutKind)
        fill(kind, id);
    LastViewerCaption = windowTitle();
}

void TNewFrmViewer::FontInit()
{
    ViewerLook::applyFont(Memo1, this);
}

bool TNewFrmViewer::event(QEvent *event)
{
    if (event->type() == MessageNumber::ReView) {
        const auto *message = static_cast<ParamMessageEvent *>(event);
        ReView(message->wParam(), message->lParam());
        return true;
    }
    return QWidget::event(event);
}

void TNewFrmViewer::closeEvent(QCloseEvent *event)
{
    LastViewerCaption.clear();
    QWidget::closeEvent(event);
}

void TNewFrmViewer::ToolButton1Click()
{
    Memo1->selectAll();
}

void TNewFrmViewer::ToolButton2Click()
{
    Memo1->copy();
}
