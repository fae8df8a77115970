#include "Database.h"
#include "FileSystem.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdint>
#include <cstdio>

namespace plax::db {
namespace {

constexpr int kExclusiveWaitMs = 1500;

QString duplicateText() {
    return QStringLiteral(
        "The changes you requested to the table were not successful because they would create duplicate "
        "values in the index, primary key, or relationship. Change the data in the field or fields that "
        "contain duplicate data, remove the index, or redefine the index to permit duplicate entries and "
        "try again.");
}

// Column rules in the schema are named by kind: size_X (too long), type_X
// (wrong type) and required_X (empty text); the kind picks the error.
DbError checkError(const QString& message) {
    static const QRegularExpression re(QStringLiteral("CHECK constraint failed: (\\w+)"));
    const auto m = re.match(message);
    const QString name = m.hasMatch() ? m.captured(1) : QString();
    const QString column = name.mid(name.indexOf(QLatin1Char('_')) + 1);
    if (name.startsWith(QLatin1String("size_")))
        return DbError(err::FieldTooSmall,
                       QStringLiteral("The field is too small to accept the amount of data you attempted to "
                                      "add. Try inserting or pasting less data."))
            .withColumn(column);
    if (name.startsWith(QLatin1String("type_")))
        return typeMismatch().withColumn(column);
    if (name.startsWith(QLatin1String("required_")))
        return DbError(err::ZeroLength, QStringLiteral("Field '%1' can't be a zero-length string.").arg(column))
            .withColumn(column);
    return DbError(err::General, message);
}

DbError makeError(sqlite3* db, int rc, const QString& sql, const QString& path) {
    const int ext = db ? sqlite3_extended_errcode(db) : rc;
    const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    switch (ext) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return DbError(err::DuplicateKey, duplicateText());
    case SQLITE_CONSTRAINT_NOTNULL:
        return DbError(err::NullKey, QStringLiteral("Index or primary key cannot contain a Null value."));
    case SQLITE_CONSTRAINT_CHECK:
        return checkError(msg);
    default:
        break;
    }
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DbError(err::Locked, QStringLiteral("Could not update; currently locked."));
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return DbError(err::Damaged, QStringLiteral("Cannot open database '%1'. It may not be a database that "
                                                    "your application recognizes, or the file may be corrupt.")
                                         .arg(path));
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
        return DbError(err::CannotStart,
                       QStringLiteral("The database engine cannot use the file '%1': %2").arg(path, msg));
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return DbError(err::NoPermission,
                       QStringLiteral("Cannot update. Database or object is read-only ('%1').").arg(path));
    default:
        break;
    }
    static const QRegularExpression noTable(QStringLiteral("no such table: (?:\\w+\\.)?(.+)$"));
    if (const auto m = noTable.match(msg); m.hasMatch())
        return DbError(err::NoSuchTable, QStringLiteral("The database engine cannot find the input table or query "
                                                        "'%1'. Make sure it exists and that its name is spelled "
                                                        "correctly.")
                                             .arg(m.captured(1)));
    static const QRegularExpression exists(QStringLiteral("table (.+) already exists"));
    if (const auto m = exists.match(msg); m.hasMatch()) {
        QString name = m.captured(1);
        name.remove(QLatin1Char('"'));
        return DbError(err::TableExists, QStringLiteral("Table '%1' already exists.").arg(name));
    }
    if ((rc & 0xff) == SQLITE_ERROR && !sql.isEmpty())
        return DbError(err::Syntax, QStringLiteral("%1 in statement: %2").arg(msg, sql.simplified()));
    return DbError(err::General, msg);
}

// Waits for another writer by trying again every millisecond, up to `ms`
// in all. The engine's own busy timeout backs off to 100 ms between tries,
// so a writer that releases the lock only briefly between its transactions
// (a long import) could keep a waiting one out for seconds.
int pollBusy(void* ms, int tries) {
    if (tries >= int(reinterpret_cast<std::intptr_t>(ms)))
        return 0;
    sqlite3_sleep(1);
    return 1;
}

void setBusyWait(sqlite3* db, int ms) {
    sqlite3_busy_handler(db, pollBusy, reinterpret_cast<void*>(std::intptr_t(ms)));
}

bool isPlainFile(const QString& path, qint64* size) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(err::NoPermission,
                      QStringLiteral("The database engine cannot open the file '%1'. It is already opened "
                                     "exclusively by another user, or you need permission to view its data.")
                          .arg(path));
    *size = f.size();
    const QByteArray header = f.read(16);
    return header == QByteArray("SQLite format 3\0", 16);
}

// Each connection is used by one thread at a time (every thread opens its
// own), so the engine needs no lock of its own around a connection, nor the
// global lock that keeps its memory statistics, which nothing here reads.
// Set once, before the engine's first use.
int openFlags(int flags) {
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)configured;
    return flags | SQLITE_OPEN_NOMUTEX;
}

void setKey(sqlite3* db, const QString& password) {
    const QByteArray k = password.toUtf8();
    sqlite3_key(db, k.constData(), k.size());
}

} // namespace

QString passwordFromConnect(const QString& connect) {
    for (const QString& part : connect.split(QLatin1Char(';'))) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq > 0 && part.left(eq).trimmed().compare(QLatin1String("pwd"), Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1);
    }
    return {};
}

void bindAll(Database& db, sqlite3_stmt* st, const Params& params) {
    sqlite3_reset(st); // every parameter is bound below, so none keeps an old value
    const int expected = sqlite3_bind_parameter_count(st);
    if (int(params.size()) != expected)
        throw DbError(err::General, QStringLiteral("The statement expects %1 parameter(s) but was given %2: %3")
                                        .arg(expected)
                                        .arg(params.size())
                                        .arg(QString::fromUtf8(sqlite3_sql(st))));
    for (int i = 0; i < int(params.size()); ++i) {
        const Value& v = params[size_t(i)];
        int rc = SQLITE_OK;
        switch (v.type()) {
        case Value::Type::Null:
            rc = sqlite3_bind_null(st, i + 1);
            break;
        case Value::Type::Integer:
            rc = sqlite3_bind_int64(st, i + 1, v.toInt());
            break;
        case Value::Type::Real:
            rc = sqlite3_bind_double(st, i + 1, v.toDouble());
            break;
        case Value::Type::Text: {
            // Most texts are short ASCII (IDs, dates, times): copied through a
            // buffer on the stack rather than converted on the heap.
            const QString text = v.toString();
            char ascii[64];
            qsizetype n = 0;
            if (text.size() <= qsizetype(sizeof ascii))
                for (; n < text.size() && text[n].unicode() < 0x80; ++n)
                    ascii[n] = char(text[n].unicode());
            if (n == text.size()) {
                rc = sqlite3_bind_text(st, i + 1, ascii, int(n), SQLITE_TRANSIENT);
            } else {
                const QByteArray t = text.toUtf8();
                rc = sqlite3_bind_text(st, i + 1, t.constData(), t.size(), SQLITE_TRANSIENT);
            }
            break;
        }
        }
        if (rc != SQLITE_OK)
            db.raise(rc);
    }
}

Value columnValue(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER:
        return Value(qint64(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(st, i));
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        return Value(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                       sqlite3_column_bytes(st, i)));
    default:
        return Value();
    }
}

// ---- opening and closing -------------------------------------------------

std::unique_ptr<Database> Database::open(const QString& path, bool exclusive, bool readOnly,
                                         const QString& connect) {
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.exists() || !fi.isFile())
        throw DbError(err::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    qint64 size = 0;
    const bool plain = isPlainFile(path, &size);
    if (size == 0)
        throw makeError(nullptr, SQLITE_NOTADB, {}, path);

    std::unique_ptr<Database> d(new Database);
    d->path_ = path;
    d->readOnly_ = readOnly;
    const int flags = openFlags(readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &d->db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        DbError e = makeError(d->db_, rc, {}, path);
        d->close();
        throw e;
    }
    // The first read below may meet another connection holding the file for
    // a moment (an exclusive open, a journal being recovered): wait for it
    // as a write would instead of failing the open as "locked".
    setBusyWait(d->db_, d->busyTimeoutMs_);
    // A file without a password opens whatever password is given, as before.
    const QString password = passwordFromConnect(connect);
    if (!plain) {
        setKey(d->db_, password);
        d->password_ = password;
    }
    rc = sqlite3_exec(d->db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const bool wrongKey = (rc == SQLITE_NOTADB) && !plain && size % 512 == 0;
        DbError e = wrongKey ? DbError(err::InvalidPassword, QStringLiteral("Not a valid password."))
                             : makeError(d->db_, rc, {}, path);
        d->close();
        throw e;
    }
    d->configure(readOnly);
    if (exclusive) {
        setBusyWait(d->db_, kExclusiveWaitMs);
        sqlite3_exec(d->db_, "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr);
        rc = sqlite3_exec(d->db_, "BEGIN EXCLUSIVE; COMMIT;", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            d->close();
            throw DbError(err::InUse, QStringLiteral("Could not use '%1'; file already in use.").arg(path));
        }
        setBusyWait(d->db_, d->busyTimeoutMs_);
        d->exclusive_ = true;
    }
    return d;
}

std::unique_ptr<Database> Database::create(const QString& path, const QString& password) {
    if (QFileInfo::exists(path))
        throw DbError(err::InUse, QStringLiteral("Could not create '%1'; the file exists.").arg(path));
    std::unique_ptr<Database> d(new Database);
    d->path_ = path;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &d->db_,
                             openFlags(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), nullptr);
    if (rc != SQLITE_OK) {
        DbError e = makeError(d->db_, rc, {}, path);
        d->close();
        throw e;
    }
    if (!password.isEmpty()) {
        setKey(d->db_, password);
        d->password_ = password;
    }
    d->configure(false);
    return d;
}

void Database::configure(bool readOnly) {
    setBusyWait(db_, busyTimeoutMs_);
    if (!readOnly) {
        if (journalModeFor(fileSystemTypeOf(path_)) == JournalMode::Wal) {
            sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        } else {
            // Leaving WAL needs every other connection gone; one that still
            // holds the file in WAL (a program on the computer whose disk
            // holds it) would not see this computer's writes in time.
            QString mode;
            try {
                mode = prepare(QStringLiteral("PRAGMA journal_mode=DELETE")).scalar().toString();
            } catch (const DbError&) {
                mode = QStringLiteral("wal");
            }
            if (mode.compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
                throw DbError(err::InUse,
                              QStringLiteral("Could not use '%1'; file already in use. The file is on a network "
                                             "drive and a program on the computer that holds it has it open; "
                                             "that computer must open it through the network drive too.")
                                  .arg(path_));
        }
    }
    sqlite3_exec(db_, "PRAGMA foreign_keys=OFF", nullptr, nullptr, nullptr);
    // Room for the pages of a whole import and the hours engine run after
    // it (8 MB; the engine's default holds 2 MB): over a long history each
    // employee's rows and index entries are pages of their own, and with a
    // smaller cache the engine reads again the pages the import just wrote.
    sqlite3_exec(db_, "PRAGMA cache_size=-8192", nullptr, nullptr, nullptr);
}

Database::~Database() { close(); }

void Database::setBusyTimeout(int ms) {
    busyTimeoutMs_ = ms;
    if (db_)
        setBusyWait(db_, ms);
}

void Database::close() {
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

void Database::raise(int rc, const QString& sql) const { throw makeError(db_, rc, sql, path_); }

// ---- statements ------------------------------------------------------------

namespace sql {

QString silentForm(const QString& statement) {
    static const QRegularExpression insert(QStringLiteral("^\\s*INSERT\\s+INTO\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression update(QStringLiteral("^\\s*UPDATE\\s+(?!OR\\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    QString s = statement;
    if (insert.match(s).hasMatch())
        return s.replace(insert, QStringLiteral("INSERT OR IGNORE INTO"));
    if (const auto m = update.match(s); m.hasMatch())
        return s.replace(m.capturedStart(), m.capturedLength(), QStringLiteral("UPDATE OR IGNORE "));
    return s;
}

QString indexedBy(Database& db, const QString& index) {
    Query q = db.prepare(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = ?"));
    return q.scalar({index}).toInt() > 0 ? QStringLiteral("INDEXED BY ") + quoteIdent(index) : QString();
}

QString jetLike(const QString& pattern) {
    QString out;
    out.reserve(pattern.size());
    for (const QChar c : pattern) {
        if (c == QLatin1Char('*'))
            out += QLatin1Char('%');
        else if (c == QLatin1Char('?'))
            out += QLatin1Char('_');
        else if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else
            out += c;
    }
    return out;
}

QString likeClause(const QString& column) { return column + QStringLiteral(" LIKE ? ESCAPE '\\'"); }

QString quoteIdent(QString name) {
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    name.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString nocaseKey(QStringView text) {
    QString key = text.toString();
    for (QChar& c : key)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return key;
}

QString placeholders(int n) {
    QStringList marks;
    for (int i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

QString yearOf(const QString& column) { return QStringLiteral("CAST(substr(%1, 1, 4) AS INTEGER)").arg(column); }

QString daysBetween(const QString& fromColumn, const QString& toColumn) {
    return QStringLiteral("CAST(julianday(%2) - julianday(%1) AS INTEGER)").arg(fromColumn, toColumn);
}

} // namespace sql

int Database::run(const QString& sqlText, const Params& params) {
    if (!db_)
        throw DbError(err::General, QStringLiteral("The database is closed."));
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sqlText.toUtf8();
    int rc = sqlite3_prepare_v2(db_, text.constData(), text.size(), &st, nullptr);
    if (rc != SQLITE_OK)
        raise(rc, sqlText);
    try {
        bindAll(*this, st, params);
    } catch (...) {
        sqlite3_finalize(st);
        throw;
    }
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        raise(rc, sqlText);
    return sqlite3_changes(db_);
}

int Database::execute(const QString& sqlText, const Params& params) {
    return run(sql::silentForm(sqlText), params);
}

int Database::executeStrict(const QString& sqlText, const Params& params) { return run(sqlText, params); }

void Database::executeScript(const QString& sqlText) {
    if (!db_)
        throw DbError(err::General, QStringLiteral("The database is closed."));
    char* errmsg = nullptr;
    const int rc = sqlite3_exec(db_, sqlText.toUtf8().constData(), nullptr, nullptr, &errmsg);
    sqlite3_free(errmsg);
    if (rc != SQLITE_OK)
        raise(rc);
}

Recordset Database::openRecordset(const QString& sqlText, const Params& params) {
    Query q = prepare(sqlText);
    return q.openRecordset(params);
}

Recordset Database::openDynaset(const QString& table, const QString& where, const Params& params,
                                const QString& orderBy) {
    QString text = QStringLiteral("SELECT rowid AS \"__rowid\", * FROM ") + sql::quoteIdent(table);
    if (!where.isEmpty())
        text += QStringLiteral(" WHERE ") + where;
    if (!orderBy.isEmpty())
        text += QStringLiteral(" ORDER BY ") + orderBy;
    Recordset rs = openRecordset(text, params);
    rs.names_.removeFirst();
    rs.rowids_.reserve(rs.rows_.size());
    for (auto& row : rs.rows_) {
        rs.rowids_.push_back(row.front().toInt());
        row.erase(row.begin());
    }
    rs.db_ = this;
    rs.table_ = table;
    rs.where_ = where;
    rs.orderBy_ = orderBy;
    rs.params_ = params;
    return rs;
}

Query Database::prepare(const QString& sqlText) {
    if (!db_)
        throw DbError(err::General, QStringLiteral("The database is closed."));
    const QString text = sql::silentForm(sqlText);
    sqlite3_stmt* st = nullptr;
    const QByteArray utf8 = text.toUtf8();
    const int rc = sqlite3_prepare_v2(db_, utf8.constData(), utf8.size(), &st, nullptr);
    if (rc != SQLITE_OK)
        raise(rc, text);
    return Query(*this, st, text);
}

bool Database::tableExists(const QString& name) {
    // The connection's own temporary tables count too (the report work tables).
    Query q = prepare(QStringLiteral("SELECT count(*) FROM (SELECT type, name FROM sqlite_master UNION ALL "
                                     "SELECT type, name FROM sqlite_temp_master) "
                                     "WHERE type IN ('table','view') AND name = ? COLLATE NOCASE"));
    return q.scalar({name}).toInt() > 0;
}

QStringList Database::columns(const QString& table, QStringList* declaredTypes) {
    Recordset rs = openRecordset(QStringLiteral("PRAGMA table_info(%1)").arg(sql::quoteIdent(table)));
    QStringList out;
    if (declaredTypes)
        declaredTypes->clear();
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        out << rs.field(QStringLiteral("name")).toString();
        if (declaredTypes)
            *declaredTypes << rs.field(QStringLiteral("type")).toString();
    }
    return out;
}

int Database::changes() const { return db_ ? sqlite3_changes(db_) : 0; }
qint64 Database::lastInsertRowId() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }
bool Database::inTransaction() const { return db_ && sqlite3_get_autocommit(db_) == 0; }

void Database::idle() {
    if (db_ && !readOnly_ && !inTransaction())
        sqlite3_exec(db_, "PRAGMA wal_checkpoint(PASSIVE)", nullptr, nullptr, nullptr);
}

// ---- the database password -------------------------------------------------

void Database::newPassword(const QString& oldPassword, const QString& newPassword) {
    if (!db_)
        throw DbError(err::General, QStringLiteral("The database is closed."));
    if (!exclusive_)
        throw DbError(err::InUse, QStringLiteral("The password can be changed only on a database opened "
                                                 "exclusively ('%1').")
                                      .arg(path_));
    if (oldPassword != password_)
        throw DbError(err::InvalidPassword, QStringLiteral("Not a valid password."));
    if (oldPassword == newPassword)
        return;

    // Write a copy under the new key beside the file, then put it in place in
    // one rename, so a failure half way leaves the old file untouched.
    const QString tmp = path_ + QStringLiteral(".newkey");
    QFile::remove(tmp);
    {
        // The connection cannot create files; ATTACH takes an empty one.
        QFile empty(tmp);
        if (!empty.open(QIODevice::WriteOnly))
            throw DbError(err::NoPermission, QStringLiteral("Cannot write beside '%1'.").arg(path_));
    }
    const int userVersion = int(prepare(QStringLiteral("PRAGMA user_version")).scalar().toInt());
    executeScript(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    run(QStringLiteral("ATTACH DATABASE ? AS newkey KEY ?"), {tmp, newPassword});
    try {
        executeScript(QStringLiteral("SELECT sqlcipher_export('newkey'); PRAGMA newkey.user_version = %1;")
                          .arg(userVersion));
        executeScript(QStringLiteral("DETACH DATABASE newkey"));
    } catch (...) {
        sqlite3_exec(db_, "DETACH DATABASE newkey", nullptr, nullptr, nullptr);
        QFile::remove(tmp);
        throw;
    }
    close();
    QFile::remove(path_ + QStringLiteral("-wal"));
    QFile::remove(path_ + QStringLiteral("-shm"));
    if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path_).constData()) != 0) {
        QFile::remove(tmp);
        // Reopen on the unchanged file so the caller keeps a connection.
        std::unique_ptr<Database> again = open(path_, true, false, QStringLiteral(";pwd=") + oldPassword);
        std::swap(db_, again->db_);
        throw DbError(err::NoPermission, QStringLiteral("Could not replace '%1' with its re-keyed copy.").arg(path_));
    }
    std::unique_ptr<Database> reopened = open(path_, true, false, QStringLiteral(";pwd=") + newPassword);
    std::swap(db_, reopened->db_);
    password_ = newPassword;
    exclusive_ = true;
}

// ---- transactions ----------------------------------------------------------

Database::Transaction::Transaction(Database& db) : db_(db) {
    nested_ = db_.inTransaction();
    const int rc = sqlite3_exec(db_.db_, nested_ ? "SAVEPOINT plax_tx" : "BEGIN IMMEDIATE", nullptr, nullptr,
                                nullptr);
    if (rc != SQLITE_OK)
        db_.raise(rc);
    open_ = true;
}

void Database::Transaction::commit() {
    if (!open_)
        return;
    const int rc = sqlite3_exec(db_.db_, nested_ ? "RELEASE plax_tx" : "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        db_.raise(rc);
    open_ = false;
}

Database::Transaction::~Transaction() {
    if (open_ && db_.db_)
        sqlite3_exec(db_.db_, nested_ ? "ROLLBACK TO plax_tx; RELEASE plax_tx" : "ROLLBACK", nullptr, nullptr,
                     nullptr);
}

Database::RedoableWork::RedoableWork(Database& db) : db_(db) {
    if (db_.readOnly_ || !db_.db_ || db_.inTransaction())
        return;
    if (db_.prepare(QStringLiteral("PRAGMA journal_mode")).scalar().toString().compare(
            QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return;
    synchronous_ = db_.prepare(QStringLiteral("PRAGMA synchronous")).scalar().toInt();
    db_.executeScript(QStringLiteral("PRAGMA synchronous = NORMAL"));
}

Database::RedoableWork::~RedoableWork() {
    if (synchronous_ < 0 || !db_.db_)
        return;
    // A setting of the connection: nothing to fail short of a closed one.
    const QByteArray restore = "PRAGMA synchronous = " + QByteArray::number(synchronous_);
    sqlite3_exec(db_.db_, restore.constData(), nullptr, nullptr, nullptr);
}

} // namespace plax::db
