#pragma once

#include "search/SearchStatement.h"

#include <QDialog>

class MaterialListModel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The search dialog: finds the materials of one kind by title keyword and/or author, within a
// category and a creation-date window, and puts the hits into the main window's result store,
// which the tree's "搜索结果" node shows.
class SearchDialog : public QDialog
{
    Q_OBJECT
public:
    // The tree offers the category choices; the store receives the hits.
    SearchDialog(QTreeWidget *tree, MaterialListModel *store, QWidget *parent = nullptr);

    // The search that the controls describe now.
    SearchStatement statement() const;

public slots:
    void kindChosen();
    void categoryChosen();
    void dateWindowToggled();
    void search();

private:
    void createControls();
    QTreeWidgetItem *kindRoot() const;
    static void fillCategories(QComboBox *list, const QTreeWidgetItem *parent);

    QTreeWidget *m_tree;
    MaterialListModel *m_store;
    QComboBox *m_kindCombo = nullptr;
    QComboBox *m_categoryCombo = nullptr;
    QComboBox *m_subcategoryCombo = nullptr;
    QLineEdit *m_titleKeywordEdit = nullptr;
    QLineEdit *m_authorEdit = nullptr;
    QCheckBox *m_dateWindowCheck = nullptr;
    QDateEdit *m_beginDateEdit = nullptr;
    QDateEdit *m_endDateEdit = nullptr;
    QLabel *m_statusLabel = nullptr;
};
