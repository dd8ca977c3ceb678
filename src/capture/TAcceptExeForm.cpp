#include "capture/TAcceptExeForm.h"

#include "shell/LineEdits.h"
#include "store/TFileExe.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

QPointer<TAcceptExeForm> AcceptExeForm;

TAcceptExeForm::TAcceptExeForm(QWidget *owner, QTreeWidget *tree, const QString &path)
    : TAcceptTextForm(owner, tree, CaptureCategories::InstanceKind)
{
    setObjectName(QStringLiteral("TAcceptExeForm"));
    setWindowTitle(QStringLiteral("添加实例资料"));
    PathEdit = newLineEdit(this);
    PathEdit->setObjectName(QStringLiteral("PathEdit"));
    PathEdit->setText(path);
    addAboveMemo(new QLabel(QStringLiteral("路径:"), this));
    addAboveMemo(PathEdit);
    addAboveMemo(new QLabel(QStringLiteral("简介："), this));
    setFixedSize(348, 390);
    move(398, 164);
}

void TAcceptExeForm::OkBtnClick()
{
    // The introduction may stay empty; the path may not.
    if (NameEdit->text().isEmpty() || PathEdit->text().isEmpty()) {
        refuseIncomplete();
        return;
    }
    TFileExe record;
    fillCommonFields(record);
    record.about = quotedMemoLines();
    record.fpath = PathEdit->text();
    insertRecord(record);
}

void TAcceptExeForm::acceptData(const QString &text)
{
    PathEdit->setText(text);
}

void TAcceptExeForm::forgetReference()
{
    if (AcceptExeForm == this)
        AcceptExeForm.clear();
}
