#pragma once

#include <QPointer>
#include <QWidget>

// The right-hand side of the main window: the material list on its top quarter, the detail
// pane below it, and the in-window viewer over the detail pane when it is shown.
class BrowsePanel : public QWidget
{
    Q_OBJECT
public:
    explicit BrowsePanel(QWidget *parent);

    void setParts(QWidget *list, QWidget *detail, QWidget *viewer);
    void layoutParts();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QPointer<QWidget> m_list;
    QPointer<QWidget> m_detail;
    QPointer<QWidget> m_viewer;
};
