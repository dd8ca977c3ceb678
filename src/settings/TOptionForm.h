#pragma once

#include "settings/SettingsFile.h"

#include <QDialog>
#include <QVector>

class QCheckBox;
class QComboBox;
class QFontDialog;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

// The options dialog: shows the settings file on two pages, rewrites the whole file on OK and
// hands the new values on at once; cancel leaves the file as it was.
class TOptionForm : public QDialog
{
    Q_OBJECT
public:
    explicit TOptionForm(QWidget *parent = nullptr);

    struct ColorChoice
    {
        QString name;
        int value; // a Windows colour; negative for a system colour
    };
    // The colours the background drop-down offers, white first.
    static const QVector<ColorChoice> &colorChoices();

    // What the main window takes from the values OK wrote.
    static StartupSettings startupOf(const SettingsValues &values);
    // The values the dialog holds now, as OK writes them.
    SettingsValues values() const;

    int selectedColor() const;
    // Selects the colour, adding an entry for a colour the list does not offer.
    void selectColor(int value);

    QTabWidget *PageControl1 = nullptr;
    QWidget *Normal = nullptr;
    QWidget *Master = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QGroupBox *IconStyel = nullptr;
    QRadioButton *BigIconOBtn = nullptr;
    QRadioButton *SmallIconOBtn = nullptr;
    QRadioButton *ListOBtn = nullptr;
    QGroupBox *Order = nullptr;
    QRadioButton *ByNameOBtn = nullptr;
    QRadioButton *ByTimeOBtn = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QRadioButton *ThisOBtn = nullptr;
    QRadioButton *NewOBtn = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QRadioButton *AllNewOBtn = nullptr;
    QRadioButton *EveryNewOBtn = nullptr;
    QGroupBox *GroupBox4 = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *ColorBox = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *FontBtn = nullptr;
    QGroupBox *GroupBox5 = nullptr;
    QCheckBox *MinToTrayCheck = nullptr;
    QCheckBox *CloseToTrayCheck = nullptr;
    QPushButton *OkBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QFontDialog *FontDialog1 = nullptr;

signals:
    // After OK wrote the file: the values to apply at once.
    void settingsApplied(const StartupSettings &settings);

public slots:
    void ThisOBtnClick();
    void NewOBtnClick();
    void FontBtnClick();
    void OkBtnClick();
    void CancelBtnClick();

private:
    void createNormalPage();
    void createMasterPage();
    void FormCreate();
    void FontInit(const ViewerFontValues &font);
    void ColorBoxSelect(int index);

    ViewerFontValues m_font;
    int m_colorIndex = 0; // the entry to return to when "其他颜色..." is cancelled
};
