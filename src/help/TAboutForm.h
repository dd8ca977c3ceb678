#pragma once

#include <QDialog>

class QLabel;

// The About box: title, two lines about the program, a rule and the version line. It has no
// buttons; the caption bar's close button ends it.
class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget *owner = nullptr);

    QLabel *TitleLabel = nullptr;
    QLabel *IntroLabel = nullptr;
    QLabel *NewsLabel = nullptr;
    QLabel *VersionLabel = nullptr;
};
