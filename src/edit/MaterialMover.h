#pragma once

#include <QObject>

class QAction;
class QMenu;
class TMainForm;

// Moving a material to another category of its kind: the list's pop-up menu gets a
// "资料转移到" sub-menu built afresh from the tree each time it opens.
class MaterialMover : public QObject
{
    Q_OBJECT
public:
    explicit MaterialMover(TMainForm &form);

    // The move sub-menu now in the list's pop-up menu, or nullptr.
    QMenu *moveMenu() const;

public slots:
    void TurnFilePopMenu();
    void TurnFile(QAction *target);
    void N31Click();

private:
    TMainForm &m_form;
};
