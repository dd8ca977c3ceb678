#pragma once

#include <QLineEdit>

// The tool bar's "全文搜索" box: Enter asks for a search of what it holds, Escape empties it.
class FullTextBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit FullTextBox(QWidget *parent = nullptr);

signals:
    void searchRequested(const QString &typed);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
