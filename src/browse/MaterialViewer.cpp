#include "browse/MaterialViewer.h"

#include "base/ShownText.h"
#include "browse/DetailRows.h"
#include "browse/ViewerLook.h"
#include "resources/IconLibrary.h"
#include "store/InstanceMaterial.h"
#include "store/TextMaterial.h"
#include "widgets/ProgramEvents.h"
#include "widgets/TermMarks.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

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

MaterialViewer::MaterialViewer(const QString &linkCaption, qint64 id, int backColor)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint), m_text(new QPlainTextEdit(this)),
      m_backColor(backColor)
{
    setObjectName(QStringLiteral("MaterialViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(BlankCaption);
    resize(619, 433);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *toolBar = new QToolBar(this);
    toolBar->setFixedHeight(29);
    QToolButton *selectAllButton =
        addButton(toolBar, QStringLiteral("selectAllButton"), 0, QStringLiteral("全选"));
    QToolButton *copyButton = addButton(toolBar, QStringLiteral("copyButton"), 1, QStringLiteral("复制"));
    connect(selectAllButton, &QToolButton::clicked, this, &MaterialViewer::selectAll);
    connect(copyButton, &QToolButton::clicked, this, &MaterialViewer::copy);
    m_text->setObjectName(QStringLiteral("viewerText"));
    m_text->setReadOnly(true);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(toolBar);
    layout->addWidget(m_text);

    ViewerLook::applyBackColor(m_text, m_backColor);
    ViewerLook::applyFont(m_text, this);
    if (linkCaption == DetailRows::ViewInNewWindow)
        fill(TextKind, id);
    else if (linkCaption == DetailRows::ViewAbout)
        fill(DescriptionKind, id);
}

MaterialViewer *MaterialViewer::findVisible(const QString &caption)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *viewer = qobject_cast<MaterialViewer *>(widget);
        if (viewer && viewer->isVisible() && viewer->windowTitle() == caption)
            return viewer;
    }
    return nullptr;
}

void MaterialViewer::fill(int kind, qint64 id)
{
    if (kind == TextKind) {
        TextMaterial record;
        record.load(id);
        m_text->setPlainText(DetailRows::composedText(record).join(QLatin1Char('\n')));
        setWindowTitle(ShownText::shortened(record.title, ShownText::CaptionCharacters));
    } else {
        InstanceMaterial record;
        record.load(id);
        m_text->setPlainText(record.description.join(QLatin1Char('\n')));
        setWindowTitle(ShownText::shortened(record.title, ShownText::CaptionCharacters) +
                       QStringLiteral("的简介"));
    }
}

void MaterialViewer::refill(int kind, qint64 id)
{
    ViewerLook::applyBackColor(m_text, m_backColor);
    m_text->clear();
    if (kind == TextKind || kind == DescriptionKind)
        fill(kind, id);
}

bool MaterialViewer::event(QEvent *event)
{
    if (event->type() == ProgramEvent::RefillViewer) {
        const auto *message = static_cast<RefillViewerEvent *>(event);
        refill(message->kind(), message->id());
        return true;
    }
    return QWidget::event(event);
}

void MaterialViewer::closeEvent(QCloseEvent *event)
{
    emit closed();
    QWidget::closeEvent(event);
}

void MaterialViewer::markTerms(const FullTextQuery &query)
{
    TermMarks::apply(m_text, query);
}

void MaterialViewer::selectAll()
{
    m_text->selectAll();
}

void MaterialViewer::copy()
{
    m_text->copy();
}
