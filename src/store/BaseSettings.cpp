#include "store/BaseSettings.h"

#include "base/ProgramFolder.h"

#include <QFile>
#include <QHash>
#include <QStringList>

#include <algorithm>

namespace {
const QStringList SslModes{QStringLiteral("disable"),   QStringLiteral("allow"),
                           QStringLiteral("prefer"),    QStringLiteral("require"),
                           QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
const QStringList Names{QStringLiteral("driver"),   QStringLiteral("host"), QStringLiteral("port"),
                        QStringLiteral("database"), QStringLiteral("user"), QStringLiteral("sslmode")};
// Known only to be refused with its own message.
const QString Password = QStringLiteral("password");

struct Value
{
    QString text;
    int line = 0;
};

QString atLine(int line, const QString &what)
{
    return QStringLiteral("Base.ini第%1行%2").arg(line).arg(what);
}

// A value is taken as written: quotes and backslashes, which INI readers take apart in different
// ways, and control characters are refused rather than guessed at.
bool isPlain(const QString &value)
{
    for (const QChar c : value) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('\\') ||
            c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

// The lines of [base], each key once; the first line that cannot be taken as written is refused,
// so that a file meant to name a server never leaves the program on the local files in silence.
QHash<QString, Value> readLines(const QByteArray &bytes, QString *refusal)
{
    QHash<QString, Value> values;
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool inBase = false;
    for (int number = 1; number <= lines.size(); ++number) {
        const QString line = lines.at(number - 1).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inBase = line == QLatin1String("[base]");
            if (!inBase) {
                *refusal = atLine(number, QStringLiteral("“%1”：段名只能是[base]").arg(line));
                return {};
            }
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (equals < 0)
            *refusal = atLine(number, QStringLiteral("“%1”无法识别，应为“名称=值”").arg(line));
        else if (!inBase)
            *refusal = atLine(number, QStringLiteral("“%1”不在[base]段中").arg(line));
        else if (!Names.contains(key) && key != Password)
            *refusal = atLine(number, QStringLiteral("的“%1”无法识别（区分大小写），可用的名称：%2")
                                          .arg(key, Names.join(QLatin1Char(','))));
        else if (values.contains(key))
            *refusal = atLine(
                number, QStringLiteral("又写了一次%1=（第%2行已经写过）").arg(key).arg(values[key].line));
        else if (!isPlain(value))
            *refusal = atLine(number, QStringLiteral("的%1=含有引号、反斜杠或控制字符，无法使用").arg(key));
        if (!refusal->isEmpty())
            return {};
        values.insert(key, {value, number});
    }
    return values;
}
} // namespace

QString BaseSettings::defaultPath()
{
    return ProgramFolder::filePath(QStringLiteral("Base.ini"));
}

BaseSettings BaseSettings::read(const QString &path)
{
    BaseSettings settings;
    QFile file(path);
    if (!file.exists())
        return settings;
    settings.m_usesServer = true;
    if (!file.open(QIODevice::ReadOnly)) {
        settings.m_refusal = QStringLiteral("无法读取Base.ini：") + file.errorString();
        return settings;
    }
    const QHash<QString, Value> values = readLines(file.readAll(), &settings.m_refusal);
    if (!settings.m_refusal.isEmpty())
        return settings;
    Value driver = values.value(QStringLiteral("driver"));
    driver.text = driver.text.toLower();
    if (driver.text == QLatin1String("sqlite")) {
        settings.m_usesServer = false;
        return settings;
    }
    if (driver.text != QLatin1String("postgresql")) {
        settings.m_refusal =
            driver.line == 0
                ? QStringLiteral("Base.ini的[base]段中没有写driver=（sqlite或postgresql）")
                : atLine(driver.line,
                         QStringLiteral("的driver=%1无法识别，应为sqlite或postgresql").arg(driver.text));
        return settings;
    }
    const Value port = values.value(QStringLiteral("port"));
    bool portRead = true;
    const Value host = values.value(QStringLiteral("host"));
    settings =
        server(host.text, port.line == 0 ? DefaultPort : port.text.toInt(&portRead),
               values.value(QStringLiteral("database")).text, values.value(QStringLiteral("user")).text,
               values.value(QStringLiteral("sslmode")).text.toLower());
    // A password written here could be read by anyone who can read the program folder.
    if (values.contains(Password))
        settings.m_refusal = atLine(
            values[Password].line, QStringLiteral("写了密码：请把密码写在~/.pgpass里，或使用本机的对等认证"));
    else if (!portRead || settings.m_port <= 0 || settings.m_port > 65535)
        settings.m_refusal = atLine(port.line, QStringLiteral("的port=%1不是有效的端口号").arg(port.text));
    // The connection goes to one server: a list of hosts would be tried in turn without a word.
    else if (std::any_of(host.text.cbegin(), host.text.cend(),
                         [](QChar c) { return c == QLatin1Char(',') || c.isSpace(); }))
        settings.m_refusal =
            atLine(host.line, QStringLiteral("的host=%1不是一个服务器的名称或地址").arg(host.text));
    return settings;
}

BaseSettings BaseSettings::server(const QString &host, int port, const QString &database, const QString &user,
                                  const QString &sslMode)
{
    BaseSettings settings;
    settings.m_usesServer = true;
    settings.m_host = host;
    settings.m_port = port;
    settings.m_database = database;
    settings.m_user = user;
    settings.m_sslMode = sslMode;
    if (database.isEmpty())
        settings.m_refusal = QStringLiteral("Base.ini中没有写数据库名（database=）");
    else if (!sslMode.isEmpty() && !SslModes.contains(sslMode))
        settings.m_refusal = QStringLiteral("Base.ini中的sslmode=%1无法识别，可用的值：%2")
                                 .arg(sslMode, SslModes.join(QLatin1Char(',')));
    return settings;
}

QString BaseSettings::place() const
{
    return (m_host.isEmpty() ? QStringLiteral("本机套接字") : m_host) + QLatin1Char(':') +
           QString::number(m_port) + QLatin1Char('/') + m_database;
}
