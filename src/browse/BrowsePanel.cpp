#include "browse/BrowsePanel.h"

BrowsePanel::BrowsePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("browsePanel"));
}

void BrowsePanel::setParts(QWidget *list, QWidget *detail, QWidget *viewer)
{
    m_list = list;
    m_detail = detail;
    m_viewer = viewer;
    layoutParts();
}

void BrowsePanel::layoutParts()
{
    if (!m_list || !m_detail || !m_viewer)
        return;
    const int listHeight = height() / 4;
    m_list->setGeometry(0, 0, width(), listHeight);
    const QRect detail(0, listHeight, width(), height() - listHeight);
    m_detail->setGeometry(detail);
    m_viewer->setGeometry(detail);
}

void BrowsePanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutParts();
}
