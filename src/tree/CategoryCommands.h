#pragma once

#include <QObject>
#include <QString>

class QTreeWidgetItem;
class TMainForm;

// The commands that shape the category tree: add a sub-category, rename a category, delete a
// category with everything in it. Renaming and deleting change the materials first; the tree
// changes only when that succeeded, and the tree file is saved after every change.
class CategoryCommands : public QObject
{
    Q_OBJECT
public:
    explicit CategoryCommands(TMainForm &form);

public slots:
    void AddNewItem();
    void ReNameItem();
    void DelChildItem();

private:
    // Asks for a name until it is one the siblings allow; empty when the user cancels.
    QString askName(const QString &caption, const QString &prompt, const QString &initial,
                    const QStringList &siblingNames);

    TMainForm &m_form;
};
