#include "Database.h"
#include "Recordset.h"

#include <sqlite3.h>

namespace plax::db {
namespace {
using sql::quoteIdent;

bool sameValue(const Value& a, const Value& b) {
    if (a.type() == Value::Type::Text || b.type() == Value::Type::Text)
        return !a.isNull() && !b.isNull() && a.toString().compare(b.toString(), Qt::CaseInsensitive) == 0;
    if (a.isNull() || b.isNull())
        return false;
    return a.toDouble() == b.toDouble();
}
} // namespace

// ---- Query -------------------------------------------------------------------

Query::Query(Query&& o) noexcept : db_(o.db_), st_(o.st_), sql_(std::move(o.sql_)) { o.st_ = nullptr; }

Query& Query::operator=(Query&& o) noexcept {
    if (this != &o) {
        sqlite3_finalize(st_);
        db_ = o.db_;
        st_ = o.st_;
        sql_ = std::move(o.sql_);
        o.st_ = nullptr;
    }
    return *this;
}

Query::~Query() { sqlite3_finalize(st_); }

int Query::execute(const Params& params) {
    bindAll(*db_, st_, params);
    int rc;
    while ((rc = sqlite3_step(st_)) == SQLITE_ROW) {
    }
    sqlite3_reset(st_);
    if (rc != SQLITE_DONE)
        db_->raise(rc, sql_);
    return db_->changes();
}

QStringList Query::columnNames() const {
    QStringList names;
    const int n = sqlite3_column_count(st_);
    for (int i = 0; i < n; ++i)
        names << QString::fromUtf8(sqlite3_column_name(st_, i));
    return names;
}

Recordset Query::openRecordset(const Params& params) {
    bindAll(*db_, st_, params);
    Recordset rs;
    rs.names_ = columnNames();
    const int n = int(rs.names_.size());
    int rc;
    while ((rc = sqlite3_step(st_)) == SQLITE_ROW) {
        std::vector<Value> row;
        row.reserve(size_t(n));
        for (int i = 0; i < n; ++i)
            row.push_back(columnValue(st_, i));
        rs.rows_.push_back(std::move(row));
    }
    sqlite3_reset(st_);
    if (rc != SQLITE_DONE)
        db_->raise(rc, sql_);
    return rs;
}

void Query::forEachRow(const Params& params, const std::function<void(const std::vector<Value>&)>& onRow) {
    bindAll(*db_, st_, params);
    // The statement is reset however the loop ends (a throwing onRow included).
    struct Reset {
        sqlite3_stmt* st;
        ~Reset() { sqlite3_reset(st); }
    } reset{st_};
    const int n = sqlite3_column_count(st_);
    std::vector<Value> row(static_cast<size_t>(n));
    int rc;
    while ((rc = sqlite3_step(st_)) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i)
            row[size_t(i)] = columnValue(st_, i);
        onRow(row);
    }
    if (rc != SQLITE_DONE)
        db_->raise(rc, sql_);
}

bool Query::hasRows(const Params& params) {
    bindAll(*db_, st_, params);
    const int rc = sqlite3_step(st_);
    sqlite3_reset(st_);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        db_->raise(rc, sql_);
    return rc == SQLITE_ROW;
}

Value Query::scalar(const Params& params) {
    bindAll(*db_, st_, params);
    Value v;
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW)
        v = columnValue(st_, 0);
    sqlite3_reset(st_);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        db_->raise(rc, sql_);
    return v;
}

// ---- Recordset ---------------------------------------------------------------

void Recordset::moveNext() {
    if (pos_ < int(rows_.size()))
        ++pos_;
}

void Recordset::movePrevious() {
    if (pos_ >= 0)
        --pos_;
}

int Recordset::indexOf(const QString& name) const {
    QString n = name;
    if (n.startsWith(QLatin1Char('[')) && n.endsWith(QLatin1Char(']')))
        n = n.mid(1, n.size() - 2);
    for (int i = 0; i < names_.size(); ++i)
        if (names_[i].compare(n, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void Recordset::requireCurrent() const {
    if (eof() || bof())
        throw DbError(err::NoCurrentRecord, QStringLiteral("No current record."));
}

Value Recordset::field(int index) const {
    if (index < 0 || index >= names_.size())
        throw DbError(err::ItemNotFound, QStringLiteral("Item not found in this collection."));
    if (mode_ != EditMode::None)
        return buffer_[size_t(index)];
    requireCurrent();
    return rows_[size_t(pos_)][size_t(index)];
}

Value Recordset::field(const QString& name) const {
    const int i = indexOf(name);
    if (i < 0)
        throw DbError(err::ItemNotFound, QStringLiteral("Item not found in this collection: '%1'.").arg(name));
    return field(i);
}

bool Recordset::findFirst(const QString& fieldName, const Value& value) {
    const int i = indexOf(fieldName);
    if (i < 0)
        throw DbError(err::ItemNotFound, QStringLiteral("Item not found in this collection: '%1'.").arg(fieldName));
    for (int r = 0; r < int(rows_.size()); ++r) {
        if (sameValue(rows_[size_t(r)][size_t(i)], value)) {
            pos_ = r;
            noMatch_ = false;
            return true;
        }
    }
    noMatch_ = true;
    return false;
}

qint64 Recordset::rowId() const {
    requireCurrent();
    return rowids_.empty() ? 0 : rowids_[size_t(pos_)];
}

bool Recordset::moveToRowId(qint64 rowid) {
    for (size_t r = 0; r < rowids_.size(); ++r) {
        if (rowids_[r] == rowid) {
            pos_ = int(r);
            return true;
        }
    }
    return false;
}

void Recordset::addNew() {
    if (!db_)
        throw DbError(err::NoPermission, QStringLiteral("Cannot update. Database or object is read-only."));
    mode_ = EditMode::Add;
    buffer_.assign(size_t(names_.size()), Value());
    dirty_.assign(size_t(names_.size()), false);
}

void Recordset::edit() {
    if (!db_)
        throw DbError(err::NoPermission, QStringLiteral("Cannot update. Database or object is read-only."));
    requireCurrent();
    mode_ = EditMode::Edit;
    buffer_ = rows_[size_t(pos_)];
    dirty_.assign(size_t(names_.size()), false);
}

void Recordset::setField(const QString& name, const Value& value) {
    if (mode_ == EditMode::None)
        throw DbError(err::UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const int i = indexOf(name);
    if (i < 0)
        throw DbError(err::ItemNotFound, QStringLiteral("Item not found in this collection: '%1'.").arg(name));
    buffer_[size_t(i)] = value;
    dirty_[size_t(i)] = true;
}

void Recordset::cancelUpdate() {
    mode_ = EditMode::None;
    buffer_.clear();
    dirty_.clear();
}

void Recordset::update() {
    if (mode_ == EditMode::None)
        throw DbError(err::UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    QStringList cols;
    Params values;
    for (int i = 0; i < names_.size(); ++i) {
        if (dirty_[size_t(i)]) {
            cols << quoteIdent(names_[i]);
            values.push_back(buffer_[size_t(i)]);
        }
    }
    if (mode_ == EditMode::Add) {
        QString text;
        if (cols.isEmpty()) {
            text = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdent(table_));
        } else {
            text = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(quoteIdent(table_), cols.join(QLatin1Char(',')), sql::placeholders(int(cols.size())));
        }
        db_->executeStrict(text, values);
        lastModified_ = db_->lastInsertRowId();
        // Read the stored row back (defaults filled in) and append it.
        Recordset stored = db_->openRecordset(
            QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(quoteIdent(table_)), {lastModified_});
        rows_.push_back(stored.rows_.empty() ? buffer_ : stored.rows_.front());
        rowids_.push_back(lastModified_);
    } else {
        if (!cols.isEmpty()) {
            QStringList sets;
            for (const QString& c : cols)
                sets << c + QStringLiteral(" = ?");
            values.push_back(rowids_[size_t(pos_)]);
            db_->executeStrict(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                   .arg(quoteIdent(table_), sets.join(QLatin1Char(','))),
                               values);
        }
        lastModified_ = rowids_[size_t(pos_)];
        rows_[size_t(pos_)] = buffer_;
    }
    cancelUpdate();
}

void Recordset::deleteCurrent() {
    if (!db_)
        throw DbError(err::NoPermission, QStringLiteral("Cannot update. Database or object is read-only."));
    requireCurrent();
    db_->executeStrict(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteIdent(table_)),
                       {rowids_[size_t(pos_)]});
    rows_.erase(rows_.begin() + pos_);
    rowids_.erase(rowids_.begin() + pos_);
}

void Recordset::requery() {
    if (!db_)
        return;
    *this = db_->openDynaset(table_, where_, params_, orderBy_);
}

} // namespace plax::db
