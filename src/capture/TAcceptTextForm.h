#pragma once

#include "capture/CaptureCategories.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;
class TFile;

// The text capture dialog: files a dropped text as a text material. A modeless tool window
// above all others, owned by the floating window; a later drop refills it (message 1125).
// "添加" and "取消" end it (message 1126); the caption bar's close button only hides it.
class TAcceptTextForm : public QWidget
{
    Q_OBJECT
public:
    TAcceptTextForm(QWidget *owner, QTreeWidget *tree, const QString &text);

    QLineEdit *NameEdit = nullptr;
    QLineEdit *AuthorEdit = nullptr;
    QComboBox *BigClassCombo = nullptr;
    QComboBox *SmallClassCombo = nullptr;
    QPlainTextEdit *MainMemo = nullptr;
    QPushButton *OkBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

public slots:
    void BigClassComboChange();
    virtual void OkBtnClick();
    void CancelBtnClick();

protected:
    // Builds the controls shared by both dialogs and fills the category lists of the kind.
    TAcceptTextForm(QWidget *owner, QTreeWidget *tree, CaptureCategories::Kind kind);

    bool event(QEvent *event) override;
    // Message 1125: the dropped text replaces the memo (the path, in the instance dialog).
    virtual void acceptData(const QString &text);
    // Message 1126: the program-wide reference to this dialog is cleared.
    virtual void forgetReference();

    // Puts a control of a derived dialog between the category lists and the memo.
    void addAboveMemo(QWidget *widget);
    void refuseIncomplete();
    void fillCommonFields(TFile &record) const;
    // The memo quoted in the long form, line by line.
    QStringList quotedMemoLines() const;
    // Inserts the record and shows the result; the dialog ends only when the insert succeeded.
    void insertRecord(TFile &record);

private:
    void fillCategoryLists();
    void release();

    QPointer<QTreeWidget> m_tree;
    CaptureCategories::Kind m_kind;
    QVBoxLayout *m_layout = nullptr;
};

// The one text capture dialog, or null.
extern QPointer<TAcceptTextForm> AcceptTextForm;
