#include "capture/TAcceptTextForm.h"

#include "base/AnsiText.h"
#include "capture/DropRules.h"
#include "shell/LineEdits.h"
#include "shell/MessageBoxes.h"
#include "shell/MessageNumbers.h"
#include "store/ResultMessage.h"
#include "store/SqlText.h"
#include "store/TFileText.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

QPointer<TAcceptTextForm> AcceptTextForm;

namespace {
constexpr int ClientWidth = 348;
constexpr int ClientHeight = 423;
} // namespace

TAcceptTextForm::TAcceptTextForm(QWidget *owner, QTreeWidget *tree, CaptureCategories::Kind kind)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      m_tree(tree), m_kind(kind)
{
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(10, 8, 10, 10);
    m_layout->setSpacing(4);

    NameEdit = newLineEdit(this);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    AuthorEdit = newLineEdit(this);
    AuthorEdit->setObjectName(QStringLiteral("AuthorEdit"));
    BigClassCombo = new QComboBox(this);
    BigClassCombo->setObjectName(QStringLiteral("BigClassCombo"));
    SmallClassCombo = new QComboBox(this);
    SmallClassCombo->setObjectName(QStringLiteral("SmallClassCombo"));
    MainMemo = new QPlainTextEdit(this);
    MainMemo->setObjectName(QStringLiteral("MainMemo"));
    MainMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    OkBtn = new QPushButton(QStringLiteral("添加"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    CancelBtn = new QPushButton(QStringLiteral("取消"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    m_layout->addWidget(new QLabel(QStringLiteral("资料标题："), this));
    m_layout->addWidget(NameEdit);
    m_layout->addSpacing(4);
    m_layout->addWidget(new QLabel(QStringLiteral("资料作者（可不填写）："), this));
    m_layout->addWidget(AuthorEdit);
    m_layout->addSpacing(4);
    auto *categories = new QHBoxLayout;
    categories->setSpacing(6);
    categories->addWidget(new QLabel(QStringLiteral("分类："), this));
    categories->addWidget(BigClassCombo, 1);
    categories->addWidget(SmallClassCombo, 1);
    m_layout->addLayout(categories);
    m_layout->addSpacing(6);
    m_layout->addWidget(MainMemo, 1);
    m_layout->addSpacing(4);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    m_layout->addLayout(buttons);

    connect(BigClassCombo, qOverload<int>(&QComboBox::activated), this,
            &TAcceptTextForm::BigClassComboChange);
    connect(OkBtn, &QPushButton::clicked, this, &TAcceptTextForm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TAcceptTextForm::CancelBtnClick);

    setFixedSize(ClientWidth, ClientHeight);
    fillCategoryLists();
}

TAcceptTextForm::TAcceptTextForm(QWidget *owner, QTreeWidget *tree, const QString &text)
    : TAcceptTextForm(owner, tree, CaptureCategories::TextKind)
{
    setObjectName(QStringLiteral("TAcceptTextForm"));
    setWindowTitle(QStringLiteral("添加文字资料"));
    move(268, 131);
    MainMemo->setPlainText(text);
    NameEdit->setText(DropRules::titleOf(text));
}

void TAcceptTextForm::fillCategoryLists()
{
    const CaptureCategories categories(m_tree, m_kind);
    BigClassCombo->addItems(categories.firstLevel());
    SmallClassCombo->addItems(categories.secondLevel(BigClassCombo->currentText()));
    BigClassCombo->setCurrentIndex(BigClassCombo->count() > 0 ? 0 : -1);
    SmallClassCombo->setCurrentIndex(0);
}

void TAcceptTextForm::BigClassComboChange()
{
    SmallClassCombo->clear();
    SmallClassCombo->addItems(CaptureCategories(m_tree, m_kind).secondLevel(BigClassCombo->currentText()));
    SmallClassCombo->setCurrentIndex(0);
}

void TAcceptTextForm::addAboveMemo(QWidget *widget)
{
    m_layout->insertWidget(m_layout->indexOf(MainMemo), widget);
}

void TAcceptTextForm::OkBtnClick()
{
    if (NameEdit->text().isEmpty() || MainMemo->toPlainText().isEmpty()) {
        refuseIncomplete();
        return;
    }
    TFileText record;
    fillCommonFields(record);
    record.main = quotedMemoLines();
    insertRecord(record);
}

void TAcceptTextForm::refuseIncomplete()
{
    MessageBoxes::show(this, QStringLiteral("内容不完整，请填写完整"), MessageBoxes::AppTitle,
                       QMessageBox::Warning);
}

void TAcceptTextForm::fillCommonFields(TFile &record) const
{
    record.title = QuoteForSql(NameEdit->text(), false);
    record.writer = AuthorEdit->text();
    record.bigclassname = BigClassCombo->currentText();
    // The first entry, "根目录", files the material directly under the first-level category.
    record.classname = SmallClassCombo->currentIndex() > 0 ? SmallClassCombo->currentText() : QString();
}

QStringList TAcceptTextForm::quotedMemoLines() const
{
    // The memo keeps what the user sees; only the record carries the stored tokens.
    return AnsiText::splitLines(QuoteForSql(MainMemo->toPlainText(), true));
}

void TAcceptTextForm::insertRecord(TFile &record)
{
    const bool inserted = record.InsertRecord();
    MessageBoxes::plain(this, ResultMessage);
    // After a failure everything stays in the dialog, so that nothing dropped is lost.
    if (inserted)
        release();
}

void TAcceptTextForm::CancelBtnClick()
{
    release();
}

void TAcceptTextForm::release()
{
    QCoreApplication::postEvent(this, new QEvent(MessageNumber::ReleaseDialogMessage));
    hide();
}

bool TAcceptTextForm::event(QEvent *event)
{
    if (event->type() == MessageNumber::AcceptDataMessage) {
        acceptData(static_cast<TextMessageEvent *>(event)->text());
        if (isHidden())
            show();
        raise();
        return true;
    }
    if (event->type() == MessageNumber::ReleaseDialogMessage) {
        // Cleared at once, so that a drop arriving before the deletion opens a new dialog.
        forgetReference();
        deleteLater();
        return true;
    }
    return QWidget::event(event);
}

void TAcceptTextForm::acceptData(const QString &text)
{
    MainMemo->setPlainText(text);
}

void TAcceptTextForm::forgetReference()
{
    if (AcceptTextForm == this)
        AcceptTextForm.clear();
}
