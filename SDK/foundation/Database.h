#pragma once
// The only way to the catalogue database. Two dialects: Access2000 is an
// SQLite file (QSQLITE), SqlServer a PostgreSQL server (QPSQL; the host may
// carry ":port"). A Database keeps one open connection and reuses it; each
// statement still runs on its own, in its own transaction when asked, unless
// a batch (BatchScope) is open, which it then joins. Nothing here throws:
// failures are captured on the Errors stack, reported through Messages and
// the empty value is returned.
//
// Every Database becomes the current database when created (the last one
// created wins); Database::current() creates one on demand. Use objects on
// the thread that created them.

#include "foundation/Enums.h"
#include "foundation/Records.h"
#include "foundation/Recordset.h"

#include <QSqlDatabase>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

namespace QuorvaneSDK {

class Database_Local;
class PreparedStatement;

class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The current database: the newest living object, or one the SDK
    // creates (and keeps) when none lives.
    static Database& current();
    static bool hasCurrent();

    // --- settings (stored as given) ---
    void set_DBDefaultAccessPath(const QString& value);
    void set_DBDefaultSqlServerPath(const QString& value);
    void set_DBDefaultAccessUserName(const QString& value);
    void set_DBDefaultSqlServerDatabaseName(const QString& value);
    void set_DBDefaultSqlServerUserName(const QString& value);
    void set_DBDefaultAccessPassword(const QString& value);
    void set_DBDefaultSqlServerPassword(const QString& value);
    void set_DBDefaultSqlServerInitialCatalog(const QString& value);
    void set_TestConnectionSqlString(const QString& value);
    QString get_DBDefaultSqlServerDatabaseName() const;
    QString get_DBDefaultSqlServerInitialCatalog() const;
    QString get_TestConnectionSqlString() const;
    // An empty (trimmed) name stores "SDK".
    void set_CLassName(const QString& value);
    QString get_ClassName() const;
    // The SQL debug log: <PathToLog>/QuorvaneSDK.debug.log.
    void set_LogSql(bool value, const QString& PathToLog);
    bool get_LogSql() const;

    // 99 = the current dialect; another value than 0 or 1 gives "".
    QString get_defaultDBHostPath(SqlSyntax DBType = SqlSyntax::nondefinito) const;
    QString get_defaultDBPassword(SqlSyntax DBType = SqlSyntax::nondefinito) const;
    QString get_defaultDBUsername(SqlSyntax DBType = SqlSyntax::nondefinito) const;
    QString get_defaultDBName(SqlSyntax DBType = SqlSyntax::nondefinito) const;

    void set_DBPassword(const QString& NewValue);
    QString get_DBPassword() const;
    // Empty: the default user of the current dialect.
    void set_DBUserName(const QString& NewValue);
    QString get_DBUserName() const;
    // Stored trimmed, only when not blank.
    void set_HostPath(const QString& NewValue);
    void set_DBName(const QString& NewValue);
    // The host path (SQLite: file path; PostgreSQL: host[:port]), or the
    // default of the current dialect.
    QString get_DBHostPath() const;
    QString get_DBName() const;

    SqlSyntax get_DBPredefinito() const;
    void set_DBPredefinito(SqlSyntax value);
    QString get_DBPredefinitoEsteso() const;

    QString get_ConnectionString(bool HidePassword = false) const;
    QString get_DefaultActiveConnection() const;

    // --- statements and queries ---
    // Runs one statement. Returns an empty ErrorObject (Number 0) on
    // success, the captured error otherwise (also when no connection could
    // be opened). Inside a batch the statement joins the batch's
    // transaction and, if it fails, is undone alone.
    ErrorObject execute_Sql(const QString& SqlString, const QString& RoutineCaller,
                            bool UseTransaction = true, qint16 CommandTimeout = 60);
    // Runs a query and returns a disconnected copy of its rows; nullopt
    // when the connection could not be opened or the query failed.
    // AvoidShowingErrorMessages only turns the instance line of the report off.
    std::optional<Recordset> get_Recordset(const QString& SqlString, const QString& RoutineCaller,
                                           bool AvoidShowingErrorMessages = false);
    // An empty recordset when the connection can be opened, else nullopt.
    std::optional<Recordset> get_EmptyRecordSet(bool AvoidShowingErrorMessages = false);
    // Whether the query runs without error (nothing reported).
    bool IsDatabaseReadyFor(const QString& SqlString);
    // Whether the current catalogue can be reached and answers the test
    // query. A missing SQLite file raises one Warning message and no
    // connection is attempted.
    bool test_Connection();

    // A reusable prepared statement with '?' placeholders. keyColumn: the
    // key of an inserted row is returned by exec() (RETURNING on
    // PostgreSQL, the row id on SQLite). Values bound are passed as
    // parameters: never quote them with CorreggiApice.
    PreparedStatement prepare(const QString& sql, const QString& RoutineCaller,
                              const QString& keyColumn = QString());

    // --- batches (see BatchScope) ---
    // Opens a batch, or a nested one (a savepoint). False when the
    // transaction could not begin (reported).
    bool beginBatch();
    // Commits the innermost batch (the outermost one commits the
    // transaction). False when the commit failed (the batch is then rolled back).
    bool commitBatch();
    // Rolls the innermost batch back and tells the rollback listeners.
    void rollbackBatch();
    int batchDepth() const;
    bool inBatch() const { return batchDepth() > 0; }
    // Called after any batch rollback, so caches of keys can be dropped.
    int addRollbackListener(std::function<void()> listener);
    void removeRollbackListener(int id);

    // Compacts the catalogue. SQLite: VACUUM INTO a file beside it, then an
    // atomic rename; the previous file is kept as <path>.bak and the
    // original stays in place when anything fails. PostgreSQL: VACUUM
    // (FULL, ANALYZE). True on success.
    bool CompactRepairDatabase();

    // Closes the kept connection (it reopens on the next statement).
    void closeConnection();

    // Creates an empty SQLite catalogue file (and its folder) on purpose;
    // false when it exists already or cannot be created (reported).
    static bool createCatalogueFile(const QString& path);

    // --- dialect helpers ---
    static QString get_FormatoNumerico(double Valore, SqlSyntax TipoDB);
    static double convert_Number(const QString& Number);
    static QString FormattaDataSQLSyntax(const Date& DataDaFormattare, SqlSyntax DatabaseType,
                                         bool SoloTime = false);
    static QString lookUp_DataBaseName(SqlSyntax value);
    static SqlSyntax lookUp_DataBaseName_Rev(const QString& value);
    // These four answer for the current database's dialect.
    static QString convert_BooleanToDataBase(bool value);
    static QString get_DataBaseStatementTranslation_Date();
    static QString get_DataBaseStatementTranslation_Day();
    static QString get_DataBaseStatementTranslation_Second();
    static QString get_DataBaseStatementTranslation_SeparatoreOra();
    static QString HidePassword(const QString& Password);
    // Lets pending events run for the given time (no sleeping when idle
    // events run out: the loop waits at most a few ms per round).
    static void WaitAndDoEventsMill(int MillSecondsToWait = 250);
    static QString CorreggiApice(const QString& StringaDaCorreggere);
    static Date get_NullDate() { return Date(); }
    // Removes NUL characters, which PostgreSQL text cannot hold.
    static QString removeNul(const QString& text);

    static constexpr int get_RecordsetOptions() { return 1; }
    static constexpr int get_RecordsetCursorType() { return 2; }
    static constexpr int get_RecordsetCursorLocation() { return 3; }
    static constexpr int get_RecordsetLockType() { return 3; }

    // PostgreSQL SQLSTATE codes become stable error numbers (base 36 of
    // the five characters); this gives the code back.
    static qint32 sqlStateToNumber(const QString& sqlState);
    static QString numberToSqlState(qint32 number);

    Database_Local& local();

private:
    friend class PreparedStatement;
    friend class Database_Local;
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace QuorvaneSDK
