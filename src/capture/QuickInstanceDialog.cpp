#include "capture/QuickInstanceDialog.h"

#include "store/InstanceMaterial.h"
#include "widgets/LineEdits.h"

#include <QLabel>
#include <QLineEdit>

QuickInstanceDialog::QuickInstanceDialog(QWidget *owner, QTreeWidget *tree, const QString &path)
    : QuickCaptureDialog(owner, tree, CaptureCategories::InstanceKind),
      m_pathEdit(LineEdits::unlimited(this, QStringLiteral("pathEdit")))
{
    setObjectName(QStringLiteral("QuickInstanceDialog"));
    setWindowTitle(QStringLiteral("添加实例资料"));
    m_pathEdit->setText(path);
    auto *pathLabel = new QLabel(QStringLiteral("路径:"), this);
    pathLabel->setBuddy(m_pathEdit);
    addAboveMemo(pathLabel);
    addAboveMemo(m_pathEdit);
    addAboveMemo(new QLabel(QStringLiteral("简介："), this));
    setFixedSize(348, 390);
    move(398, 164);
    markUnchanged();
}

void QuickInstanceDialog::addMaterial()
{
    // The introduction may stay empty; the path may not.
    if (titleEdit()->text().isEmpty() || m_pathEdit->text().isEmpty()) {
        refuseIncomplete();
        return;
    }
    InstanceMaterial record;
    fillCommonFields(record);
    record.description = memoLines();
    record.path = m_pathEdit->text();
    insertRecord(record);
}

QStringList QuickInstanceDialog::boxContents() const
{
    return QuickCaptureDialog::boxContents() << m_pathEdit->text();
}

void QuickInstanceDialog::takeData(const QString &path)
{
    m_pathEdit->setText(path);
}
