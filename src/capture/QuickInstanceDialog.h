#pragma once

#include "capture/QuickCaptureDialog.h"

// The instance capture dialog: files a dropped file's path as an instance material, with an
// optional introduction in the memo.
class QuickInstanceDialog : public QuickCaptureDialog
{
    Q_OBJECT
public:
    QuickInstanceDialog(QWidget *owner, QTreeWidget *tree, const QString &path);

public slots:
    void addMaterial() override;

protected:
    void takeData(const QString &path) override;
    QStringList boxContents() const override;

private:
    QLineEdit *m_pathEdit;
};
