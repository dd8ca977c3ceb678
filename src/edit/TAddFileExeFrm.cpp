#include "edit/TAddFileExeFrm.h"

#include "base/AnsiText.h"
#include "browse/ActionLink.h"
#include "shell/LineEdits.h"
#include "store/SqlText.h"
#include "store/TFileExe.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

TAddFileExeFrm::TAddFileExeFrm(QWidget *owner, const QStringList &context, int editMode)
    : TAddFileForm(owner, context, editMode)
{
    setObjectName(QStringLiteral("TAddFileExeFrm"));
    setWindowTitle(QStringLiteral("添加实例资料"));

    QFont song(QStringLiteral("宋体"));
    song.setPixelSize(16);
    song.setBold(true);
    Label5 = new QLabel(QStringLiteral("实例路径："), this);
    Label5->setFont(song);
    Label5->move(24, 56);
    Label5->adjustSize();
    PathEdit = newLineEdit(this);
    PathEdit->setObjectName(QStringLiteral("PathEdit"));
    PathEdit->setGeometry(112, 53, 257, 22);
    BrowerBtn = new QPushButton(style()->standardIcon(QStyle::SP_DirOpenIcon), QStringLiteral("浏览"), this);
    BrowerBtn->setObjectName(QStringLiteral("BrowerBtn"));
    BrowerBtn->setGeometry(376, 52, 75, 25);
    BrowerBtn->setAutoDefault(false);
    OpenDialog1 = new QFileDialog(this, QStringLiteral("浏览"));
    OpenDialog1->setNameFilter(QStringLiteral("所有文件 (*)"));
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    connect(BrowerBtn, &QPushButton::clicked, this, &TAddFileExeFrm::BrowerBtnClick);

    Label3->setText(QStringLiteral("实例简介："));
    QFont songLabel(QStringLiteral("宋体"));
    songLabel.setPixelSize(13);
    songLabel.setBold(true);
    Label3->setFont(songLabel);
    Label3->adjustSize();
    Label3->move(168, 94);
    read->move(248, 94);
    MainText->setGeometry(8, 120, 457, 121);
    setTabOrder(CancelBtn, PathEdit);
    setTabOrder(PathEdit, BrowerBtn);
}

std::unique_ptr<TAddFileExeFrm> TAddFileExeFrm::CreateForAdd(QWidget *owner, const QStringList &context)
{
    std::unique_ptr<TAddFileExeFrm> form(new TAddFileExeFrm(owner, context, AddMode));
    form->setCaption(QStringLiteral("实例资料"));
    return form;
}

std::unique_ptr<TAddFileExeFrm> TAddFileExeFrm::CreateForModify(QWidget *owner, const TFileExe &record,
                                                                const QStringList &context)
{
    std::unique_ptr<TAddFileExeFrm> form(new TAddFileExeFrm(owner, context, ModifyMode));
    form->setCaption(QStringLiteral("实例资料"));
    form->title->setText(record.title);
    form->writer->setText(record.writer);
    form->MainText->setPlainText(record.about.join(QLatin1Char('\n')));
    form->PathEdit->setText(record.fpath);
    return form;
}

void TAddFileExeFrm::AddBtnClick()
{
    if (refuseEmpty({PathEdit, title}, false,
                    QStringLiteral("有些内容是必须填写的，包括标题和实例路径，你可能没有填写！")))
        return;
    const QString typedTitle = title->text();
    const QString typedAbout = MainText->toPlainText();
    TFileExe record;
    record.title = QuoteForSql(typedTitle, false);
    record.writer = writer->text();
    record.about = AnsiText::splitLines(QuoteForSql(typedAbout, true));
    record.fpath = PathEdit->text();
    record.classname = ContextList.value(2);
    record.bigclassname = ContextList.value(1);
    save(record, typedTitle, typedAbout);
}

void TAddFileExeFrm::clearBoxes()
{
    TAddFileForm::clearBoxes();
    PathEdit->clear();
}

void TAddFileExeFrm::BrowerBtnClick()
{
    if (OpenDialog1->exec() == QDialog::Accepted && !OpenDialog1->selectedFiles().isEmpty())
        PathEdit->setText(QDir::toNativeSeparators(OpenDialog1->selectedFiles().first()));
}
