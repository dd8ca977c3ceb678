#pragma once

#include <QObject>

class CategoryCheck;
class MaterialList;
class QAction;
class QMenu;
class QTreeWidget;
class QWidget;

// Moving a material to another category of its kind: the list's pop-up menu gets a
// "资料转移到" sub-menu built afresh from the tree each time it opens.
class MaterialMover : public QObject
{
    Q_OBJECT
public:
    // The check keeps materials out of categories the tree no longer holds.
    MaterialMover(QTreeWidget *tree, MaterialList *list, QMenu *listMenu, CategoryCheck *check,
                  QWidget *window);

    // The move sub-menu now in the list's pop-up menu, or nullptr.
    QMenu *moveMenu() const;

public slots:
    void rebuildMoveMenu();
    void moveSelectedMaterial(QAction *target);
    // The menu command only explains where moving is found.
    void explainMoving();

private:
    QTreeWidget *m_tree;
    MaterialList *m_list;
    QMenu *m_listMenu;
    CategoryCheck *m_categoryCheck;
    QWidget *m_window;
};
