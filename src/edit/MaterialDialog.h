#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>

class ActionLink;
class CategoryCheck;
class Material;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// What the dialogs that add or modify a material share: title, author, the memo, the save and
// cancel buttons. In add mode the dialog stays open after a save, empty, for the next material;
// in modify mode a save closes it.
//
// The context list: 0 the root's name, 1 the first-level category, 2 the second-level category
// (empty directly under a first-level one); in modify mode also 3 the title and 4 the id.
class MaterialDialog : public QDialog
{
    Q_OBJECT
public:
    enum Mode { AddMode = 0, ModifyMode = 1 };

    // AddMode or ModifyMode, as the factory made it.
    int mode() const { return m_mode; }
    // The result of the last save; empty while nothing was saved.
    const QString &resultMessage() const { return m_resultMessage; }
    // Saves only while the tree holds the dialog's category; without it the record is saved as it is.
    void setCategoryCheck(CategoryCheck *check);

public slots:
    virtual void saveMaterial() = 0;
    void pasteFromClipboard();

protected:
    MaterialDialog(QWidget *owner, const QStringList &context, int mode);

    const QStringList &context() const { return m_context; }
    QLineEdit *titleEdit() const { return m_titleEdit; }
    QLineEdit *authorEdit() const { return m_authorEdit; }
    QPlainTextEdit *bodyEdit() const { return m_bodyEdit; }
    QLabel *bodyLabel() const { return m_bodyLabel; }
    ActionLink *pasteLink() const { return m_pasteLink; }
    QPushButton *cancelButton() const { return m_cancelButton; }

    // The caption for the dialog's mode: "添加资料在:->" or "修改资料在:->", the kind, then the
    // category pair (and the title when modifying).
    void setCaption(const QString &kind);
    // The checks before a save: the first empty box's message, or nothing.
    bool refuseEmpty(const QList<QLineEdit *> &required, bool bodyRequired, const QString &message);
    // Fills the record's title, author and categories from the boxes and the context.
    void fillCommonFields(Material &record) const;
    // Saves the record (insert or update by mode) and shows its result. On failure the boxes
    // get back what the user typed and the dialog stays open.
    void save(Material &record, const QString &typedTitle, const QString &typedBody);
    virtual void clearBoxes();
    // What the boxes hold; a derived dialog adds its own boxes.
    virtual QStringList boxContents() const;
    // The boxes as they are now count as nothing typed.
    void markUnchanged() { m_unchanged = boxContents(); }

    void showEvent(QShowEvent *event) override;
    // Escape asks before it throws typed text away.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QStringList m_context;
    int m_mode;
    QPointer<CategoryCheck> m_categoryCheck;
    QString m_resultMessage;
    QStringList m_unchanged;
    QLineEdit *m_titleEdit;
    QLineEdit *m_authorEdit;
    QLabel *m_bodyLabel;
    ActionLink *m_pasteLink;
    QPlainTextEdit *m_bodyEdit;
    QPushButton *m_cancelButton = nullptr;
};
