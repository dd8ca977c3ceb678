#pragma once

#include "capture/CaptureCategories.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class CategoryCheck;
class Material;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;
class QVBoxLayout;

// What the two capture dialogs share: title, author, the category lists of their kind, the memo
// and the buttons. A modeless tool window above all others, owned by the floating window; a
// later drop refills it (message 1125). "添加" and "取消" end it (message 1126); the caption
// bar's close button only hides it.
class QuickCaptureDialog : public QWidget
{
    Q_OBJECT
public:
    // Files only while the tree holds the chosen category; without it the record is inserted as it is.
    void setCategoryCheck(CategoryCheck *check);

public slots:
    void categoryChosen();
    virtual void addMaterial() = 0;
    void cancel();

signals:
    // The dialog is ending: whoever refers to it forgets it at once.
    void released();

protected:
    // Builds the controls and fills the category lists of the kind.
    QuickCaptureDialog(QWidget *owner, QTreeWidget *tree, CaptureCategories::Kind kind);

    bool event(QEvent *event) override;
    // Escape asks before it throws typed text away, then ends the dialog as "取消" does.
    void keyPressEvent(QKeyEvent *event) override;
    // Message 1125: the dropped data replaces what the dialog holds.
    virtual void takeData(const QString &data) = 0;

    QLineEdit *titleEdit() const { return m_titleEdit; }
    QPlainTextEdit *memo() const { return m_memo; }
    // Puts a control of a derived dialog between the category lists and the memo.
    void addAboveMemo(QWidget *widget);
    void refuseIncomplete();
    void fillCommonFields(Material &record) const;
    // The memo in the long token form, line by line.
    QStringList memoLines() const;
    // Inserts the record and shows the result; the dialog ends only when the insert succeeded.
    void insertRecord(Material &record);
    // What the boxes hold; a derived dialog adds its own boxes.
    virtual QStringList boxContents() const;
    // The boxes as they are now (what was dropped) count as nothing typed.
    void markUnchanged() { m_unchanged = boxContents(); }

private:
    void fillCategoryLists();
    void release();

    QPointer<QTreeWidget> m_tree;
    QPointer<CategoryCheck> m_categoryCheck;
    CaptureCategories::Kind m_kind;
    QVBoxLayout *m_layout;
    QLineEdit *m_titleEdit;
    QLineEdit *m_authorEdit;
    QComboBox *m_categoryCombo;
    QComboBox *m_subcategoryCombo;
    QPlainTextEdit *m_memo;
    QStringList m_unchanged;
};
