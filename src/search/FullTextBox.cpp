#include "search/FullTextBox.h"

#include "resources/IconLibrary.h"
#include "widgets/LineEdits.h"

#include <QAction>

#include <QKeyEvent>

namespace {
constexpr int BoxWidth = 180;
}

FullTextBox::FullTextBox(QWidget *parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("fullTextBox"));
    setPlaceholderText(QStringLiteral("全文搜索"));
    setAccessibleName(QStringLiteral("全文搜索"));
    setToolTip(QStringLiteral("全文搜索：在所有资料的标题和内容中查找（Ctrl+F）"));
    // A button of its own rather than the style's: the style's looks its picture up in the icon
    // themes on disk, which took a fifth of the program's start.
    QAction *clearAction = addAction(IconLibrary::clearTextImage(), QLineEdit::TrailingPosition);
    clearAction->setObjectName(QStringLiteral("clearFullTextAction"));
    clearAction->setToolTip(QStringLiteral("清除"));
    clearAction->setVisible(false);
    connect(clearAction, &QAction::triggered, this, &QLineEdit::clear);
    connect(this, &QLineEdit::textChanged, clearAction,
            [clearAction](const QString &text) { clearAction->setVisible(!text.isEmpty()); });
    setFixedWidth(BoxWidth);
    // A query that is too long is refused with a message, never cut without a word.
    LineEdits::allowAnyLength(this);
    connect(this, &QLineEdit::returnPressed, this, [this] { emit searchRequested(text()); });
}

void FullTextBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        clear();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
