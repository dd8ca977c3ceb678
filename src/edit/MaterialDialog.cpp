#include "edit/MaterialDialog.h"

#include "base/AnsiText.h"
#include "store/Material.h"
#include "store/SqlText.h"
#include "tree/CategoryCheck.h"
#include "widgets/ActionLink.h"
#include "widgets/LineEdits.h"
#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

namespace {
QLabel *label(QWidget *parent, const QString &text, int left, int top)
{
    auto *item = new QLabel(text, parent);
    item->move(left, top);
    item->adjustSize();
    return item;
}

void setColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}
} // namespace

MaterialDialog::MaterialDialog(QWidget *owner, const QStringList &context, int mode)
    : QDialog(owner), m_context(context), m_mode(mode)
{
    setFixedSize(475, 275);
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setPixelSize(13);
    dialogFont.setBold(true);
    setFont(dialogFont);
    setColor(this, QColor(0, 128, 128));

    QLabel *titleLabel = label(this, QStringLiteral("标题："), 24, 16);
    m_titleEdit = LineEdits::unlimited(this, QStringLiteral("titleEdit"));
    titleLabel->setBuddy(m_titleEdit);
    m_titleEdit->setGeometry(72, 13, 121, 22);
    QLabel *authorLabel = label(this, QStringLiteral("作者："), 216, 16);
    m_authorEdit = LineEdits::unlimited(this, QStringLiteral("authorEdit"));
    authorLabel->setBuddy(m_authorEdit);
    m_authorEdit->setGeometry(264, 13, 121, 22);
    QLabel *optional = label(this, QStringLiteral("(可不填)"), 392, 18);
    QFont songBold(QStringLiteral("宋体"));
    songBold.setPixelSize(12);
    songBold.setBold(true);
    optional->setFont(songBold);
    optional->adjustSize();
    setColor(optional, QColor(128, 0, 0));
    m_bodyLabel = label(this, QStringLiteral("正文："), 184, 46);
    m_pasteLink = new ActionLink(QStringLiteral("从剪贴板"), 0, this);
    m_pasteLink->setObjectName(QStringLiteral("pasteLink"));
    m_pasteLink->setFont(songBold);
    m_pasteLink->adjustSize();
    m_pasteLink->move(248, 48);
    connect(m_pasteLink, &ActionLink::clicked, this, &MaterialDialog::pasteFromClipboard);
    m_bodyEdit = new QPlainTextEdit(this);
    m_bodyEdit->setObjectName(QStringLiteral("bodyEdit"));
    m_bodyLabel->setBuddy(m_bodyEdit);
    m_bodyEdit->setGeometry(8, 72, 457, 169);
    m_bodyEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont memoFont(QStringLiteral("MS Sans Serif"));
    memoFont.setPixelSize(13);
    memoFont.setBold(false);
    m_bodyEdit->setFont(memoFont);
    auto *saveButton =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("添加"), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    saveButton->setGeometry(280, 244, 75, 25);
    saveButton->setAutoDefault(false);
    m_cancelButton =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("取消"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setGeometry(368, 244, 75, 25);
    m_cancelButton->setAutoDefault(false);
    auto *progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setGeometry(24, 248, 233, 17);
    progressBar->setTextVisible(false);
    progressBar->setValue(0);
    setTabOrder(m_titleEdit, m_authorEdit);
    setTabOrder(m_authorEdit, m_bodyEdit);
    setTabOrder(m_bodyEdit, saveButton);
    setTabOrder(saveButton, m_cancelButton);
    m_bodyEdit->setTabChangesFocus(false);

    connect(saveButton, &QPushButton::clicked, this, [this] { saveMaterial(); });
    connect(m_cancelButton, &QPushButton::clicked, this, &MaterialDialog::reject);
}

void MaterialDialog::setCaption(const QString &kind)
{
    QString caption =
        (m_mode == ModifyMode ? QStringLiteral("修改资料在:->") : QStringLiteral("添加资料在:->")) + kind +
        QStringLiteral("->") + m_context.value(1) + QStringLiteral("->") + m_context.value(2);
    if (m_mode == ModifyMode)
        caption += QStringLiteral("->") + m_context.value(3);
    setWindowTitle(caption);
}

bool MaterialDialog::refuseEmpty(const QList<QLineEdit *> &required, bool bodyRequired,
                                 const QString &message)
{
    bool empty = bodyRequired && m_bodyEdit->toPlainText().isEmpty();
    for (const QLineEdit *box : required)
        empty = empty || box->text().isEmpty();
    if (empty)
        MessageBoxes::plain(this, message);
    return empty;
}

void MaterialDialog::fillCommonFields(Material &record) const
{
    record.title = SqlText::toTokens(m_titleEdit->text(), false);
    record.author = m_authorEdit->text();
    record.subcategory = m_context.value(2);
    record.category = m_context.value(1);
}

void MaterialDialog::setCategoryCheck(CategoryCheck *check)
{
    m_categoryCheck = check;
}

void MaterialDialog::save(Material &record, const QString &typedTitle, const QString &typedBody)
{
    // The boxes show what is stored while the result is up.
    m_titleEdit->setText(record.title);
    m_bodyEdit->setPlainText(SqlText::toTokens(typedBody, true));
    const auto store = [&] {
        return m_mode == ModifyMode ? record.update(m_context.value(4).toLongLong()) : record.insert();
    };
    QString failure;
    const bool saved = m_categoryCheck
                           ? m_categoryCheck->save({m_context.value(0), record.category, record.subcategory},
                                                   store, &failure)
                           : store();
    m_resultMessage = failure.isEmpty() ? record.resultMessage() : failure;
    if (!saved) {
        m_titleEdit->setText(typedTitle);
        m_bodyEdit->setPlainText(typedBody);
    }
    MessageBoxes::plain(this, m_resultMessage);
    if (!saved)
        return;
    clearBoxes();
    if (m_mode == ModifyMode)
        accept();
}

void MaterialDialog::clearBoxes()
{
    m_titleEdit->clear();
    m_authorEdit->clear();
    m_bodyEdit->clear();
    markUnchanged();
}

QStringList MaterialDialog::boxContents() const
{
    return {m_titleEdit->text(), m_authorEdit->text(), m_bodyEdit->toPlainText()};
}

void MaterialDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    markUnchanged();
}

void MaterialDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && boxContents() != m_unchanged && !MessageBoxes::confirmDiscard(this))
        return;
    QDialog::keyPressEvent(event);
}

void MaterialDialog::pasteFromClipboard()
{
    m_bodyEdit->insertPlainText(QApplication::clipboard()->text());
    m_bodyEdit->setFocus();
}
