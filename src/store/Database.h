#pragma once

#include "store/BaseSettings.h"
#include "store/SqlDialect.h"

#include <QObject>
#include <QSqlDriver>
#include <QString>

#include <functional>

class QSqlDatabase;
struct sqlite3;
class QSqlQuery;

// The one connection to the materials. By default Data.QBD in the program folder, opened for one
// operation and closed after it whatever happened. When Base.ini names a PostgreSQL server, the
// connection to it stays open (opening costs milliseconds, and only an open connection hears of
// other copies' changes); an operation that finds it lost fails, and the next one connects again.
// Operations that report on the main window's status line and progress bar do so through its
// two signals.
class Database : public QObject
{
    Q_OBJECT
public:
    // The store that Base.ini of the program folder names; Data.QBD without it.
    explicit Database(QObject *parent = nullptr);
    ~Database() override;

    // The database in use; nullptr before it is created.
    static Database *current();

    // The server is the store, reachable or not.
    bool isServer() const { return m_server; }
    const BaseSettings &settings() const { return m_settings; }
    SqlDialect dialect() const { return SqlDialect(m_server ? SqlDialect::Postgres : SqlDialect::Sqlite); }
    // Connects to the server now and prepares its tables; what the start asks before it reads the
    // tree from there. Nothing to do for Data.QBD.
    bool connectServer(QString *error);
    // Data.QBD of the program folder from now on, whatever Base.ini says: the way on when the
    // server cannot be used.
    void useLocalBase();

    // Points the connection at Data.QBD of the program folder; takes effect at the next open.
    void pointAtProgramFolder();
    QString databasePath() const { return m_databasePath; }

    // Runs one statement that returns no rows; *rowsAffected, when given, gets how many it changed.
    bool execute(const QString &sql, QString *error, int *rowsAffected = nullptr);
    // Runs one statement in a transaction that is committed only when keep(), called after the
    // statement succeeded, agrees; otherwise nothing changes (and *error stays as it was).
    bool executeKeptIf(const QString &sql, const std::function<bool()> &keep, QString *error);
    // Runs work in one transaction, committed only when work returns true. The operations it runs
    // meanwhile, and a transaction begun inside it, take part in this one.
    bool transact(const std::function<bool(QString *error)> &work, QString *error);
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
    // A batch or other long work holds the connection.
    bool isBusy() const { return m_batchRunning; }

    void reportStatus(const QString &text) { emit statusReported(text); }
    void reportProgress(int value) { emit progressReported(value); }

signals:
    void statusReported(const QString &text);
    void progressReported(int value);
    // Another copy changed the shared base: "tree" or "materials"; or the connection came back
    // after it was lost, and anything may have changed meanwhile ("reconnected").
    void changedElsewhere(const QString &what);

private:
    bool run(const QString &sql, const std::function<void(QSqlQuery &query)> &onSuccess, QString *error);
    // True when a batch holds the connection open.
    bool refuseWhileBatchRuns(QString *error) const;
    // Opens the connection for one operation (inside a transaction it is open already); release
    // closes Data.QBD again, and the server's connection when a failure found it lost.
    bool acquire(QSqlDatabase &db, QString *error);
    void release(QSqlDatabase &db, bool failed);
    void addConnection();
    void receiveNotification(const QString &name, QSqlDriver::NotificationSource source,
                             const QVariant &payload);

    BaseSettings m_settings;
    bool m_server = false;
    QString m_databasePath;
    bool m_batchRunning = false;
    int m_transactionDepth = 0;
    bool m_connectedBefore = false;
};
