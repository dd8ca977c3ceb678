#pragma once

#include <QObject>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TreeFile;

// The commands that shape the category tree: add a sub-category, rename a category, delete a
// category with everything in it. The tree file is saved after every change; a rename or delete
// changes the materials in the same transaction, committed only when the tree was saved, so that
// the tree and the materials never disagree. A change that cannot be saved is undone and said so.
class CategoryCommands : public QObject
{
    Q_OBJECT
public:
    // The tree is the one the commands change and the file saves; dialogs open over the window.
    CategoryCommands(QTreeWidget *tree, TreeFile *treeFile, QWidget *window);

public slots:
    void addCategory();
    void renameCategory();
    void deleteCategory();

signals:
    void statusChanged(const QString &text);

private:
    // Asks for a name until it is one the siblings allow; empty when the user cancels.
    QString askName(const QString &caption, const QString &prompt, const QString &initial,
                    const QStringList &siblingNames);
    bool saveTree(QString *error);
    void refuseUnsaved(const QString &error);

    QTreeWidget *m_tree;
    TreeFile *m_treeFile;
    QWidget *m_window;
};
