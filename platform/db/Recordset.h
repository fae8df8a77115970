#pragma once
// Rows of a query held in memory, with a current position. A snapshot is
// read-only; a dynaset (Database::openDynaset) writes each change through
// to its table at once.

#include "Value.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace plax::db {

class Database;

class Recordset {
public:
    Recordset() = default;

    bool eof() const { return pos_ >= int(rows_.size()) || rows_.empty(); }
    bool bof() const { return pos_ < 0 || rows_.empty(); }
    int recordCount() const { return int(rows_.size()); }
    int absolutePosition() const { return pos_; }

    void moveFirst() { pos_ = 0; }
    void moveNext();
    void movePrevious();
    void moveLast() { pos_ = int(rows_.size()) - 1; }
    void move(int absolute) { pos_ = absolute; }

    int fieldCount() const { return int(names_.size()); }
    const QStringList& fieldNames() const { return names_; }
    // Fields by name, letter case ignored. Unknown names raise ItemNotFound;
    // reading with no current record raises NoCurrentRecord.
    Value field(const QString& name) const;
    Value field(int index) const;
    Value operator[](const QString& name) const { return field(name); }
    bool hasField(const QString& name) const { return indexOf(name) >= 0; }

    // Moves to the first row whose `fieldName` equals `value` (text ignores
    // case). Returns false and leaves the position when nothing matches.
    bool findFirst(const QString& fieldName, const Value& value);
    bool noMatch() const { return noMatch_; }

    // Dynaset editing.
    bool updatable() const { return db_ != nullptr; }
    void addNew();
    void edit();
    void setField(const QString& name, const Value& value);
    void update();
    void cancelUpdate();
    void deleteCurrent();
    void requery();
    // Row id of the row last added or changed; moveToRowId goes back to it.
    qint64 lastModified() const { return lastModified_; }
    bool moveToRowId(qint64 rowid);
    qint64 rowId() const;

private:
    friend class Database;
    friend class Query;
    int indexOf(const QString& name) const;
    void requireCurrent() const;

    QStringList names_;
    std::vector<std::vector<Value>> rows_;
    int pos_ = 0;
    bool noMatch_ = false;

    // Dynaset state.
    Database* db_ = nullptr;
    QString table_, where_, orderBy_;
    Params params_;
    std::vector<qint64> rowids_;
    enum class EditMode { None, Edit, Add } mode_ = EditMode::None;
    std::vector<Value> buffer_;
    std::vector<bool> dirty_;
    qint64 lastModified_ = 0;
};

} // namespace plax::db
