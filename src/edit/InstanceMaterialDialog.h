#pragma once

#include "edit/MaterialDialog.h"

#include <memory>

class InstanceMaterial;
class QFileDialog;

// The dialog that adds or modifies an instance material: a file or program on disk and a
// description of it.
class InstanceMaterialDialog : public MaterialDialog
{
    Q_OBJECT
public:
    static std::unique_ptr<InstanceMaterialDialog> createForAdd(QWidget *owner, const QStringList &context);
    static std::unique_ptr<InstanceMaterialDialog>
    createForModify(QWidget *owner, const InstanceMaterial &record, const QStringList &context);

    // The file dialog "浏览" opens.
    QFileDialog *fileDialog() const { return m_fileDialog; }

public slots:
    void saveMaterial() override;
    void browseForPath();

protected:
    void clearBoxes() override;
    QStringList boxContents() const override;

private:
    InstanceMaterialDialog(QWidget *owner, const QStringList &context, int mode);

    QLineEdit *m_pathEdit;
    QFileDialog *m_fileDialog;
};
