#pragma once

#include <QObject>

class CategoryCheck;
class MaterialList;
class QTreeWidget;
class QWidget;

// The commands on materials: add to the selected category, modify and delete the selected
// material. Each refreshes the material list when it has run.
class MaterialCommands : public QObject
{
    Q_OBJECT
public:
    // The check keeps materials out of categories the tree no longer holds.
    MaterialCommands(QTreeWidget *tree, MaterialList *list, CategoryCheck *check, QWidget *window);

public slots:
    // From the menu and the tool bar.
    void addMaterial();
    // From the list's pop-up menu, whose messages differ.
    void addMaterialFromList();
    void deleteSelectedMaterial();
    void modifySelectedMaterial();
    // Puts the selected text material's body, or the instance material's path, on the clipboard.
    void copySelectedMaterial();

signals:
    void statusChanged(const QString &text);

private:
    // The selected list entry when it is a material; otherwise the message says why, and -1.
    int selectedMaterialRow(const QString &categoryMessage);

    QTreeWidget *m_tree;
    MaterialList *m_list;
    CategoryCheck *m_categoryCheck;
    QWidget *m_window;
};
