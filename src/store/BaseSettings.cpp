#include "store/BaseSettings.h"

#include "base/ProgramFolder.h"

#include <QSettings>
#include <QStringList>

namespace {
const QStringList SslModes{QStringLiteral("disable"),   QStringLiteral("allow"),
                           QStringLiteral("prefer"),    QStringLiteral("require"),
                           QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
} // namespace

QString BaseSettings::defaultPath()
{
    return ProgramFolder::filePath(QStringLiteral("Base.ini"));
}

BaseSettings BaseSettings::read(const QString &path)
{
    BaseSettings settings;
    QSettings file(path, QSettings::IniFormat);
    const QString driver = file.value(QStringLiteral("base/driver")).toString().trimmed().toLower();
    if (file.status() == QSettings::FormatError) {
        settings.m_usesServer = true;
        settings.m_refusal = QStringLiteral("Base.ini的格式有误，无法读取");
        return settings;
    }
    if (driver.isEmpty() || driver == QLatin1String("sqlite"))
        return settings;
    settings.m_usesServer = true;
    if (driver != QLatin1String("postgresql")) {
        settings.m_refusal =
            QStringLiteral("Base.ini中的driver=%1无法识别，应为sqlite或postgresql").arg(driver);
        return settings;
    }
    bool portRead = true;
    const QVariant port = file.value(QStringLiteral("base/port"));
    settings = server(file.value(QStringLiteral("base/host")).toString().trimmed(),
                      port.isValid() ? port.toString().trimmed().toInt(&portRead) : DefaultPort,
                      file.value(QStringLiteral("base/database")).toString().trimmed(),
                      file.value(QStringLiteral("base/user")).toString().trimmed(),
                      file.value(QStringLiteral("base/sslmode")).toString().trimmed().toLower());
    // A password written here could be read by anyone who can read the program folder.
    if (file.contains(QStringLiteral("base/password")))
        settings.m_refusal =
            QStringLiteral("Base.ini中不能写密码：请把密码写在~/.pgpass里，或使用本机的对等认证");
    else if (!portRead || settings.m_port <= 0 || settings.m_port > 65535)
        settings.m_refusal =
            QStringLiteral("Base.ini中的port=%1不是有效的端口号").arg(port.toString().trimmed());
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
