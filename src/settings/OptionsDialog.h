#pragma once

#include "settings/SettingsFile.h"

#include <QDialog>
#include <QVector>

class QCheckBox;
class QComboBox;
class QFontDialog;
class QRadioButton;
class QTabWidget;

// The options dialog: shows the settings file on two pages, rewrites the whole file on OK and
// hands the new values on at once; cancel leaves the file as it was.
class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit OptionsDialog(QWidget *parent = nullptr);

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

signals:
    // After OK wrote the file: the values to apply at once.
    void settingsApplied(const StartupSettings &settings);

public slots:
    void chooseFont();
    void accept() override;

private:
    void createGeneralPage();
    void createViewerPage();
    void showFile();
    void takeFontValues(const ViewerFontValues &font);
    void colorActivated(int index);
    // The viewer choices apply only while materials open in a separate window.
    void enableViewerChoices(bool enabled);

    QTabWidget *m_pages = nullptr;
    QRadioButton *m_largeIconsButton = nullptr;
    QRadioButton *m_smallIconsButton = nullptr;
    QRadioButton *m_listButton = nullptr;
    QRadioButton *m_byTitleButton = nullptr;
    QRadioButton *m_byTimeButton = nullptr;
    QRadioButton *m_viewHereButton = nullptr;
    QRadioButton *m_viewInNewWindowButton = nullptr;
    QRadioButton *m_oneViewerButton = nullptr;
    QRadioButton *m_viewerPerMaterialButton = nullptr;
    QComboBox *m_colorCombo = nullptr;
    QCheckBox *m_minimiseToTrayCheck = nullptr;
    QCheckBox *m_closeToTrayCheck = nullptr;
    QFontDialog *m_fontDialog = nullptr;
    ViewerFontValues m_font;
    int m_colorIndex = 0; // the entry to return to when "其他颜色..." is cancelled
};
