#include "browse/MaterialViewer.h"

#include "base/ShownText.h"
#include "browse/DetailRows.h"
#include "browse/MaterialReader.h"
#include "code/LanguageBar.h"
#include "resources/IconLibrary.h"
#include "store/InstanceMaterial.h"
#include "store/TextMaterial.h"
#include "widgets/AccessibleRoles.h"
#include "widgets/ProgramEvents.h"

#include <QApplication>
#include <QCloseEvent>
#include <QStatusBar>
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

MaterialViewer::MaterialViewer(const std::shared_ptr<HighlightDefinitions> &definitions,
                               const QString &linkCaption, qint64 id, int backColor)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint), m_definitions(definitions),
      m_reader(new MaterialReader(definitions.get(), QStringLiteral("viewerText"), this)),
      m_statusBar(new QStatusBar(this)), m_backColor(backColor)
{
    setObjectName(QStringLiteral("MaterialViewer"));
    AccessibleRoles::install();
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
    // The language and the source switch share the tool bar's line.
    toolBar->addSeparator();
    toolBar->addWidget(m_reader->languageBar());
    layout->addWidget(toolBar);
    layout->addWidget(m_reader, 1);
    m_statusBar->setObjectName(QStringLiteral("viewerStatus"));
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->hide();
    layout->addWidget(m_statusBar);
    connect(m_reader, &MaterialReader::statusChanged, this, [this](const QString &text) {
        m_statusBar->showMessage(text);
        m_statusBar->setVisible(!text.isEmpty());
    });

    m_reader->setBackColor(m_backColor);
    m_reader->readFont(this);
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
        m_reader->showTextMaterial(record, id);
        setWindowTitle(ShownText::shortened(record.title, ShownText::CaptionCharacters));
    } else {
        InstanceMaterial record;
        record.load(id);
        m_reader->showDescription(record.description);
        setWindowTitle(ShownText::shortened(record.title, ShownText::CaptionCharacters) +
                       QStringLiteral("的简介"));
    }
}

void MaterialViewer::refill(int kind, qint64 id)
{
    m_reader->setBackColor(m_backColor);
    m_reader->clear();
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
    m_reader->markTerms(query);
}

void MaterialViewer::selectAll()
{
    m_reader->selectAll();
}

void MaterialViewer::copy()
{
    m_reader->copy();
}
