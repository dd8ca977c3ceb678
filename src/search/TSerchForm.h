#pragma once

#include "search/SearchStatement.h"

#include <QDialog>

class MaterialListModel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The search dialog: finds the materials of one kind by title keyword and/or author, within a
// category and a creation-date window, and puts the hits into the main window's result store,
// which the tree's "搜索结果" node shows.
class TSerchForm : public QDialog
{
    Q_OBJECT
public:
    // The tree offers the category choices; the store receives the hits.
    TSerchForm(QTreeWidget *tree, MaterialListModel *store, QWidget *parent = nullptr);

    QComboBox *FWComBox = nullptr;
    QComboBox *BigComBox = nullptr;
    QComboBox *SmallComBox = nullptr;
    QLineEdit *TitleKey = nullptr;
    QLineEdit *AuthorKey = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QDateEdit *BeginTime = nullptr;
    QDateEdit *EndTime = nullptr;
    QLabel *SerchLabel = nullptr;
    QPushButton *SerchBtn = nullptr;
    QPushButton *CloseBtn = nullptr;

    // The search that the controls describe now.
    SearchStatement statement() const;

public slots:
    void FWComBoxChange();
    void BigComBoxChange();
    void CheckBox1Click();
    void SerchBtnClick();
    void CloseBtnClick();

private:
    void createControls();
    void FormCreate();
    QTreeWidgetItem *kindRoot() const;
    static void fillCategories(QComboBox *list, const QTreeWidgetItem *parent);

    QTreeWidget *m_tree;
    MaterialListModel *m_store;
};
