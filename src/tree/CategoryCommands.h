#pragma once

#include <QObject>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TreeStore;

// The commands that shape the category tree: add a sub-category, rename a category, delete a
// category with everything in it. The tree is saved after every change; a rename or delete
// changes the materials in the same transaction, committed only when the tree was saved, so that
// the tree and the materials never disagree. A change that cannot be saved is undone and said so.
// On a shared base, a save that finds the tree changed by another copy loads that tree and makes
// the change to it, or says why it cannot.
class CategoryCommands : public QObject
{
    Q_OBJECT
public:
    // The tree is the one the commands change and the store keeps; dialogs open over the window.
    CategoryCommands(QTreeWidget *tree, TreeStore *treeStore, QWidget *window);

public slots:
    void addCategory();
    void renameCategory();
    void deleteCategory();

signals:
    void statusChanged(const QString &text);
    // The tree was loaded again with another copy's changes: the list shows what it holds now.
    void treeReloaded();

private:
    // Asks for a name until it is one the siblings allow; empty when the user cancels.
    QString askName(const QString &caption, const QString &prompt, const QString &initial,
                    const QStringList &siblingNames);
    bool saveTree(QString *error);
    void refuseUnsaved(const QString &error);
    // After a save that failed, for the given try: when another copy had changed the tree, loads
    // that tree and returns the node at the path again, for the change to be made once more;
    // otherwise, or when the node is gone, says why nothing changed and returns nullptr.
    QTreeWidgetItem *afterFailedSave(const QStringList &path, int attempt, const QString &error);
    // Another copy's change left no room for this one (a name now taken, say).
    void refuseAfterReload(const QString &why);

    QTreeWidget *m_tree;
    TreeStore *m_treeStore;
    QWidget *m_window;
};
