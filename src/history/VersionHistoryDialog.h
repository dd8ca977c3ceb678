#pragma once

#include "history/KeptMaterial.h"
#include "history/MaterialVersions.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;
class RestoreTransaction;
class VersionComparison;

// "历史版本 - TITLE": the earlier versions of one material, newest first (when each was
// replaced, its title, its size); the selected one beside the current text with the lines that
// differ marked; "恢复此版本" makes it the current text.
class VersionHistoryDialog : public QDialog
{
    Q_OBJECT
public:
    VersionHistoryDialog(const MaterialVersions &versions, RestoreTransaction *restorer, QWidget *parent);

    // Lists the versions again and shows the current text as it is now.
    void reload();

public slots:
    void restoreSelectedVersion();

signals:
    // A version became the material's current text.
    void versionRestored();

private:
    void showSelectedVersion();
    qint64 selectedSeq() const;

    MaterialVersions m_versions;
    RestoreTransaction *m_restorer;
    QTreeWidget *m_versionList;
    VersionComparison *m_comparison;
    QPushButton *m_restoreButton;
    KeptMaterial m_current;
    bool m_currentFound = false;
};
