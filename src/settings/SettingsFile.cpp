#include "settings/SettingsFile.h"

#include "base/AnsiText.h"
#include "base/ProgramFolder.h"

#include <QFileInfo>

namespace {

const QString Blanks = QStringLiteral("     ");

enum Line {
    HeaderLine = 0,
    IconLine = 1,
    OrderLine = 2,
    ViewStyleLine = 3,
    ViewStyleDetailLine = 4,
    BackColorLine = 5,
    FontHeaderLine = 6,
    CharsetLine = 7,
    ColorLine = 8,
    HeightLine = 9,
    FaceLine = 10,
    SizeLine = 11,
    StyleLine = 12,
    TrayWayLine = 13,
    LineCount = 14
};

// Characters from a 1-based position to the end, as the file is read by position.
QString valueFrom(const QStringList &lines, int line, int position)
{
    return lines.value(line).mid(position - 1);
}

// The one character at a 1-based position as a digit, or -1.
int digitAt(const QStringList &lines, int line, int position)
{
    const QString ch = lines.value(line).mid(position - 1, 1);
    bool ok = false;
    const int value = ch.toInt(&ok);
    return ok ? value : -1;
}

int choice(int digit, int choices)
{
    return digit >= 0 && digit < choices ? digit : -1;
}

// A value that is not a number keeps the target's default and adds its line to the problems;
// the lines after it are read all the same.
void readNumber(const QStringList &lines, int line, int position, int *target, QStringList *problems)
{
    if (line >= lines.size())
        return;
    const QString text = valueFrom(lines, line, position);
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok)
        *target = value;
    else
        problems->append(QStringLiteral("QB.ini第%1行的“%2”不是有效的数字").arg(line + 1).arg(text));
}

void readFontLines(const QStringList &lines, ViewerFontValues *font, QStringList *problems)
{
    readNumber(lines, CharsetLine, 6, &font->charset, problems);
    readNumber(lines, ColorLine, 6, &font->color, problems);
    readNumber(lines, HeightLine, 6, &font->height, problems);
    if (FaceLine < lines.size())
        font->face = valueFrom(lines, FaceLine, 6);
    readNumber(lines, SizeLine, 6, &font->size, problems);
    if (StyleLine < lines.size())
        font->setStyleDigits(valueFrom(lines, StyleLine, 6));
}

bool reported(const QStringList &problems, QString *error)
{
    if (problems.isEmpty())
        return true;
    *error = problems.join(QLatin1Char('\n'));
    return false;
}

// A missing file reads as an empty one: every value keeps its default.
bool loadLines(const QString &path, QStringList *lines, QString *error)
{
    if (!QFileInfo::exists(path))
        return true;
    QString why;
    if (AnsiText::readLineFile(path, lines, &why))
        return true;
    *error = QStringLiteral("无法打开设置文件QB.ini：%1").arg(why);
    return false;
}

} // namespace

QString ViewerFontValues::styleDigits() const
{
    QString digits;
    if (bold)
        digits += QLatin1Char('0');
    if (italic)
        digits += QLatin1Char('1');
    if (underline)
        digits += QLatin1Char('2');
    if (strikeOut)
        digits += QLatin1Char('3');
    return digits;
}

void ViewerFontValues::setStyleDigits(const QString &digits)
{
    bold = digits.contains(QLatin1Char('0'));
    italic = digits.contains(QLatin1Char('1'));
    underline = digits.contains(QLatin1Char('2'));
    strikeOut = digits.contains(QLatin1Char('3'));
}

QString SettingsFile::path()
{
    return ProgramFolder::filePath(QStringLiteral("QB.ini"));
}

StartupSettings SettingsFile::readStartup(const QString &path)
{
    StartupSettings settings;
    QStringList lines;
    QString ignored;
    if (!loadLines(path, &lines, &ignored))
        return settings;

    if (IconLine < lines.size()) {
        const int icon = choice(digitAt(lines, IconLine, 6), 3);
        settings.iconStyle = icon < 0 ? StartupSettings::LargeIcons : icon;
    }
    if (OrderLine < lines.size()) {
        const int order = choice(digitAt(lines, OrderLine, 7), 2);
        settings.listOrder = order < 0 ? 0 : order + 1;
    }
    // An out-of-range value leaves its own flag at 0 and touches nothing else.
    settings.browseInNewWindow = qMax(0, choice(digitAt(lines, ViewStyleLine, 11), 2));
    settings.windowPerMaterial = qMax(0, choice(digitAt(lines, ViewStyleDetailLine, 13), 2));
    bool ok = false;
    const int color = valueFrom(lines, BackColorLine, 8).trimmed().toInt(&ok);
    if (ok)
        settings.viewerBackColor = color;
    settings.trayMode = trayModeOf(valueFrom(lines, TrayWayLine, 9));
    return settings;
}

bool SettingsFile::readFont(const QString &path, ViewerFontValues *font, QString *error)
{
    QStringList lines;
    if (!loadLines(path, &lines, error))
        return false;
    QStringList problems;
    readFontLines(lines, font, &problems);
    return reported(problems, error);
}

bool SettingsFile::readAll(const QString &path, SettingsValues *values, QString *error)
{
    QStringList lines;
    if (!loadLines(path, &lines, error))
        return false;
    if (IconLine < lines.size())
        values->icon = choice(digitAt(lines, IconLine, 6), 3);
    if (OrderLine < lines.size())
        values->order = choice(digitAt(lines, OrderLine, 7), 2);
    if (ViewStyleLine < lines.size())
        values->viewStyle = choice(digitAt(lines, ViewStyleLine, 11), 2);
    if (ViewStyleDetailLine < lines.size())
        values->viewStyleDetail = choice(digitAt(lines, ViewStyleDetailLine, 13), 2);
    QStringList problems;
    readNumber(lines, BackColorLine, 8, &values->backColor, &problems);
    readFontLines(lines, &values->font, &problems);
    values->trayWay = valueFrom(lines, TrayWayLine, 9);
    return reported(problems, error);
}

QStringList SettingsFile::lines(const SettingsValues &values)
{
    const ViewerFontValues &font = values.font;
    return {QStringLiteral("[Quillbarrow ini file]"),
            QStringLiteral("ICON=%1").arg(qMax(0, values.icon)),
            QStringLiteral("ORDER=%1").arg(qMax(0, values.order)),
            QStringLiteral("VIEWSTYLE=%1").arg(qMax(0, values.viewStyle)),
            QStringLiteral("VIEWSTYLEDE=%1").arg(qMax(0, values.viewStyleDetail)),
            QStringLiteral("VFRMBC=%1").arg(values.backColor),
            QStringLiteral("Font="),
            Blanks + QString::number(font.charset),
            Blanks + QString::number(font.color),
            Blanks + QString::number(font.height),
            Blanks + font.face,
            Blanks + QString::number(font.size),
            Blanks + font.styleDigits(),
            QStringLiteral("TrayWay=") + values.trayWay};
}

bool SettingsFile::write(const QString &path, const SettingsValues &values, QString *error)
{
    QString why;
    if (AnsiText::writeLineFile(path, lines(values), &why))
        return true;
    if (error)
        *error = QStringLiteral("无法写入设置文件QB.ini：%1").arg(why);
    return false;
}

int SettingsFile::trayModeOf(const QString &trayWay)
{
    if (trayWay.size() == 2)
        return 3;
    if (trayWay == QLatin1String("0"))
        return 1;
    if (trayWay == QLatin1String("1"))
        return 2;
    return 0;
}
