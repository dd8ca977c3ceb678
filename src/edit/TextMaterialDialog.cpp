#include "edit/TextMaterialDialog.h"

#include "base/AnsiText.h"
#include "store/SqlText.h"
#include "store/TextMaterial.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
const QString Kind = QStringLiteral("文字资料");
} // namespace

TextMaterialDialog::TextMaterialDialog(QWidget *owner, const QStringList &context, int mode)
    : MaterialDialog(owner, context, mode)
{
    setObjectName(QStringLiteral("TextMaterialDialog"));
    setCaption(Kind);
}

std::unique_ptr<TextMaterialDialog> TextMaterialDialog::createForAdd(QWidget *owner,
                                                                     const QStringList &context)
{
    return std::unique_ptr<TextMaterialDialog>(new TextMaterialDialog(owner, context, AddMode));
}

std::unique_ptr<TextMaterialDialog>
TextMaterialDialog::createForModify(QWidget *owner, const TextMaterial &record, const QStringList &context)
{
    std::unique_ptr<TextMaterialDialog> dialog(new TextMaterialDialog(owner, context, ModifyMode));
    dialog->titleEdit()->setText(record.title);
    dialog->authorEdit()->setText(record.author);
    dialog->bodyEdit()->setPlainText(record.body.join(QLatin1Char('\n')));
    return dialog;
}

void TextMaterialDialog::saveMaterial()
{
    if (refuseEmpty({titleEdit()}, true,
                    QStringLiteral("有些内容是必须填写的，包括标题和正文，你可能没有填写！")))
        return;
    const QString typedTitle = titleEdit()->text();
    const QString typedBody = bodyEdit()->toPlainText();
    TextMaterial record;
    fillCommonFields(record);
    record.body = AnsiText::typedLines(SqlText::toTokens(typedBody, true));
    save(record, typedTitle, typedBody);
}
