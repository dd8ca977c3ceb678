#pragma once

#include <QDialog>

// The About box: title, two lines about the program, a rule and the version line. It has no
// buttons; the caption bar's close button ends it.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *owner = nullptr);
};
