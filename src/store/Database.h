#pragma once

#include "store/BaseSettings.h"
#include "store/SqlDialect.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSqlDatabase;
class QSqlQuery;
class ServerLink;
struct ServerJob;
struct sqlite3;

// The one connection to the materials. By default Data.QBD in the program folder, opened for one
// operation and closed after it whatever happened. When Base.ini names a PostgreSQL server, the
// connection to it stays open (opening costs milliseconds, and only an open connection hears of
// other copies' changes), in a thread of its own (ServerLink): a statement waits for the server
// at most 10 s, the window painting meanwhile; one that finds the connection lost fails, saying
// that the server cannot be reached, and the connection is made again as soon as it answers.
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
    // beforeCommit, when given, runs last inside the transaction (the operations it runs take
    // part in it); its false rolls everything back.
    BatchOutcome executeBatch(const std::function<bool(QString *sql)> &next,
                              const std::function<bool(int steps)> &proceed, QString *error,
                              const std::function<bool(QString *error)> &beforeCommit = {});

    // What an operation says when another program held the database past the busy time-out.
    static inline const QString BusyText = QStringLiteral("数据库正被其他程序占用，请稍后再试");

    // Runs work on the open connection of Data.QBD, with SQLite's own handle of it, and closes it
    // after. Like a batch, the work may process events, and other operations are refused
    // meanwhile. A shared base's connection lives in another thread: refused there.
    bool runOnConnection(const std::function<bool(QSqlDatabase &db, sqlite3 *handle, QString *error)> &work,
                         QString *error);
    // A batch or other long work holds the connection, or an operation waits for the server.
    bool isBusy() const;

    void reportStatus(const QString &text) { emit statusReported(text); }
    void reportProgress(int value) { emit progressReported(value); }

signals:
    void statusReported(const QString &text);
    void progressReported(int value);
    // Another copy changed the shared base: "tree" or "materials"; or the connection came back
    // after it was lost, and anything may have changed meanwhile ("reconnected").
    void changedElsewhere(const QString &what);
    // An operation has waited a while for the shared base: what to show meanwhile; an empty
    // text once the wait is over.
    void waitingForServer(const QString &text);

private:
    bool run(const QString &sql, const std::function<void(QSqlQuery &query)> &onSuccess, QString *error,
             bool writes);
    // True, with the reason, while a batch holds the connection or a transaction waits for the server.
    bool refuseWhileBusy(QString *error) const;
    // Opens Data.QBD for one operation (inside a transaction it is open already); release closes it.
    bool acquire(QSqlDatabase &db, QString *error);
    void release(QSqlDatabase &db);
    void addConnection();
    // One step on the shared base's connection, part of the transaction that is open.
    bool runOnServer(const std::shared_ptr<ServerJob> &job, QString *error);
    bool transactOnServer(const std::function<bool(QString *error)> &work, QString *error);
    BatchOutcome executeBatchOnServer(const std::function<bool(QString *sql)> &next,
                                      const std::function<bool(int steps)> &proceed, QString *error,
                                      const std::function<bool(QString *error)> &beforeCommit);
    // Runs beforeCommit inside the batch's transaction, other operations taking part.
    bool finishBatch(const std::function<bool(QString *error)> &beforeCommit, QString *error);

    BaseSettings m_settings;
    bool m_server = false;
    QString m_databasePath;
    std::unique_ptr<ServerLink> m_link;
    bool m_batchRunning = false;
    int m_transactionDepth = 0;
};
