#include "capture/QuickTextDialog.h"

#include "capture/DropRules.h"
#include "store/TextMaterial.h"

#include <QLineEdit>
#include <QPlainTextEdit>

QuickTextDialog::QuickTextDialog(QWidget *owner, QTreeWidget *tree, const QString &text)
    : QuickCaptureDialog(owner, tree, CaptureCategories::TextKind)
{
    setObjectName(QStringLiteral("QuickTextDialog"));
    setWindowTitle(QStringLiteral("添加文字资料"));
    move(268, 131);
    memo()->setPlainText(text);
    titleEdit()->setText(DropRules::titleOf(text));
    markUnchanged();
}

void QuickTextDialog::addMaterial()
{
    if (titleEdit()->text().isEmpty() || memo()->toPlainText().isEmpty()) {
        refuseIncomplete();
        return;
    }
    TextMaterial record;
    fillCommonFields(record);
    record.body = memoLines();
    insertRecord(record);
}

void QuickTextDialog::takeData(const QString &text)
{
    memo()->setPlainText(text);
}
