#pragma once

#include <QObject>

class TMainForm;

// The main window's commands on materials: add to the selected category, modify and delete
// the selected material. Each rebuilds the material list when it has run.
class MaterialCommands : public QObject
{
    Q_OBJECT
public:
    explicit MaterialCommands(TMainForm &form);

public slots:
    void AddFileToItem();
    void N14Click();
    void DelFile();
    void ReFile();

private:
    // The selected list entry when it is a material; otherwise the message says why, and -1.
    int selectedMaterialRow(const QString &categoryMessage);
    void refreshList();

    TMainForm &m_form;
};
