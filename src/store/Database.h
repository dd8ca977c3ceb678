#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QSqlQuery;

// The one connection to Data.QBD in the program folder, opened for one operation and closed
// after it whatever happened. Operations that report on the main window's status line and
// progress bar do so through its two signals.
class Database : public QObject
{
    Q_OBJECT
public:
    explicit Database(QObject *parent = nullptr);
    ~Database() override;

    // The database in use; nullptr before it is created.
    static Database *current();

    // Points the connection at Data.QBD of the program folder; takes effect at the next open.
    void pointAtProgramFolder();
    QString databasePath() const { return m_databasePath; }

    // Runs one statement that returns no rows.
    bool execute(const QString &sql, QString *error);
    // Runs one select and hands each row to the reader in turn.
    bool select(const QString &sql, const std::function<void(const QSqlQuery &row)> &reader, QString *error);

    void reportStatus(const QString &text) { emit statusReported(text); }
    void reportProgress(int value) { emit progressReported(value); }

signals:
    void statusReported(const QString &text);
    void progressReported(int value);

private:
    bool run(const QString &sql, const std::function<void(QSqlQuery &query)> &onSuccess, QString *error);

    QString m_databasePath;
};
