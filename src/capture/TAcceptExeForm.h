#pragma once

#include "capture/TAcceptTextForm.h"

// The instance capture dialog: files a dropped file's path as an instance material, with an
// optional introduction in the memo.
class TAcceptExeForm : public TAcceptTextForm
{
    Q_OBJECT
public:
    TAcceptExeForm(QWidget *owner, QTreeWidget *tree, const QString &path);

    QLineEdit *PathEdit = nullptr;

public slots:
    void OkBtnClick() override;

protected:
    void acceptData(const QString &text) override;
    void forgetReference() override;
};

// The one instance capture dialog, or null.
extern QPointer<TAcceptExeForm> AcceptExeForm;
