#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QSqlDatabase;
struct sqlite3;
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
    // Runs one statement in a transaction that is committed only when keep(), called after the
    // statement succeeded, agrees; otherwise nothing changes (and *error stays as it was).
    bool executeKeptIf(const QString &sql, const std::function<bool()> &keep, QString *error);
    // Runs one select and hands each row to the reader in turn.
    bool select(const QString &sql, const std::function<void(const QSqlQuery &row)> &reader, QString *error);

    enum class BatchOutcome { Committed, Cancelled, Failed };
    // Runs many statements on one connection, opened once, inside one transaction: all of them
    // take effect or none. next() hands out the next statement (an empty one runs nothing) and
    // returns false when there is none left; proceed(steps) is asked after every step and
    // cancels, rolling everything back, when it returns false. It may process events: meanwhile
    // every other operation is refused, since opening the connection again would close it.
    BatchOutcome executeBatch(const std::function<bool(QString *sql)> &next,
                              const std::function<bool(int steps)> &proceed, QString *error);

    // What an operation says when another program held the database past the busy time-out.
    static inline const QString BusyText = QStringLiteral("数据库正被其他程序占用，请稍后再试");

    // Runs work on the open connection, with SQLite's own handle of it (nullptr on another
    // driver), and closes it after. Like a batch, the work may process events, and other
    // operations are refused meanwhile.
    bool runOnConnection(const std::function<bool(QSqlDatabase &db, sqlite3 *handle, QString *error)> &work,
                         QString *error);

    void reportStatus(const QString &text) { emit statusReported(text); }
    void reportProgress(int value) { emit progressReported(value); }

signals:
    void statusReported(const QString &text);
    void progressReported(int value);

private:
    bool run(const QString &sql, const std::function<void(QSqlQuery &query)> &onSuccess, QString *error);

    // True when a batch holds the connection open.
    bool refuseWhileBatchRuns(QString *error) const;

    QString m_databasePath;
    bool m_batchRunning = false;
};
