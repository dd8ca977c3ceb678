#include "edit/InstanceMaterialDialog.h"

#include "base/AnsiText.h"
#include "store/InstanceMaterial.h"
#include "store/SqlText.h"
#include "widgets/ActionLink.h"
#include "widgets/LineEdits.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace {
const QString Kind = QStringLiteral("实例资料");
} // namespace

InstanceMaterialDialog::InstanceMaterialDialog(QWidget *owner, const QStringList &context, int mode)
    : MaterialDialog(owner, context, mode),
      m_pathEdit(LineEdits::unlimited(this, QStringLiteral("pathEdit"))),
      m_fileDialog(new QFileDialog(this, QStringLiteral("浏览")))
{
    setObjectName(QStringLiteral("InstanceMaterialDialog"));

    QFont song(QStringLiteral("宋体"));
    song.setPixelSize(16);
    song.setBold(true);
    auto *pathLabel = new QLabel(QStringLiteral("实例路径："), this);
    pathLabel->setFont(song);
    pathLabel->move(24, 56);
    pathLabel->setBuddy(m_pathEdit);
    pathLabel->adjustSize();
    m_pathEdit->setGeometry(112, 53, 257, 22);
    auto *browseButton =
        new QPushButton(style()->standardIcon(QStyle::SP_DirOpenIcon), QStringLiteral("浏览"), this);
    browseButton->setObjectName(QStringLiteral("browseButton"));
    browseButton->setGeometry(376, 52, 75, 25);
    browseButton->setAutoDefault(false);
    m_fileDialog->setNameFilter(QStringLiteral("所有文件 (*)"));
    m_fileDialog->setFileMode(QFileDialog::ExistingFile);
    connect(browseButton, &QPushButton::clicked, this, &InstanceMaterialDialog::browseForPath);

    bodyLabel()->setText(QStringLiteral("实例简介："));
    QFont songLabel(QStringLiteral("宋体"));
    songLabel.setPixelSize(13);
    songLabel.setBold(true);
    bodyLabel()->setFont(songLabel);
    bodyLabel()->adjustSize();
    bodyLabel()->move(168, 94);
    pasteLink()->move(248, 94);
    bodyEdit()->setGeometry(8, 120, 457, 121);
    setTabOrder(cancelButton(), m_pathEdit);
    setTabOrder(m_pathEdit, browseButton);
    setCaption(Kind);
}

std::unique_ptr<InstanceMaterialDialog> InstanceMaterialDialog::createForAdd(QWidget *owner,
                                                                             const QStringList &context)
{
    return std::unique_ptr<InstanceMaterialDialog>(new InstanceMaterialDialog(owner, context, AddMode));
}

std::unique_ptr<InstanceMaterialDialog>
InstanceMaterialDialog::createForModify(QWidget *owner, const InstanceMaterial &record,
                                        const QStringList &context)
{
    std::unique_ptr<InstanceMaterialDialog> dialog(new InstanceMaterialDialog(owner, context, ModifyMode));
    dialog->titleEdit()->setText(record.title);
    dialog->authorEdit()->setText(record.author);
    dialog->bodyEdit()->setPlainText(record.description.join(QLatin1Char('\n')));
    dialog->m_pathEdit->setText(record.path);
    return dialog;
}

void InstanceMaterialDialog::saveMaterial()
{
    if (refuseEmpty({m_pathEdit, titleEdit()}, false,
                    QStringLiteral("有些内容是必须填写的，包括标题和实例路径，你可能没有填写！")))
        return;
    const QString typedTitle = titleEdit()->text();
    const QString typedDescription = bodyEdit()->toPlainText();
    InstanceMaterial record;
    fillCommonFields(record);
    record.description = AnsiText::typedLines(SqlText::toTokens(typedDescription, true));
    record.path = m_pathEdit->text();
    save(record, typedTitle, typedDescription);
}

void InstanceMaterialDialog::clearBoxes()
{
    m_pathEdit->clear();
    MaterialDialog::clearBoxes();
}

QStringList InstanceMaterialDialog::boxContents() const
{
    return MaterialDialog::boxContents() << m_pathEdit->text();
}

void InstanceMaterialDialog::browseForPath()
{
    // Where the path typed or chosen last lies, else the home folder: never the folder the
    // program happened to be started from.
    const QFileInfo typed(QDir::fromNativeSeparators(m_pathEdit->text().trimmed()));
    const QString folder = typed.isDir() ? typed.absoluteFilePath() : typed.absolutePath();
    m_fileDialog->setDirectory(
        !m_pathEdit->text().trimmed().isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath());
    if (m_fileDialog->exec() == QDialog::Accepted && !m_fileDialog->selectedFiles().isEmpty())
        m_pathEdit->setText(QDir::toNativeSeparators(m_fileDialog->selectedFiles().first()));
}
