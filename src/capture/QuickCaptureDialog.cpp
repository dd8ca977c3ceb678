#include "capture/QuickCaptureDialog.h"

#include "base/AnsiText.h"
#include "store/Material.h"
#include "store/SqlText.h"
#include "tree/CategoryCheck.h"
#include "tree/NodeRules.h"
#include "widgets/AccessibleRoles.h"
#include "widgets/LineEdits.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ProgramEvents.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int ClientWidth = 348;
constexpr int ClientHeight = 423;
} // namespace

QuickCaptureDialog::QuickCaptureDialog(QWidget *owner, QTreeWidget *tree, CaptureCategories::Kind kind)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      m_tree(tree), m_kind(kind), m_layout(new QVBoxLayout(this)),
      m_titleEdit(LineEdits::unlimited(this, QStringLiteral("titleEdit"))),
      m_authorEdit(LineEdits::unlimited(this, QStringLiteral("authorEdit"))),
      m_categoryCombo(new QComboBox(this)), m_subcategoryCombo(new QComboBox(this)),
      m_memo(new QPlainTextEdit(this))
{
    m_layout->setContentsMargins(10, 8, 10, 10);
    m_layout->setSpacing(4);

    m_categoryCombo->setObjectName(QStringLiteral("categoryCombo"));
    m_subcategoryCombo->setObjectName(QStringLiteral("subcategoryCombo"));
    m_memo->setObjectName(QStringLiteral("memo"));
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *addButton = new QPushButton(QStringLiteral("添加"), this);
    addButton->setObjectName(QStringLiteral("addButton"));
    auto *cancelButton = new QPushButton(QStringLiteral("取消"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    // Each label names its field, for assistive technology too.
    auto *titleLabel = new QLabel(QStringLiteral("资料标题："), this);
    titleLabel->setBuddy(m_titleEdit);
    m_layout->addWidget(titleLabel);
    m_layout->addWidget(m_titleEdit);
    m_layout->addSpacing(4);
    auto *authorLabel = new QLabel(QStringLiteral("资料作者（可不填写）："), this);
    authorLabel->setBuddy(m_authorEdit);
    m_layout->addWidget(authorLabel);
    m_layout->addWidget(m_authorEdit);
    m_layout->addSpacing(4);
    auto *categories = new QHBoxLayout;
    categories->setSpacing(6);
    auto *categoryLabel = new QLabel(QStringLiteral("分类："), this);
    categoryLabel->setBuddy(m_categoryCombo);
    m_subcategoryCombo->setAccessibleName(QStringLiteral("子分类"));
    m_memo->setAccessibleName(QStringLiteral("资料内容"));
    categories->addWidget(categoryLabel);
    categories->addWidget(m_categoryCombo, 1);
    categories->addWidget(m_subcategoryCombo, 1);
    m_layout->addLayout(categories);
    m_layout->addSpacing(6);
    m_layout->addWidget(m_memo, 1);
    m_layout->addSpacing(4);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(addButton);
    buttons->addWidget(cancelButton);
    m_layout->addLayout(buttons);

    connect(m_categoryCombo, qOverload<int>(&QComboBox::activated), this,
            &QuickCaptureDialog::categoryChosen);
    connect(addButton, &QPushButton::clicked, this, [this] { addMaterial(); });
    connect(cancelButton, &QPushButton::clicked, this, &QuickCaptureDialog::cancel);

    setFixedSize(ClientWidth, ClientHeight);
    fillCategoryLists();
}

void QuickCaptureDialog::fillCategoryLists()
{
    const CaptureCategories categories(m_tree, m_kind);
    m_categoryCombo->addItems(categories.firstLevel());
    m_subcategoryCombo->addItems(categories.secondLevel(m_categoryCombo->currentText()));
    m_categoryCombo->setCurrentIndex(m_categoryCombo->count() > 0 ? 0 : -1);
    m_subcategoryCombo->setCurrentIndex(0);
}

void QuickCaptureDialog::categoryChosen()
{
    m_subcategoryCombo->clear();
    m_subcategoryCombo->addItems(
        CaptureCategories(m_tree, m_kind).secondLevel(m_categoryCombo->currentText()));
    m_subcategoryCombo->setCurrentIndex(0);
}

void QuickCaptureDialog::addAboveMemo(QWidget *widget)
{
    m_layout->insertWidget(m_layout->indexOf(m_memo), widget);
}

void QuickCaptureDialog::refuseIncomplete()
{
    MessageBoxes::show(this, QStringLiteral("内容不完整，请填写完整"), MessageBoxes::AppTitle,
                       QMessageBox::Warning);
}

void QuickCaptureDialog::fillCommonFields(Material &record) const
{
    record.title = SqlText::toTokens(m_titleEdit->text(), false);
    record.author = m_authorEdit->text();
    record.category = m_categoryCombo->currentText();
    // The first entry, "根目录", files the material directly under the first-level category.
    record.subcategory =
        m_subcategoryCombo->currentIndex() > 0 ? m_subcategoryCombo->currentText() : QString();
}

QStringList QuickCaptureDialog::memoLines() const
{
    // The memo keeps what the user sees; only the record carries the stored tokens.
    return AnsiText::typedLines(SqlText::toTokens(m_memo->toPlainText(), true));
}

void QuickCaptureDialog::setCategoryCheck(CategoryCheck *check)
{
    m_categoryCheck = check;
}

void QuickCaptureDialog::insertRecord(Material &record)
{
    const auto insert = [&record] { return record.insert(); };
    const QString root =
        m_kind == CaptureCategories::TextKind ? NodeRules::TextRootText : NodeRules::InstanceRootText;
    QString failure;
    const bool inserted =
        m_categoryCheck ? m_categoryCheck->save({root, record.category, record.subcategory}, insert, &failure)
                        : insert();
    MessageBoxes::plain(this, failure.isEmpty() ? record.resultMessage() : failure);
    // After a failure everything stays in the dialog, so that nothing dropped is lost.
    if (inserted)
        release();
}

QStringList QuickCaptureDialog::boxContents() const
{
    return {m_titleEdit->text(), m_authorEdit->text(), m_memo->toPlainText()};
}

void QuickCaptureDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (boxContents() == m_unchanged || MessageBoxes::confirmDiscard(this))
        release();
}

void QuickCaptureDialog::cancel()
{
    release();
}

void QuickCaptureDialog::release()
{
    QCoreApplication::postEvent(this, new QEvent(ProgramEvent::ReleaseCaptureDialog));
    hide();
}

bool QuickCaptureDialog::event(QEvent *event)
{
    if (event->type() == ProgramEvent::TakeCaptureData) {
        takeData(static_cast<TextEvent *>(event)->text());
        markUnchanged();
        if (isHidden())
            show();
        raise();
        return true;
    }
    if (event->type() == ProgramEvent::ReleaseCaptureDialog) {
        // Forgotten at once, so that a drop arriving before the deletion opens a new dialog.
        emit released();
        deleteLater();
        return true;
    }
    return QWidget::event(event);
}
