#pragma once

#include "capture/QuickCaptureDialog.h"

// The text capture dialog: files a dropped text as a text material.
class QuickTextDialog : public QuickCaptureDialog
{
    Q_OBJECT
public:
    QuickTextDialog(QWidget *owner, QTreeWidget *tree, const QString &text);

public slots:
    void addMaterial() override;

protected:
    void takeData(const QString &text) override;
};
