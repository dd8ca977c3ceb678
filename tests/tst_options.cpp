#include "MainFormFixture.h"
#include "ModalDriver.h"
#include "TestFolder.h"

#include "base/AnsiText.h"
#include "settings/SettingsFile.h"
#include "settings/TOptionForm.h"
#include "settings/WinColor.h"
#include "shell/TMainForm.h"

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

QVector<QRadioButton *> iconButtons(const TOptionForm &form)
{
    return {form.BigIconOBtn, form.SmallIconOBtn, form.ListOBtn};
}
QVector<QRadioButton *> orderButtons(const TOptionForm &form)
{
    return {form.ByNameOBtn, form.ByTimeOBtn};
}
QVector<QRadioButton *> viewButtons(const TOptionForm &form)
{
    return {form.ThisOBtn, form.NewOBtn};
}
QVector<QRadioButton *> viewerButtons(const TOptionForm &form)
{
    return {form.AllNewOBtn, form.EveryNewOBtn};
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

// The family's style with that weight and slant, as a user picks it in the font dialog.
QString styleOf(const QString &family, bool bold, bool italic)
{
    QString found;
    for (const QString &style : QFontDatabase::styles(family)) {
        if (QFontDatabase::bold(family, style) == bold && QFontDatabase::italic(family, style) == italic &&
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

void choose(TOptionForm &form, const Choices &choices)
{
    iconButtons(form).at(choices.icon)->setChecked(true);
    orderButtons(form).at(choices.order)->setChecked(true);
    viewButtons(form).at(choices.view)->setChecked(true);
    viewerButtons(form).at(choices.viewer)->setChecked(true);
    form.selectColor(choices.color);
    form.MinToTrayCheck->setChecked(choices.minimise);
    form.CloseToTrayCheck->setChecked(choices.close);
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
        TOptionForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("选项"));
        QCOMPARE(form.size(), QSize(364, 336));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(form.PageControl1->count(), 2);
        QCOMPARE(form.PageControl1->tabText(0), QStringLiteral("常规"));
        QCOMPARE(form.PageControl1->tabText(1), QStringLiteral("高级"));
        QCOMPARE(form.PageControl1->widget(0), form.Normal);
        QCOMPARE(form.PageControl1->widget(1), form.Master);
        QVERIFY(form.Normal->isAncestorOf(form.GroupBox3));
        QVERIFY(form.GroupBox2->isAncestorOf(form.AllNewOBtn));
        QVERIFY(form.Master->isAncestorOf(form.ColorBox));
        QVERIFY(form.Master->isAncestorOf(form.CloseToTrayCheck));
    }

    void colorChoices()
    {
        const QVector<TOptionForm::ColorChoice> &choices = TOptionForm::colorChoices();
        QCOMPARE(choices.first().value, WinColor::White);
        int systemColors = 0;
        QSet<int> values;
        for (const TOptionForm::ColorChoice &choice : choices) {
            QVERIFY(!choice.name.isEmpty());
            values.insert(choice.value);
            if (choice.value < 0) {
                QVERIFY(WinColor::isSystemColor(choice.value));
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
        QTest::newRow("installed values") << Choices{0, 0, 0, 0, WinColor::White, false, false} << QString();
        QTest::newRow("small icons, by time, a viewer per material, minimise")
            << Choices{1, 1, 1, 1, 0, true, false} << QStringLiteral("0");
        QTest::newRow("list, both tray boxes")
            << Choices{2, 0, 1, 0, 15780518, true, true} << QStringLiteral("01");
        QTest::newRow("close only") << Choices{0, 1, 0, 1, 255, false, true} << QStringLiteral("1");
        QTest::newRow("system colour")
            << Choices{1, 0, 0, 0, WinColor::systemColor(15), false, false} << QString();
        QTest::newRow("colour the list does not offer")
            << Choices{2, 1, 1, 1, 1234567, true, true} << QStringLiteral("01");
    }
    void roundTrip()
    {
        QFETCH(Choices, choices);
        QFETCH(QString, trayWay);
        {
            TOptionForm form;
            choose(form, choices);
            form.OkBtn->click();
            QCOMPARE(form.result(), int(QDialog::Accepted));
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

        TOptionForm again;
        QCOMPARE(checked(iconButtons(again)), choices.icon);
        QCOMPARE(checked(orderButtons(again)), choices.order);
        QCOMPARE(checked(viewButtons(again)), choices.view);
        QCOMPARE(checked(viewerButtons(again)), choices.viewer);
        QCOMPARE(again.selectedColor(), choices.color);
        QCOMPARE(again.MinToTrayCheck->isChecked(), choices.minimise);
        QCOMPARE(again.CloseToTrayCheck->isChecked(), choices.close);
        // Viewing in the main window needs no viewer choice.
        QCOMPARE(again.AllNewOBtn->isEnabled(), choices.view == 1);
        QCOMPARE(again.EveryNewOBtn->isEnabled(), choices.view == 1);
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
            TOptionForm form;
            ModalDriver driver;
            driver.queue([&](QWidget *modal) {
                auto *dialog = qobject_cast<QFontDialog *>(modal);
                const QString style = styleOf(wanted, bold, italic);
                QFont font = QFontDatabase::font(wanted, style, 14);
                font.setStyleName(style);
                font.setUnderline(underline);
                font.setStrikeOut(strikeOut);
                dialog->setCurrentFont(font);
                family = dialog->currentFont().family();
                dialog->accept();
            });
            form.FontBtn->click();
            QVERIFY(!family.isEmpty());
            form.OkBtn->click();
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
        TOptionForm again;
        const QFont font = again.FontDialog1->currentFont();
        QCOMPARE(font.bold(), bold);
        QCOMPARE(font.italic(), italic);
        QCOMPARE(font.underline(), underline);
        QCOMPARE(font.strikeOut(), strikeOut);
        QCOMPARE(font.pointSize(), 14);
    }

    void cancelledFontDialogChangesNothing()
    {
        {
            TOptionForm form;
            ModalDriver driver;
            driver.queue([](QWidget *modal) {
                auto *dialog = qobject_cast<QFontDialog *>(modal);
                QFont font = dialog->currentFont();
                font.setBold(true);
                dialog->setCurrentFont(font);
                dialog->reject();
            });
            form.FontBtn->click();
            form.OkBtn->click();
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
        TOptionForm form;
        choose(form, {2, 0, 0, 0, 0, true, true});
        form.CancelBtn->click();
        QCOMPARE(form.result(), int(QDialog::Rejected));
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
        TOptionForm form;
        QVERIFY(driver.boxes.isEmpty());
        QCOMPARE(checked(iconButtons(form)), icon);
        QCOMPARE(checked(orderButtons(form)), order);
        QCOMPARE(checked(viewButtons(form)), 0);
        QCOMPARE(checked(viewerButtons(form)), 0);
        QCOMPARE(form.selectedColor(), WinColor::White);
        QVERIFY(!form.MinToTrayCheck->isChecked());
        QVERIFY(!form.CloseToTrayCheck->isChecked());
        form.OkBtn->click();
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
        TOptionForm form;
        QCOMPARE(checked(iconButtons(form)), -1);
        QCOMPARE(checked(viewButtons(form)), -1);
        form.OkBtn->click();
        QCOMPARE(fileLines(*m_folder), installedLines()); // an unchecked group writes 0
    }

    void badNumberStopsTheFilling()
    {
        QStringList lines = installedLines();
        lines[1] = QStringLiteral("ICON=2");
        lines[5] = QStringLiteral("VFRMBC=blue");
        lines[13] = QStringLiteral("TrayWay=01");
        m_folder->writeLines(QStringLiteral("QB.ini"), lines);
        ModalDriver driver;
        TOptionForm form;
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY2(driver.boxes.first().text.contains(QStringLiteral("blue")),
                 qPrintable(driver.boxes.first().text));
        QCOMPARE(driver.boxes.first().caption, QStringLiteral("Zindrel"));
        QCOMPARE(checked(iconButtons(form)), 2);         // read before the bad line
        QCOMPARE(form.selectedColor(), WinColor::White); // the bad line itself
        QVERIFY(!form.MinToTrayCheck->isChecked());      // after it: not read
    }

    void viewChoiceEnablesViewerChoice()
    {
        TOptionForm form;
        form.NewOBtn->click();
        QVERIFY(form.AllNewOBtn->isEnabled());
        QVERIFY(form.EveryNewOBtn->isEnabled());
        form.ThisOBtn->click();
        QVERIFY(!form.AllNewOBtn->isEnabled());
        QVERIFY(!form.EveryNewOBtn->isEnabled());
    }

    void failedWriteKeepsTheDialog()
    {
        TOptionForm form;
        form.ListOBtn->setChecked(true);
        // A folder where the file should be: the file cannot be replaced.
        m_folder->remove(QStringLiteral("QB.ini"));
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("QB.ini")));
        bool applied = false;
        connect(&form, &TOptionForm::settingsApplied, this, [&applied] { applied = true; });
        ModalDriver driver;
        form.OkBtn->click();
        QCOMPARE(driver.boxes.size(), 1);
        QVERIFY(driver.boxes.first().text.contains(QStringLiteral("QB.ini")));
        QVERIFY(!applied);
        QCOMPARE(form.result(), 0);
        QVERIFY(form.ListOBtn->isChecked());
    }

    // Through the main window: OK applies at once, cancel changes nothing.
    void appliedAtOnce_data()
    {
        QTest::addColumn<Choices>("choices");
        QTest::addColumn<int>("listOrder");
        QTest::addColumn<int>("trayMode");
        QTest::newRow("both tray boxes")
            << Choices{2, 1, 1, 1, WinColor::systemColor(24), true, true} << 2 << 3;
        QTest::newRow("neither tray box") << Choices{1, 0, 0, 1, 0, false, false} << 1 << 0;
        QTest::newRow("minimise only") << Choices{0, 0, 1, 0, 255, true, false} << 1 << 1;
    }
    void appliedAtOnce()
    {
        QFETCH(Choices, choices);
        QFETCH(int, listOrder);
        QFETCH(int, trayMode);
        MainFormFixture fixture;
        TMainForm &main = *fixture.form;
        main.TrayMode = 3 - trayMode; // something else before
        ModalDriver driver;
        driver.queue([&choices](QWidget *modal) {
            auto *form = qobject_cast<TOptionForm *>(modal);
            QVERIFY(form);
            choose(*form, choices);
            form->OkBtn->click();
        });
        main.ToolButton10->click();
        QCOMPARE(main.listViewStyle(), choices.icon);
        QCOMPARE(main.ListOrder, listOrder);
        QCOMPARE(main.BrowseInNewWindow, choices.view);
        QCOMPARE(main.WindowPerMaterial, choices.viewer);
        QCOMPARE(main.ViewerBackColor, choices.color);
        QCOMPARE(main.TrayMode, trayMode);
    }

    void cancelThroughMainWindowAppliesNothing()
    {
        MainFormFixture fixture;
        TMainForm &main = *fixture.form;
        const QByteArray before = fixture.folder.readBytes(QStringLiteral("QB.ini"));
        ModalDriver driver;
        driver.queue([](QWidget *modal) {
            auto *form = qobject_cast<TOptionForm *>(modal);
            QVERIFY(form);
            choose(*form, {2, 1, 1, 1, 0, true, true});
            form->CancelBtn->click();
        });
        main.OpenOption();
        QCOMPARE(main.listViewStyle(), 0);
        QCOMPARE(main.ListOrder, 1);
        QCOMPARE(main.BrowseInNewWindow, 0);
        QCOMPARE(main.ViewerBackColor, WinColor::White);
        QCOMPARE(main.TrayMode, 0);
        QCOMPARE(fixture.folder.readBytes(QStringLiteral("QB.ini")), before);
    }

private:
    std::unique_ptr<TestFolder> m_folder;
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
