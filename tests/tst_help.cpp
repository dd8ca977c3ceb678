#include "MainWindowFixture.h"
#include "ModalDriver.h"

#include "base/QtTranslations.h"
#include "help/AboutDialog.h"
#include "help/HelpCommands.h"
#include "shell/MainWindow.h"
#include "shell/MainWindowTray.h"

#include <QAbstractButton>
#include <QAction>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QDateEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

// Stands in for the desktop: records every address handed to it.
class OpenedUrls : public QObject
{
    Q_OBJECT
public:
    OpenedUrls()
    {
        for (const char *scheme : {"file", "mailto", "http", "https"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~OpenedUrls() override
    {
        for (const char *scheme : {"file", "mailto", "http", "https"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

namespace {
QAction *helpAction(const MainWindow &window, const QString &caption)
{
    for (QAction *menu : window.menuBar()->actions()) {
        if (menu->text() != QStringLiteral("帮助&H"))
            continue;
        for (QAction *action : menu->menu()->actions()) {
            if (action->text() == caption)
                return action;
        }
    }
    return nullptr;
}

// Describes the About box that a command opens, and closes it.
struct AboutSeen
{
    QString title;
    QSize size;
    bool fixedSize = false;
    int buttons = -1;
    QStringList lines;
    QFont titleFont;
    QColor titleColor;
};

ModalDriver::Handler recordAbout(AboutSeen *seen)
{
    return [seen](QWidget *modal) {
        auto *about = qobject_cast<AboutDialog *>(modal);
        if (!about)
            return;
        seen->title = about->windowTitle();
        seen->size = about->size();
        seen->fixedSize = about->minimumSize() == about->maximumSize();
        seen->buttons = int(about->findChildren<QAbstractButton *>().size() +
                            about->findChildren<QDialogButtonBox *>().size());
        // The labels in their order: title, introduction, news, version.
        const QList<QLabel *> labels = about->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
        for (const QLabel *label : labels)
            seen->lines.append(label->text());
        if (!labels.isEmpty()) {
            seen->titleFont = labels.first()->font();
            seen->titleColor = labels.first()->palette().color(QPalette::WindowText);
        }
        about->close();
    };
}
} // namespace

class TestHelp : public QObject
{
    Q_OBJECT
private slots:
    void helpFileOfTheProgramFolder_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("fromToolBar");
        QTest::newRow("menu, present") << true << false;
        QTest::newRow("tool button, present") << true << true;
        QTest::newRow("absent: nothing visible") << false << false;
    }
    void helpFileOfTheProgramFolder()
    {
        QFETCH(bool, present);
        QFETCH(bool, fromToolBar);
        MainWindowFixture fixture;
        const QString path = fixture.folder.filePath(QStringLiteral("QBHELP.html"));
        QCOMPARE(HelpCommands::helpFilePath(), path);
        if (present)
            fixture.folder.writeBytes(QStringLiteral("QBHELP.html"), "<html></html>");
        // Not the current folder: a help file there is never opened.
        const QString current = QDir::currentPath();
        QTemporaryDir elsewhere;
        QFile decoy(elsewhere.filePath(QStringLiteral("QBHELP.html")));
        QVERIFY(decoy.open(QIODevice::WriteOnly));
        decoy.close();
        QDir::setCurrent(elsewhere.path());

        OpenedUrls desktop;
        ModalDriver driver;
        if (fromToolBar)
            fixture.button("helpButton")->click();
        else
            helpAction(*fixture.window, QStringLiteral("主题"))->trigger();
        QDir::setCurrent(current);
        QCOMPARE(desktop.urls, present ? QList<QUrl>{QUrl::fromLocalFile(path)} : QList<QUrl>());
        QVERIFY(driver.boxes.isEmpty());
    }

    void mailAndWeb()
    {
        MainWindowFixture fixture;
        OpenedUrls desktop;
        helpAction(*fixture.window, QStringLiteral("来信"))->trigger();
        helpAction(*fixture.window, QStringLiteral("访问网站"))->trigger();
        QCOMPARE(desktop.urls.size(), 2);
        const QUrl mail = desktop.urls.at(0);
        QVERIFY(mail.isValid());
        QCOMPARE(mail.scheme(), QStringLiteral("mailto"));
        QVERIFY(mail.path().contains(QLatin1Char('@')));
        const QUrl web = desktop.urls.at(1);
        QVERIFY(web.isValid());
        QCOMPARE(web.scheme(), QStringLiteral("https"));
        QVERIFY(!web.host().isEmpty());
    }

    // The same box from the help menu and from the tray menu, also while the window is hidden.
    void standardTextsAreChinese()
    {
        QObject owner; // the translations go with it, for the tests after this one
        QVERIFY2(QtTranslations::installChinese(&owner), "Qt's Chinese translations are not installed");
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Zindrel"), QStringLiteral("?"),
                        QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
        QVERIFY(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("是")));
        QVERIFY(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("否")));
        // Dates the Chinese way, as the search dialog's pickers show them.
        QDateEdit picker(QDate(2026, 12, 9));
        QCOMPARE(picker.text(), QStringLiteral("2026/12/9"));
    }

    void aboutBox_data()
    {
        QTest::addColumn<bool>("fromTray");
        QTest::newRow("help menu") << false;
        QTest::newRow("tray menu, main window hidden") << true;
    }
    void aboutBox()
    {
        QFETCH(bool, fromTray);
        MainWindowFixture fixture;
        ModalDriver driver;
        AboutSeen seen;
        driver.queue(recordAbout(&seen));
        if (fromTray) {
            fixture.window->hide();
            QAction *about = nullptr;
            for (QAction *action : fixture.window->tray()->menu()->actions()) {
                if (action->text() == QStringLiteral("关于"))
                    about = action;
            }
            QVERIFY(about);
            about->trigger();
        } else {
            helpAction(*fixture.window, QStringLiteral("关于"))->trigger();
        }
        QCOMPARE(seen.title, QStringLiteral("Zindrel"));
        QCOMPARE(seen.size, QSize(386, 114));
        QVERIFY(seen.fixedSize);
        QCOMPARE(seen.buttons, 0);
        QCOMPARE(seen.lines.size(), 4);
        QCOMPARE(seen.lines.first(), QStringLiteral("Zindrel"));
        QVERIFY(seen.lines.at(1).contains(QStringLiteral("2.0")));
        QVERIFY(seen.lines.at(2).contains(HelpCommands::webUrl().host()));
        QVERIFY(seen.lines.at(3).contains(QStringLiteral("2.0")));
        QVERIFY(seen.titleFont.bold());
        QCOMPARE(seen.titleFont.pixelSize(), 16);
        QCOMPARE(seen.titleColor, QColor(128, 0, 0));
        QVERIFY(driver.otherWindows.isEmpty());
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
