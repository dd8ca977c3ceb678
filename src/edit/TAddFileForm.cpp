#include "edit/TAddFileForm.h"

#include "base/AnsiText.h"
#include "browse/ActionLink.h"
#include "shell/LineEdits.h"
#include "shell/MessageBoxes.h"
#include "store/ResultMessage.h"
#include "store/SqlText.h"
#include "store/TFileText.h"

#include <QApplication>
#include <QClipboard>
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

TAddFileForm::TAddFileForm(QWidget *owner, const QStringList &context, int editMode)
    : QDialog(owner), ContextList(context), EditMode(editMode)
{
    setObjectName(QStringLiteral("TAddFileForm"));
    setWindowTitle(QStringLiteral("添加资料"));
    setFixedSize(475, 275);
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setPixelSize(13);
    dialogFont.setBold(true);
    setFont(dialogFont);
    setColor(this, QColor(0, 128, 128));

    Label1 = label(this, QStringLiteral("标题："), 24, 16);
    title = newLineEdit(this);
    title->setObjectName(QStringLiteral("title"));
    title->setGeometry(72, 13, 121, 22);
    Label2 = label(this, QStringLiteral("作者："), 216, 16);
    writer = newLineEdit(this);
    writer->setObjectName(QStringLiteral("writer"));
    writer->setGeometry(264, 13, 121, 22);
    Label4 = label(this, QStringLiteral("(可不填)"), 392, 18);
    QFont songBold(QStringLiteral("宋体"));
    songBold.setPixelSize(12);
    songBold.setBold(true);
    Label4->setFont(songBold);
    Label4->adjustSize();
    setColor(Label4, QColor(128, 0, 0));
    Label3 = label(this, QStringLiteral("正文："), 184, 46);
    read = new ActionLink(QStringLiteral("从剪贴板"), 0, this);
    read->setObjectName(QStringLiteral("read"));
    read->setFont(songBold);
    read->adjustSize();
    read->move(248, 48);
    connect(read, &ActionLink::clicked, this, &TAddFileForm::readClick);
    MainText = new QPlainTextEdit(this);
    MainText->setObjectName(QStringLiteral("MainText"));
    MainText->setGeometry(8, 72, 457, 169);
    MainText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont memoFont(QStringLiteral("MS Sans Serif"));
    memoFont.setPixelSize(13);
    memoFont.setBold(false);
    MainText->setFont(memoFont);
    AddBtn =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("添加"), this);
    AddBtn->setObjectName(QStringLiteral("AddBtn"));
    AddBtn->setGeometry(280, 244, 75, 25);
    AddBtn->setAutoDefault(false);
    CancelBtn =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("取消"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(368, 244, 75, 25);
    CancelBtn->setAutoDefault(false);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(24, 248, 233, 17);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
    setTabOrder(title, writer);
    setTabOrder(writer, MainText);
    setTabOrder(MainText, AddBtn);
    setTabOrder(AddBtn, CancelBtn);
    MainText->setTabChangesFocus(false);

    connect(AddBtn, &QPushButton::clicked, this, [this] { AddBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, &TAddFileForm::CancelBtnClick);
}

std::unique_ptr<TAddFileForm> TAddFileForm::CreateForAdd(QWidget *owner, const QStringList &context)
{
    std::unique_ptr<TAddFileForm> form(new TAddFileForm(owner, context, AddMode));
    form->setCaption(QStringLiteral("文字资料"));
    return form;
}

std::unique_ptr<TAddFileForm> TAddFileForm::CreateForModify(QWidget *owner, const TFileText &record,
                                                            const QStringList &context)
{
    std::unique_ptr<TAddFileForm> form(new TAddFileForm(owner, context, ModifyMode));
    form->setCaption(QStringLiteral("文字资料"));
    form->title->setText(record.title);
    form->writer->setText(record.writer);
    form->MainText->setPlainText(record.main.join(QLatin1Char('\n')));
    return form;
}

void TAddFileForm::setCaption(const QString &kind)
{
    QString caption =
        (EditMode == ModifyMode ? QStringLiteral("修改资料在:->") : QStringLiteral("添加资料在:->")) + kind +
        QStringLiteral("->") + ContextList.value(1) + QStringLiteral("->") + ContextList.value(2);
    if (EditMode == ModifyMode)
        caption += QStringLiteral("->") + ContextList.value(3);
    setWindowTitle(caption);
}

bool TAddFileForm::refuseEmpty(const QList<QLineEdit *> &required, bool bodyRequired, const QString &message)
{
    bool empty = bodyRequired && MainText->toPlainText().isEmpty();
    for (const QLineEdit *box : required)
        empty = empty || box->text().isEmpty();
    if (empty)
        MessageBoxes::plain(this, message);
    return empty;
}

qint64 TAddFileForm::materialId() const
{
    return ContextList.value(4).toLongLong();
}

void TAddFileForm::AddBtnClick()
{
    if (refuseEmpty({title}, true, QStringLiteral("有些内容是必须填写的，包括标题和正文，你可能没有填写！")))
        return;
    const QString typedTitle = title->text();
    const QString typedBody = MainText->toPlainText();
    TFileText record;
    record.title = QuoteForSql(typedTitle, false);
    record.writer = writer->text();
    record.main = AnsiText::splitLines(QuoteForSql(typedBody, true));
    record.classname = ContextList.value(2);
    record.bigclassname = ContextList.value(1);
    save(record, typedTitle, typedBody);
}

void TAddFileForm::save(TFile &record, const QString &typedTitle, const QString &typedBody)
{
    // The boxes show what is stored while the result is up.
    title->setText(record.title);
    MainText->setPlainText(QuoteForSql(typedBody, true));
    const bool saved = EditMode == ModifyMode ? record.UpdateRecord(materialId()) : record.InsertRecord();
    if (!saved) {
        title->setText(typedTitle);
        MainText->setPlainText(typedBody);
    }
    MessageBoxes::plain(this, ResultMessage);
    if (!saved)
        return;
    clearBoxes();
    if (EditMode == ModifyMode)
        accept();
}

void TAddFileForm::clearBoxes()
{
    title->clear();
    writer->clear();
    MainText->clear();
}

void TAddFileForm::CancelBtnClick()
{
    reject();
}

void TAddFileForm::readClick()
{
    MainText->insertPlainText(QApplication::clipboard()->text());
    MainText->setFocus();
}
