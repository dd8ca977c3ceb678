#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

class ActionLink;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TFile;
class TFileText;

// The dialog that adds a text material to a category or modifies one. In add mode it stays
// open after a save, empty, for the next material; in modify mode a save closes it.
//
// The context list: 0 the root's name, 1 the first-level category, 2 the second-level category
// (empty directly under a first-level one); in modify mode also 3 the title and 4 the id.
class TAddFileForm : public QDialog
{
    Q_OBJECT
public:
    enum Mode { AddMode = 0, ModifyMode = 1 };

    static std::unique_ptr<TAddFileForm> CreateForAdd(QWidget *owner, const QStringList &context);
    static std::unique_ptr<TAddFileForm> CreateForModify(QWidget *owner, const TFileText &record,
                                                         const QStringList &context);

    QStringList ContextList;
    int EditMode = AddMode;

    QLabel *Label1 = nullptr;
    QLineEdit *title = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *writer = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label3 = nullptr;
    ActionLink *read = nullptr;
    QPlainTextEdit *MainText = nullptr;
    QPushButton *AddBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

public slots:
    virtual void AddBtnClick();
    void CancelBtnClick();
    void readClick();

protected:
    TAddFileForm(QWidget *owner, const QStringList &context, int editMode);

    // The caption for the dialog's mode: "添加资料在:->" or "修改资料在:->", the kind, then the
    // category pair (and the title when modifying).
    void setCaption(const QString &kind);
    // The checks before a save: the first empty box's message, or nothing.
    bool refuseEmpty(const QList<QLineEdit *> &required, bool bodyRequired, const QString &message);
    // Saves the record (insert or update by mode) and shows its result. On failure the boxes
    // get back what the user typed and the dialog stays open.
    void save(TFile &record, const QString &typedTitle, const QString &typedBody);
    virtual void clearBoxes();
    qint64 materialId() const;
};
