#pragma once

#include <QList>
#include <QObject>
#include <QString>

class ActionLink;
class QModelIndex;
class TMainForm;
struct DetailRow;

// The instance path of the material shown last in the detail pane; its "运行资料" runs it.
extern QString RunPath;

// The detail pane below the material list: describes the selected entry, and opens a
// material's text in the in-window viewer or a separate viewer, or runs its file.
class DetailPane : public QObject
{
    Q_OBJECT
public:
    explicit DetailPane(TMainForm &form);

    void MainDetailShow(const QModelIndex &item, bool selected);
    // Removes every row and link.
    void clear();
    QList<ActionLink *> links() const { return m_links; }

public slots:
    void ViewInThisFrm(ActionLink *link);
    void ViewInNewFrm(ActionLink *link);
    void RunDetail();

private:
    void removeLinks();
    void showRows(const QList<DetailRow> &rows);
    void showCategory(const QString &caption, int image);
    void ThisFrmFontInit();

    TMainForm &m_form;
    QList<ActionLink *> m_links;
};
