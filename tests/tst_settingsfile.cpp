#include "base/AnsiText.h"
#include "settings/SettingsFile.h"
#include "settings/WindowsColor.h"
#include "store/BaseSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QStringList installedLines()
{
    QStringList lines;
    AnsiText::readLineFile(QStringLiteral(ZINDREL_INSTALL_DIR "/QB.ini"), &lines);
    return lines;
}

// The installed file with some lines replaced (line number -> content).
QStringList withLines(const QMap<int, QString> &changes)
{
    QStringList lines = installedLines();
    for (auto it = changes.begin(); it != changes.end(); ++it)
        lines[it.key()] = it.value();
    return lines;
}
} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void installedFileHasFourteenLines()
    {
        QCOMPARE(installedLines().size(), 14);
        SettingsValues defaults;
        QCOMPARE(SettingsFile::lines(defaults), installedLines());
    }

    void startup_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("order");
        QTest::addColumn<int>("browse");
        QTest::addColumn<int>("perMaterial");
        QTest::addColumn<int>("color");
        QTest::addColumn<int>("tray");
        QTest::newRow("installed") << installedLines() << 0 << 1 << 0 << 0 << 16777215 << 0;
        QTest::newRow("ICON=7 is large icons")
            << withLines({{1, QStringLiteral("ICON=7")}}) << 0 << 1 << 0 << 0 << 16777215 << 0;
        QTest::newRow("ICON=2 is list")
            << withLines({{1, QStringLiteral("ICON=2")}}) << 2 << 1 << 0 << 0 << 16777215 << 0;
        QTest::newRow("ORDER=1 by time")
            << withLines({{2, QStringLiteral("ORDER=1")}}) << 0 << 2 << 0 << 0 << 16777215 << 0;
        QTest::newRow("ORDER=5 unsorted")
            << withLines({{2, QStringLiteral("ORDER=5")}}) << 0 << 0 << 0 << 0 << 16777215 << 0;
        QTest::newRow("view styles set")
            << withLines({{3, QStringLiteral("VIEWSTYLE=1")}, {4, QStringLiteral("VIEWSTYLEDE=1")}}) << 0 << 1
            << 1 << 1 << 16777215 << 0;
        QTest::newRow("out-of-range view styles touch only their flags")
            << withLines({{1, QStringLiteral("ICON=2")},
                          {2, QStringLiteral("ORDER=1")},
                          {3, QStringLiteral("VIEWSTYLE=7")},
                          {4, QStringLiteral("VIEWSTYLEDE=9")}})
            << 2 << 2 << 0 << 0 << 16777215 << 0;
        QTest::newRow("negative colour")
            << withLines({{5, QStringLiteral("VFRMBC=-16777211")}}) << 0 << 1 << 0 << 0 << -16777211 << 0;
        QTest::newRow("TrayWay=0") << withLines({{13, QStringLiteral("TrayWay=0")}}) << 0 << 1 << 0 << 0
                                   << 16777215 << 1;
        QTest::newRow("TrayWay=1") << withLines({{13, QStringLiteral("TrayWay=1")}}) << 0 << 1 << 0 << 0
                                   << 16777215 << 2;
        QTest::newRow("TrayWay=01") << withLines({{13, QStringLiteral("TrayWay=01")}}) << 0 << 1 << 0 << 0
                                    << 16777215 << 3;
        QTest::newRow("short file gives defaults for the rest")
            << QStringList{QStringLiteral("[Quillbarrow ini file]"), QStringLiteral("ICON=1"),
                           QStringLiteral("ORDER=1")}
            << 1 << 2 << 0 << 0 << 16777215 << 0;
        QTest::newRow("empty file gives defaults") << QStringList() << 0 << 1 << 0 << 0 << 16777215 << 0;
        QTest::newRow("not a number keeps the default colour")
            << withLines({{5, QStringLiteral("VFRMBC=white")}}) << 0 << 1 << 0 << 0 << 16777215 << 0;
    }
    void startup()
    {
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QB.ini"));
        QVERIFY(AnsiText::writeLineFile(path, lines));
        const StartupSettings settings = SettingsFile::readStartup(path);
        QTEST(settings.iconStyle, "icon");
        QTEST(settings.listOrder, "order");
        QTEST(settings.browseInNewWindow, "browse");
        QTEST(settings.windowPerMaterial, "perMaterial");
        QTEST(settings.viewerBackColor, "color");
        QTEST(settings.trayMode, "tray");
    }

    void missingFileGivesDefaults()
    {
        const StartupSettings settings = SettingsFile::readStartup(QStringLiteral("/nonexistent/QB.ini"));
        QCOMPARE(settings.iconStyle, 0);
        QCOMPARE(settings.listOrder, 1);
        QCOMPARE(settings.trayMode, 0);
        ViewerFontValues font;
        QString error;
        QVERIFY(SettingsFile::readFont(QStringLiteral("/nonexistent/QB.ini"), &font, &error));
        QCOMPARE(font.face, ViewerFontValues().face);
    }

    void font_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("face");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("strikeOut");
        QTest::newRow("bold and italic")
            << QStringLiteral("01") << QStringLiteral("宋体") << true << true << false << false;
        QTest::newRow("italic alone")
            << QStringLiteral("1") << QStringLiteral("宋体") << false << true << false << false;
        QTest::newRow("none") << QString() << QStringLiteral("MS Sans Serif") << false << false << false
                              << false;
        QTest::newRow("other characters ignored")
            << QStringLiteral("x3y2") << QStringLiteral("Courier New") << false << false << true << true;
    }
    void font()
    {
        QFETCH(QString, style);
        QFETCH(QString, face);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QB.ini"));
        QVERIFY(AnsiText::writeLineFile(
            path, withLines({{10, QStringLiteral("     ") + face}, {12, QStringLiteral("     ") + style}})));
        ViewerFontValues font;
        QString error;
        QVERIFY(SettingsFile::readFont(path, &font, &error));
        QCOMPARE(font.face, face);
        QTEST(font.bold, "bold");
        QTEST(font.italic, "italic");
        QTEST(font.underline, "underline");
        QTEST(font.strikeOut, "strikeOut");
        QCOMPARE(font.charset, 134);
        QCOMPARE(font.height, -12);
        QCOMPARE(font.size, 9);
    }

    // The bad line keeps its default; the lines after it are read all the same.
    void badNumberIsNamedAndTheRestRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QB.ini"));
        QVERIFY(AnsiText::writeLineFile(path, withLines({{7, QStringLiteral("     0")},
                                                         {8, QStringLiteral("     255")},
                                                         {9, QStringLiteral("     -1x")},
                                                         {10, QStringLiteral("     Arial")}})));
        ViewerFontValues font;
        QString error;
        QVERIFY(!SettingsFile::readFont(path, &font, &error));
        QVERIFY2(error.contains(QStringLiteral("-1x")), qPrintable(error));
        QCOMPARE(font.charset, 0);
        QCOMPARE(font.color, 255);
        QCOMPARE(font.height, ViewerFontValues().height);
        QCOMPARE(font.face, QStringLiteral("Arial"));
    }

    void writeThenRead()
    {
        SettingsValues values;
        values.icon = 2;
        values.order = 1;
        values.viewStyle = 1;
        values.viewStyleDetail = 1;
        values.backColor = -16777211;
        values.font.charset = 0;
        values.font.color = 255;
        values.font.height = -16;
        values.font.face = QStringLiteral("MS Sans Serif");
        values.font.size = 12;
        values.font.bold = true;
        values.font.underline = true;
        values.trayWay = QStringLiteral("01");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QB.ini"));
        QString error;
        QVERIFY(SettingsFile::write(path, values, &error));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList written = AnsiText::splitLines(AnsiText::decode(file.readAll()));
        QCOMPARE(written.size(), 14);
        QCOMPARE(written.at(12), QStringLiteral("     02"));
        QCOMPARE(written.at(13), QStringLiteral("TrayWay=01"));

        SettingsValues read;
        QVERIFY(SettingsFile::readAll(path, &read, &error));
        QCOMPARE(SettingsFile::lines(read), SettingsFile::lines(values));
        const StartupSettings startup = SettingsFile::readStartup(path);
        QCOMPARE(startup.trayMode, 3);
        QCOMPARE(startup.viewerBackColor, -16777211);
    }

    void noStyleIsFiveBlanks()
    {
        QCOMPARE(SettingsFile::lines(SettingsValues()).at(12), QStringLiteral("     "));
    }

    void colours()
    {
        QPalette palette;
        palette.setColor(QPalette::Base, QColor(1, 2, 3));
        palette.setColor(QPalette::Text, QColor(4, 5, 6));
        QCOMPARE(WindowsColor::toQColor(WindowsColor::White, palette), QColor(255, 255, 255));
        QCOMPARE(WindowsColor::toQColor(0x0000FF, palette), QColor(255, 0, 0));
        QCOMPARE(WindowsColor::toQColor(WindowsColor::SystemWindow, palette), QColor(1, 2, 3));
        QCOMPARE(WindowsColor::toQColor(WindowsColor::SystemWindowText, palette), QColor(4, 5, 6));
        QCOMPARE(WindowsColor::systemColor(5), WindowsColor::SystemWindow);
        QCOMPARE(WindowsColor::fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412);
        QVERIFY(WindowsColor::isSystemColor(-16777208));
        QVERIFY(!WindowsColor::isSystemColor(WindowsColor::White));
    }

    // A Base.ini that exists either names the store, or says which line keeps it from doing so.
    void baseSettings_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("server");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("place");
        QTest::newRow("local") << QByteArray("[base]\ndriver=SQLite\n") << false << QString() << QString();
        QTest::newRow("server") << QByteArray("\xEF\xBB\xBF; shared\r\n[base]\r\ndriver=postgresql\r\n"
                                              "host = db.lan\r\nport=5433\r\ndatabase=知识\r\n")
                                << true << QString() << QStringLiteral("db.lan:5433/知识");
        const QString at2 = QStringLiteral("Base.ini第2行");
        QTest::newRow("empty") << QByteArray("\n") << true
                               << QStringLiteral("Base.ini的[base]段中没有写driver=") << QString();
        QTest::newRow("section") << QByteArray("[Base]\ndriver=postgresql\n") << true
                                 << QStringLiteral("Base.ini第1行“[Base]”：段名只能是[base]") << QString();
        QTest::newRow("key") << QByteArray("[base]\nDriver=postgresql\n") << true
                             << at2 + QStringLiteral("的“Driver”无法识别") << QString();
        QTest::newRow("outside") << QByteArray("driver=postgresql\n") << true
                                 << QStringLiteral("Base.ini第1行“driver=postgresql”不在[base]段中")
                                 << QString();
        QTest::newRow("no equals") << QByteArray("[base]\npostgresql\n") << true
                                   << at2 + QStringLiteral("“postgresql”无法识别") << QString();
        QTest::newRow("twice") << QByteArray("[base]\ndriver=sqlite\ndriver=postgresql\n") << true
                               << QStringLiteral("Base.ini第3行又写了一次driver=（第2行已经写过）")
                               << QString();
        QTest::newRow("backslash") << QByteArray("[base]\ndatabase=a\\b\ndriver=postgresql\n") << true
                                   << at2 + QStringLiteral("的database=含有引号") << QString();
        QTest::newRow("hosts") << QByteArray("[base]\ndriver=postgresql\nhost=a,b\ndatabase=z\n") << true
                               << QStringLiteral("Base.ini第3行的host=a,b不是一个服务器") << QString();
        QTest::newRow("driver") << QByteArray("[base]\ndriver=mysql\n") << true
                                << at2 + QStringLiteral("的driver=mysql无法识别") << QString();
        QTest::newRow("port") << QByteArray("[base]\ndriver=postgresql\ndatabase=z\nport=x\n") << true
                              << QStringLiteral("Base.ini第4行的port=x不是有效的端口号") << QString();
        QTest::newRow("password") << QByteArray("[base]\npassword=s\ndriver=postgresql\ndatabase=z\n") << true
                                  << at2 + QStringLiteral("写了密码") << QString();
        QTest::newRow("no database") << QByteArray("[base]\ndriver=postgresql\n") << true
                                     << QStringLiteral("Base.ini中没有写数据库名") << QString();
    }
    void baseSettings()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, refusal);
        QFETCH(QString, place);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Base.ini"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
        out.close();
        const BaseSettings settings = BaseSettings::read(path);
        QTEST(settings.usesServer(), "server");
        QVERIFY2(refusal.isEmpty() ? settings.refusal().isEmpty() : settings.refusal().startsWith(refusal),
                 qPrintable(settings.refusal()));
        if (!place.isEmpty())
            QCOMPARE(settings.place(), place);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
