#pragma once

#include "edit/TAddFileForm.h"

class QFileDialog;
class TFileExe;

// The dialog that adds or modifies an instance material: a file or program on disk and a
// description of it.
class TAddFileExeFrm : public TAddFileForm
{
    Q_OBJECT
public:
    static std::unique_ptr<TAddFileExeFrm> CreateForAdd(QWidget *owner, const QStringList &context);
    static std::unique_ptr<TAddFileExeFrm> CreateForModify(QWidget *owner, const TFileExe &record,
                                                           const QStringList &context);

    QLabel *Label5 = nullptr;
    QLineEdit *PathEdit = nullptr;
    QPushButton *BrowerBtn = nullptr;
    QFileDialog *OpenDialog1 = nullptr;

public slots:
    void AddBtnClick() override;
    void BrowerBtnClick();

protected:
    TAddFileExeFrm(QWidget *owner, const QStringList &context, int editMode);
    void clearBoxes() override;
};
