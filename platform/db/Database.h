#pragma once
// The company database engine: our stand-in for the desktop engine the
// programs were designed around, built on the SQLCipher C API.
//
// What it keeps from that engine, because the screens rely on it:
//  - text compares and unique keys ignore letter case (columns are NOCASE);
//  - execute() skips rows that would break a unique index (or a column rule)
//    and reports no error; executeStrict() raises instead;
//  - LIKE patterns use * and ? as wildcards (jetLike);
//  - errors carry the engine's numbers (DbError.h);
//  - the database password is the file's encryption key.
// Every value goes in as a bound parameter; no caller pastes text into SQL.
//
// Threading: a Database and everything opened from it belong to the thread
// that opened it. Two processes may use one file at the same time (busy
// timeout; the WAL journal on a local disk, the rollback journal on a
// network file system: FileSystem.h).

#include "DbError.h"
#include "Recordset.h"
#include "Value.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace plax::db {

class Query;

class Database {
public:
    // Opens an existing file; never creates one. `connect` is ";pwd=" followed
    // by the password ("" or ";pwd=" for none).
    static std::unique_ptr<Database> open(const QString& path, bool exclusive = false, bool readOnly = false,
                                          const QString& connect = QString());
    // Creates a new, empty database file (plain when password is empty).
    // Fails with InUse when the file exists already.
    static std::unique_ptr<Database> create(const QString& path, const QString& password = QString());

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    bool isOpen() const { return db_ != nullptr; }
    bool isExclusive() const { return exclusive_; }
    void close();

    // How long a statement waits for another connection's lock before it
    // fails with Locked (3218): 5000 ms unless set otherwise.
    void setBusyTimeout(int ms);
    int busyTimeout() const { return busyTimeoutMs_; }

    // Action statement with the engine's silent rules: an INSERT or UPDATE
    // skips the rows that would break a unique index or a column rule.
    // Returns the number of rows written.
    int execute(const QString& sql, const Params& params = {});
    // Action statement that raises on any failure, constraint ones included.
    int executeStrict(const QString& sql, const Params& params = {});
    // Several statements without parameters (schema scripts).
    void executeScript(const QString& sql);

    // A read-only snapshot of the rows of a SELECT.
    Recordset openRecordset(const QString& sql, const Params& params = {});
    // An updatable view of the rows of one table: AddNew/Edit/Update/Delete
    // write through at once. `where` and `orderBy` are SQL fragments written
    // by the program (values go in `params`).
    Recordset openDynaset(const QString& table, const QString& where = QString(), const Params& params = {},
                          const QString& orderBy = QString());

    // A statement prepared once and run many times with new parameters.
    Query prepare(const QString& sql);

    // Sets, changes or clears the database password. The database must be
    // open exclusively with the old password. Plain <-> protected included.
    void newPassword(const QString& oldPassword, const QString& newPassword);
    // Lets the engine finish background work (a checkpoint of the journal).
    void idle();

    // A table or view of the file, or a temporary one of this connection.
    bool tableExists(const QString& name);
    // The table's column names in order; with `declaredTypes`, the type each
    // was declared with ("TEXT", "INTEGER", "" ...).
    QStringList columns(const QString& table, QStringList* declaredTypes = nullptr);
    int changes() const;
    qint64 lastInsertRowId() const;
    bool inTransaction() const;

    // A write transaction: begun at construction (IMMEDIATE, so it waits for
    // other writers within the busy timeout), rolled back unless committed.
    class Transaction {
    public:
        explicit Transaction(Database& db);
        ~Transaction();
        void commit();

    private:
        Database& db_;
        bool open_ = false;
        bool nested_ = false;
    };

    // For the length of a run of work that the program can always do again
    // (the hours engine: a commit that a power cut undoes takes its cleared
    // flags with it, and the next run rebuilds the same rows): in WAL mode
    // its commits are not flushed to disk one by one. They stay atomic; the
    // next flushed commit or checkpoint keeps them all. Without WAL (a file
    // on a network drive) nothing changes.
    class RedoableWork {
    public:
        explicit RedoableWork(Database& db);
        ~RedoableWork();
        RedoableWork(const RedoableWork&) = delete;
        RedoableWork& operator=(const RedoableWork&) = delete;

    private:
        Database& db_;
        qint64 synchronous_ = -1; // the setting to restore; -1: none changed
    };

    sqlite3* handle() const { return db_; }
    // Raises the DbError for the connection's last failure.
    [[noreturn]] void raise(int rc, const QString& sql = QString()) const;

private:
    Database() = default;
    void configure(bool readOnly);
    int run(const QString& sql, const Params& params);

    sqlite3* db_ = nullptr;
    QString path_;
    QString password_;
    bool exclusive_ = false;
    bool readOnly_ = false;
    int busyTimeoutMs_ = 5000;
};

// Binds `params` (1-based) to a prepared statement.
void bindAll(Database& db, sqlite3_stmt* st, const Params& params);
// The value of column `i` of the current row.
Value columnValue(sqlite3_stmt* st, int i);

// Parses ";pwd=secret" (case of "pwd" ignored) into the password.
QString passwordFromConnect(const QString& connect);

// A prepared statement kept for reuse (the parameter queries of the engine).
class Query {
public:
    Query(Query&&) noexcept;
    Query& operator=(Query&&) noexcept;
    ~Query();

    // Runs an action statement; returns rows written (execute() rules: rows that
    // would break a unique index are skipped when the statement is an INSERT
    // or UPDATE prepared through Database::prepare).
    int execute(const Params& params = {});
    Recordset openRecordset(const Params& params = {});
    // Runs a SELECT and hands each row to `onRow` as it is read; nothing is
    // kept, so a large result costs no more memory than one row.
    void forEachRow(const Params& params, const std::function<void(const std::vector<Value>& row)>& onRow);
    // First column of the first row, or Null.
    Value scalar(const Params& params = {});
    // Whether the statement gives any row (only the first is read).
    bool hasRows(const Params& params = {});
    // The names of the statement's columns, as a Recordset's fieldNames().
    QStringList columnNames() const;

private:
    friend class Database;
    Query(Database& db, sqlite3_stmt* st, QString sql) : db_(&db), st_(st), sql_(std::move(sql)) {}
    Database* db_;
    sqlite3_stmt* st_;
    QString sql_;
};

// SQL helpers that hide this engine's dialect from the screens.
namespace sql {
// "INSERT INTO" -> "INSERT OR IGNORE INTO", "UPDATE" -> "UPDATE OR IGNORE".
QString silentForm(const QString& statement);
// A LIKE pattern from one with * and ? wildcards; use with likeClause().
QString jetLike(const QString& pattern);
// "column LIKE ? ESCAPE '\'".
QString likeClause(const QString& column);
// A table or column name as a quoted identifier ("[Time Attendance]" or
// "Time Attendance" -> "\"Time Attendance\"").
QString quoteIdent(QString name);
// The key under which a text column takes a text: A to Z made lower case,
// every other character as it is (two texts are equal to the column
// exactly when their keys are).
QString nocaseKey(QStringView text);
// n parameter marks for a VALUES list: "?, ?, ?".
QString placeholders(int n);
// "INDEXED BY index" when the file has that index, else "": the statement
// then uses the index whatever the file's statistics say (a company file is
// never analysed, and the engine's guesses without statistics can pick an
// index that walks a table's whole history).
QString indexedBy(Database& db, const QString& index);
// Year of an ISO date column as a number.
QString yearOf(const QString& column);
// Whole days from one ISO date column (or expression) to another.
QString daysBetween(const QString& fromColumn, const QString& toColumn);
} // namespace sql

} // namespace plax::db
