#pragma once

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>

// The local files of a program folder, Data.QBD from the installed schema and MTS.qb with the
// given lines, whatever store the tests run against: what an upload to a shared base reads.
class LocalBase
{
public:
    explicit LocalBase(const QStringList &treeLines);

    QString databasePath() const { return m_dir.filePath(QStringLiteral("Data.QBD")); }
    QString treePath() const { return m_dir.filePath(QStringLiteral("MTS.qb")); }
    // Runs one statement on Data.QBD; its rows, each as one line of its values.
    QStringList lines(const QString &sql) const;
    // Every file of the folder with its bytes.
    QMap<QString, QByteArray> files() const;

private:
    QTemporaryDir m_dir;
};
