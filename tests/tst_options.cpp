#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "TestFolder.h"

#include "base/AnsiText.h"
#include "browse/DetailPane.h"
#include "browse/MaterialList.h"
#include "settings/OptionsDialog.h"
#include "settings/SettingsFile.h"
#include "settings/WindowsColor.h"
#include "shell/MainWindow.h"
#include "shell/MainWindowTray.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {
QStringList installedLines()
{
    QStringList lines;
    AnsiText::readLineFile(TestFolder::installedFile(QStringLiteral("QB.ini")), &lines);
    return lines;
}

QStringList fileLines(const TestFolder &folder)
{
    QStringList lines;
    AnsiText::readLineFile(folder.filePath(QStringLiteral("QB.ini")), &lines);
    return lines;
}

// The dialog's controls, by object name.
QRadioButton *radio(const OptionsDialog &dialog, const char *name)
{
    return childNamed<QRadioButton>(&dialog, name);
}
QPushButton *okButton(const OptionsDialog &dialog)
{
    return childNamed<QPushButton>(&dialog, "okButton");
}
QPushButton *cancelButton(const OptionsDialog &dialog)
{
    return childNamed<QPushButton>(&dialog, "cancelButton");
}
QPushButton *fontButton(const OptionsDialog &dialog)
{
    return childNamed<QPushButton>(&dialog, "fontButton");
}
QCheckBox *minimiseToTrayCheck(const OptionsDialog &dialog)
{
    return childNamed<QCheckBox>(&dialog, "minimiseToTrayCheck");
}
QCheckBox *closeToTrayCheck(const OptionsDialog &dialog)
{
    return childNamed<QCheckBox>(&dialog, "closeToTrayCheck");
}

QVector<QRadioButton *> iconButtons(const OptionsDialog &dialog)
{
    return {radio(dialog, "largeIconsButton"), radio(dialog, "smallIconsButton"),
            radio(dialog, "listButton")};
}
QVector<QRadioButton *> orderButtons(const OptionsDialog &dialog)
{
    return {radio(dialog, "byTitleButton"), radio(dialog, "byTimeButton")};
}
QVector<QRadioButton *> viewButtons(const OptionsDialog &dialog)
{
    return {radio(dialog, "viewHereButton"), radio(dialog, "viewInNewWindowButton")};
}
QVector<QRadioButton *> viewerButtons(const OptionsDialog &dialog)
{
    return {radio(dialog, "oneViewerButton"), radio(dialog, "viewerPerMaterialButton")};
}

// The position of the checked button, -1 when none is.
int checked(const QVector<QRadioButton *> &buttons)
{
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons.at(i)->isChecked())
            return i;
    }
    return -1;
}

struct Choices
{
    int icon;
    int order;
    int view;
    int viewer;
    int color;
    bool minimise;
    bool close;
};

// The family's style with that weight and slant (italic or oblique), as a user picks it in the
// font dialog.
QString styleOf(const QString &family, bool bold, bool italic)
{
    QString found;
    for (const QString &style : QFontDatabase::styles(family)) {
        const bool slanted = QFontDatabase::font(family, style, 9).style() != QFont::StyleNormal;
        if (QFontDatabase::bold(family, style) == bold && slanted == italic &&
            (found.isEmpty() || style.size() < found.size()))
            found = style;
    }
    return found;
}

// A family that offers every combination of bold and italic.
QString familyWithAllStyles()
{
    const QStringList families = QFontDatabase::families();
    for (const QString &family : families) {
        if (!styleOf(family, false, false).isEmpty() && !styleOf(family, true, false).isEmpty() &&
            !styleOf(family, false, true).isEmpty() && !styleOf(family, true, true).isEmpty())
            return family;
    }
    return QString();
}

void choose(OptionsDialog &dialog, const Choices &choices)
{
    iconButtons(dialog).at(choices.icon)->setChecked(true);
    orderButtons(dialog).at(choices.order)->setChecked(true);
    viewButtons(dialog).at(choices.view)->setChecked(true);
    viewerButtons(dialog).at(choices.viewer)->setChecked(true);
    dialog.selectColor(choices.color);
    minimiseToTrayCheck(dialog)->setChecked(choices.minimise);
    closeToTrayCheck(dialog)->setChecked(choices.close);
}
} // namespace

Q_DECLARE_METATYPE(Choices)

class TestOptions : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_folder = std::make_unique<TestFolder>(); }
    void cleanup() { m_folder.reset(); }

    void layout()
    {
        OptionsDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("选项"));
        QCOMPARE(dialog.size(), QSize(364, 336));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        auto *pages = childNamed<QTabWidget>(&dialog, "pages");
        auto *generalPage = childNamed<QWidget>(&dialog, "generalPage");
        auto *viewerPage = childNamed<QWidget>(&dialog, "viewerPage");
        QCOMPARE(pages->count(), 2);
        QCOMPARE(pages->tabText(0), QStringLiteral("常规"));
        QCOMPARE(pages->tabText(1), QStringLiteral("高级"));
        QCOMPARE(pages->widget(0), generalPage);
        QCOMPARE(pages->widget(1), viewerPage);
        QVERIFY(generalPage->isAncestorOf(childNamed<QGroupBox>(&dialog, "viewerGroup")));
        QVERIFY(
            childNamed<QGroupBox>(&dialog, "browseGroup")->isAncestorOf(radio(dialog, "oneViewerButton")));
        QVERIFY(viewerPage->isAncestorOf(childNamed<QComboBox>(&dialog, "colorCombo")));
        QVERIFY(viewerPage->isAncestorOf(closeToTrayCheck(dialog)));
    }

    void colorChoices()
    {
        const QVector<OptionsDialog::ColorChoice> &choices = OptionsDialog::colorChoices();
        QCOMPARE(choices.first().value, WindowsColor::White);
        int systemColors = 0;
        QSet<int> values;
        for (const OptionsDialog::ColorChoice &choice : choices) {
            QVERIFY(!choice.name.isEmpty());
            values.insert(choice.value);
            if (choice.value < 0) {
                QVERIFY(WindowsColor::isSystemColor(choice.value));
                ++systemColors;
            }
        }
        QCOMPARE(values.size(), choices.size());
        QVERIFY(systemColors >= 2);
    }

    // Every value written in the 14-line form and read back by a fresh dialog.
    void roundTrip_data()
    {
        QTest::addColumn<Choices>("choices");
        QTest::addColumn<QString>("trayWay");
        QTest::newRow("installed values")
            << Choices{0, 0, 0, 0, WindowsColor::White, false, false} << QString();
        QTest::newRow("small icons, by time, a viewer per material, minimise")
            << Choices{1, 1, 1, 1, 0, true, false} << QStringLiteral("0");
        QTest::newRow("list, both tray boxes")
            << Choices{2, 0, 1, 0, 15780518, true, true} << QStringLiteral("01");
        QTest::newRow("close only") << Choices{0, 1, 0, 1, 255, false, true} << QStringLiteral("1");
        QTest::newRow("system colour")
            << Choices{1, 0, 0, 0, WindowsColor::systemColor(15), false, false} << QString();
        QTest::newRow("colour the list does not offer")
            << Choices{2, 1, 1, 1, 1234567, true, true} << QStringLiteral("01");
    }
    void roundTrip()
    {
        QFETCH(Choices, choices);
        QFETCH(QString, trayWay);
        {
            OptionsDialog dialog;
            choose(dialog, choices);
            okButton(dialog)->click();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QStringList expected = installedLines();
        expected[1] = QStringLiteral("ICON=%1").arg(choices.icon);
        expected[2] = QStringLiteral("ORDER=%1").arg(choices.order);
        expected[3] = QStringLiteral("VIEWSTYLE=%1").arg(choices.view);
        expected[4] = QStringLiteral("VIEWSTYLEDE=%1").arg(choices.viewer);
        expected[5] = QStringLiteral("VFRMBC=%1").arg(choices.color);
        expected[13] = QStringLiteral("TrayWay=") + trayWay;
        QCOMPARE(fileLines(*m_folder), expected);
        QVERIFY(m_folder->readBytes(QStringLiteral("QB.ini")).endsWith("\r\n"));

        OptionsDialog again;
        QCOMPARE(checked(iconButtons(again)), choices.icon);
        QCOMPARE(checked(orderButtons(again)), choices.order);
        QCOMPARE(checked(viewButtons(again)), choices.view);
        QCOMPARE(checked(viewerButtons(again)), choices.viewer);
        QCOMPARE(again.selectedColor(), choices.color);
        QCOMPARE(minimiseToTrayCheck(again)->isChecked(), choices.minimise);
        QCOMPARE(closeToTrayCheck(again)->isChecked(), choices.close);
        // Viewing in the main window needs no viewer choice.
        QCOMPARE(radio(again, "oneViewerButton")->isEnabled(), choices.view == 1);
        QCOMPARE(radio(again, "viewerPerMaterialButton")->isEnabled(), choices.view == 1);
    }

    void fontStyles_data()
    {
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("strikeOut");
        QTest::addColumn<QString>("digits");
        QTest::newRow("bold and italic") << true << true << false << false << QStringLiteral("01");
        QTest::newRow("italic alone") << false << true << false << false << QStringLiteral("1");
        QTest::newRow("no style") << false << false << false << false << QString();
        QTest::newRow("underline and strike-out") << false << false << true << true << QStringLiteral("23");
        QTest::newRow("all four") << true << true << true << true << QStringLiteral("0123");
    }
    void fontStyles()
    {
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        QFETCH(bool, strikeOut);
        QFETCH(QString, digits);
        const QString wanted = familyWithAllStyles();
        if (wanted.isEmpty())
            QSKIP("no font family with bold and italic styles here");
        QString family;
        {
            OptionsDialog dialog;
            ModalDriver driver;
            driver.queue([&](QWidget *modal) {
                auto *fontDialog = qobject_cast<QFontDialog *>(modal);
                const QString style = styleOf(wanted, bold, italic);
                QFont font = QFontDatabase::font(wanted, style, 14);
                font.setStyleName(style);
                font.setUnderline(underline);
                font.setStrikeOut(strikeOut);
                fontDialog->setCurrentFont(font);
                family = fontDialog->currentFont().family();
                fontDialog->accept();
            });
            fontButton(dialog)->click();
            QVERIFY(!family.isEmpty());
            okButton(dialog)->click();
        }
        const QStringList lines = fileLines(*m_folder);
        QCOMPARE(lines.size(), 14);
        QCOMPARE(lines.at(7), installedLines().at(7));     // charset kept
        QCOMPARE(lines.at(8), installedLines().at(8));     // colour kept
        QCOMPARE(lines.at(9), QStringLiteral("     -19")); // 14 points at 96 dots per inch
        QCOMPARE(lines.at(10), QStringLiteral("     ") + family);
        QCOMPARE(lines.at(11), QStringLiteral("     14"));
        QCOMPARE(lines.at(12), QStringLiteral("     ") + digits);

        // The next opening gives the font dialog the same font.
        OptionsDialog again;
        const QFont font = childNamed<QFontDialog>(&again, "fontDialog")->currentFont();
        QCOMPARE(font.bold(), bold);
        QCOMPARE(font.italic(), italic);
        QCOMPARE(font.underline(), underline);
        QCOMPARE(font.strikeOut(), strikeOut);
        QCOMPARE(font.pointSize(), 14);
    }

    // Opened and accepted unchanged, the font dialog gives back the styles the file holds, also
    // for a family whose slanted faces are called "Oblique".
    void fontDialogKeepsTheStyles_data()
    {
        QTest::addColumn<QString>("digits");
        for (const char *digits : {"01", "1", "0", ""})
            QTest::newRow(*digits ? digits : "none") << QString::fromLatin1(digits);
    }
    void fontDialogKeepsTheStyles()
    {
        QFETCH(QString, digits);
        const QString family = QStringLiteral("DejaVu Sans");
        if (!QFontDatabase::hasFamily(family))
            QSKIP("DejaVu Sans is not installed here");
        QStringList lines = installedLines();
        lines[10] = QStringLiteral("     ") + family;
        lines[12] = QStringLiteral("     ") + digits;
        m_folder->writeLines(QStringLiteral("QB.ini"), lines);
        {
            OptionsDialog dialog;
            ModalDriver driver;
            driver.queue([](QWidget *modal) { qobject_cast<QFontDialog *>(modal)->accept(); });
            fontButton(dialog)->click();
            okButton(dialog)->click();
        }
        QCOMPARE(fileLines(*m_folder).at(12), QStringLiteral("     ") + digits);
    }

    void fontDialogOpensOnTheFaceShown()
    {
        if (QFontDatabase::hasFamily(QStringLiteral("宋体")))
            QSKIP("the settings' default face is installed here");
        {
            OptionsDialog dialog;
            const QString family = childNamed<QFontDialog>(&dialog, "fontDialog")->currentFont().family();
            QVERIFY2(QFontDatabase::families(QFontDatabase::SimplifiedChinese).contains(family),
                     qPrintable(family));
            okButton(dialog)->click();
        }
        // What the file names stays until a font is picked.
        QCOMPARE(fileLines(*m_folder), installedLines());
    }

    void cancelledFontDialogChangesNothing()
    {
        {
            OptionsDialog dialog;
            ModalDriver driver;
            driver.queue([](QWidget *modal) {
                auto *fontDialog = qobject_cast<QFontDialog *>(modal);
                QFont font = fontDialog->currentFont();
                font.setBold(true);
                fontDialog->setCurrentFont(font);
                fontDialog->reject();
            });
            fontButton(dialog)->click();
            okButton(dialog)->click();
        }
        QCOMPARE(fileLines(*m_folder), installedLines());
    }

    void cancelLeavesTheFileByteForByte()
    {
        // A file the dialog would write differently: LF endings, an odd digit, no tray line.
        const QByteArray before = AnsiText::encode(QStringLiteral(
            "[Quillbarrow ini file]\nICON=9\nORDER=1\nVIEWSTYLE=1\nVIEWSTYLEDE=1\nVFRMBC=-16777201\nFont=\n"
            "     134\n     0\n     -16\n     文泉驿\n     12\n     31\n"));
        m_folder->writeBytes(QStringLiteral("QB.ini"), before);
        OptionsDialog dialog;
        choose(dialog, {2, 0, 0, 0, 0, true, true});
        cancelButton(dialog)->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(m_folder->readBytes(QStringLiteral("QB.ini")), before);
    }

    // A missing or short file shows the defaults for what it lacks; OK writes a complete file.
    void missingOrShortFile_data()
    {
        QTest::addColumn<QStringList>("lines"); // empty: no file at all
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("order");
        QTest::newRow("missing") << QStringList() << 0 << 0;
        QTest::newRow("three lines") << QStringList{QStringLiteral("[Quillbarrow ini file]"),
                                                    QStringLiteral("ICON=1"), QStringLiteral("ORDER=1")}
                                     << 1 << 1;
    }
    void missingOrShortFile()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, icon);
        QFETCH(int, order);
        if (lines.isEmpty())
            m_folder->remove(QStringLiteral("QB.ini"));
        else
            m_folder->writeLines(QStringLiteral("QB.ini"), lines);
        ModalDriver driver;
        OptionsDialog dialog;
        QVERIFY(driver.boxes.isEmpty());
        QCOMPARE(checked(iconButtons(dialog)), icon);
        QCOMPARE(checked(orderButtons(dialog)), order);
        QCOMPARE(checked(viewButtons(dialog)), 0);
        QCOMPARE(checked(viewerButtons(dialog)), 0);
        QCOMPARE(dialog.selectedColor(), WindowsColor::White);
        QVERIFY(!minimiseToTrayCheck(dialog)->isChecked());
        QVERIFY(!closeToTrayCheck(dialog)->isChecked());
        okButton(dialog)->click();
        SettingsValues expected;
        expected.icon = icon;
        expected.order = order;
        QCOMPARE(fileLines(*m_folder), SettingsFile::lines(expected));
    }

    void digitWithoutButtonLeavesGroupUnchecked()
    {
        QStringList lines = installedLines();
        lines[1] = QStringLiteral("ICON=7");
        lines[3] = QStringLiteral("VIEWSTYLE=x");
        m_folder->writeLines(QStringLiteral("QB.ini"), lines);
        OptionsDialog dialog;
        QCOMPARE(checked(iconButtons(dialog)), -1);
        QCOMPARE(checked(viewButtons(dialog)), -1);
        okButton(dialog)->click();
        QCOMPARE(fileLines(*m_folder), installedLines()); // an unchecked group writes 0
    }

    // A line that is not a number is named and shows its default; every other line is read, and
    // OK writes back what the file held.
    void badNumberIsNamedAndTheRestRead_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("bad");
        QTest::newRow("colour") << 5 << QStringLiteral("VFRMBC=blue");
        QTest::newRow("font height") << 9 << QStringLiteral("     abc");
    }
    void badNumberIsNamedAndTheRestRead()
    {
        QFETCH(int, line);
        QFETCH(QString, bad);
        QStringList lines = installedLines();
        lines[1] = QStringLiteral("ICON=2");
        lines[13] = QStringLiteral("TrayWay=01");
        QStringList expected = lines;
        lines[line] = bad;
        m_folder->writeLines(QStringLiteral("QB.ini"), lines);
        {
            ModalDriver driver;
            OptionsDialog dialog;
            QCOMPARE(driver.boxes.size(), 1);
            QVERIFY2(driver.boxes.first().text.contains(bad.mid(bad.indexOf(QLatin1Char('=')) + 1).trimmed()),
                     qPrintable(driver.boxes.first().text));
            QCOMPARE(driver.boxes.first().caption, QStringLiteral("Zindrel"));
            QCOMPARE(checked(iconButtons(dialog)), 2);
            QVERIFY(minimiseToTrayCheck(dialog)->isChecked() && closeToTrayCheck(dialog)->isChecked());
            okButton(dialog)->click();
        }
        QCOMPARE(fileLines(*m_folder), expected);
    }

    void viewChoiceEnablesViewerChoice()
    {
        OptionsDialog dialog;
        radio(dialog, "viewInNewWindowButton")->click();
        QVERIFY(radio(dialog, "oneViewerButton")->isEnabled());
        QVERIFY(radio(dialog, "viewerPerMaterialButton")->isEnabled());
        radio(dialog, "viewHereButton")->click();
        QVERIFY(!radio(dialog, "oneViewerButton")->isEnabled());
        QVERIFY(!radio(dialog, "viewerPerMaterialButton")->isEnabled());
    }

    void failedWriteKeepsTheDialog()
    {
        OptionsDialog dialog;
        radio(dialog, "listButton")->setChecked(true);
        // A folder where the file should be: the file cannot be replaced.
        m_folder->remove(QStringLiteral("QB.ini"));
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("QB.ini")));
        bool applied = false;
        connect(&dialog, &OptionsDialog::settingsApplied, this, [&applied] { applied = true; });
        ModalDriver driver;
        okButton(dialog)->click();
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY(driver.boxes.first().text.contains(QStringLiteral("QB.ini")));
        QVERIFY(!applied);
        QCOMPARE(dialog.result(), 0);
        QVERIFY(radio(dialog, "listButton")->isChecked());
    }

    // Through the main window: OK applies at once, cancel changes nothing.
    void appliedAtOnce_data()
    {
        QTest::addColumn<Choices>("choices");
        QTest::addColumn<int>("listOrder");
        QTest::addColumn<int>("trayMode");
        QTest::newRow("both tray boxes")
            << Choices{2, 1, 1, 1, WindowsColor::systemColor(24), true, true} << 2 << 3;
        QTest::newRow("neither tray box") << Choices{1, 0, 0, 1, 0, false, false} << 1 << 0;
        QTest::newRow("minimise only") << Choices{0, 0, 1, 0, 255, true, false} << 1 << 1;
    }
    void appliedAtOnce()
    {
        QFETCH(Choices, choices);
        QFETCH(int, listOrder);
        QFETCH(int, trayMode);
        MainWindowFixture fixture;
        MainWindow &window = *fixture.window;
        window.tray()->setMode(3 - trayMode); // something else before
        ModalDriver driver;
        driver.queue([&choices](QWidget *modal) {
            auto *dialog = qobject_cast<OptionsDialog *>(modal);
            QVERIFY(dialog);
            choose(*dialog, choices);
            okButton(*dialog)->click();
        });
        fixture.button("optionsButton")->click();
        QCOMPARE(window.materialList()->viewStyle(), choices.icon);
        QCOMPARE(window.materialList()->order(), listOrder);
        QCOMPARE(int(window.detailPane()->viewerSettings().browseInNewWindow), choices.view);
        QCOMPARE(int(window.detailPane()->viewerSettings().windowPerMaterial), choices.viewer);
        QCOMPARE(window.detailPane()->viewerSettings().backColor, choices.color);
        QCOMPARE(window.tray()->mode(), trayMode);
    }

    void cancelThroughMainWindowAppliesNothing()
    {
        MainWindowFixture fixture;
        MainWindow &window = *fixture.window;
        const QByteArray before = fixture.folder.readBytes(QStringLiteral("QB.ini"));
        ModalDriver driver;
        driver.queue([](QWidget *modal) {
            auto *dialog = qobject_cast<OptionsDialog *>(modal);
            QVERIFY(dialog);
            choose(*dialog, {2, 1, 1, 1, 0, true, true});
            cancelButton(*dialog)->click();
        });
        window.showOptionsDialog();
        QCOMPARE(window.materialList()->viewStyle(), 0);
        QCOMPARE(window.materialList()->order(), 1);
        QCOMPARE(int(window.detailPane()->viewerSettings().browseInNewWindow), 0);
        QCOMPARE(window.detailPane()->viewerSettings().backColor, WindowsColor::White);
        QCOMPARE(window.tray()->mode(), 0);
        QCOMPARE(fixture.folder.readBytes(QStringLiteral("QB.ini")), before);
    }

private:
    std::unique_ptr<TestFolder> m_folder;
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
