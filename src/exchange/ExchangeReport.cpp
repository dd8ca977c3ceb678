#include "exchange/ExchangeReport.h"

QString ExchangeReport::details() const
{
    QStringList lines;
    if (!changed.isEmpty())
        lines << QStringLiteral("改动：") << changed << QString();
    if (!skipped.isEmpty())
        lines << QStringLiteral("没有处理的文件：") << skipped;
    return lines.join(QLatin1Char('\n')).trimmed();
}
