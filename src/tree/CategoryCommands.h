#pragma once

#include <QObject>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The commands that shape the category tree: add a sub-category, rename a category, delete a
// category with everything in it. Renaming and deleting change the materials first; the tree
// changes only when that succeeded, and every change is announced so that the tree is saved.
class CategoryCommands : public QObject
{
    Q_OBJECT
public:
    // The tree is the one the commands change; dialogs open over the window.
    CategoryCommands(QTreeWidget *tree, QWidget *window);

public slots:
    void addCategory();
    void renameCategory();
    void deleteCategory();

signals:
    void treeChanged();

private:
    // Asks for a name until it is one the siblings allow; empty when the user cancels.
    QString askName(const QString &caption, const QString &prompt, const QString &initial,
                    const QStringList &siblingNames);

    QTreeWidget *m_tree;
    QWidget *m_window;
};
