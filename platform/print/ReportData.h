#pragma once
// The records of a report: the rows of its tables, joined as the definition
// says, read from the company database; its named formulas bound to them;
// selection and sorting. All SQL text here is made of table and field names
// taken from the definition (checked against the database); no value is
// ever pasted into it.

#include "Formula.h"
#include "ReportDefinition.h"

#include <QHash>
#include <map>
#include <vector>

namespace plax::db {
class Database;
class Value;
}

namespace plax::print {

using Row = std::vector<FValue>;

struct DataSet {
    std::vector<FieldName> columns;
    std::vector<Row> rows;
    // Index of a column, letter case ignored; -1 when the report has no such field.
    int indexOf(const QString& table, const QString& field) const;
};

// A field value as read from the database: ISO dates and "HH:MM" times
// become dates and times, numbers numbers, the rest text.
FValue fromDatabase(const db::Value& v);

// Reads every row of the tables of `body`. Unknown tables or fields raise
// DefinitionError (line of the definition); database failures db::DbError.
DataSet readTables(db::Database& db, const ReportBody& body);

// The named formulas of a report, bound to its columns. A formula may use
// fields and other formulas; a formula that refers to itself (directly or
// not) gives a TypeError instead of looping.
class FormulaSet {
public:
    // Texts by name; definitions first, then the job's replacements.
    void define(const QString& name, const QString& text);
    bool has(const QString& name) const;
    int indexOf(const QString& name) const;
    const QString& text(int i) const { return texts_[size_t(i)]; }
    const QString& name(int i) const { return names_[size_t(i)]; }
    int size() const { return int(names_.size()); }

    // Parses and binds every formula; throws FormulaError (naming the formula).
    void bind(const DataSet& data);
    // Binds another formula (selection, column condition) to the same names.
    void bindOther(Formula& f, const DataSet& data) const;

    FValue value(int i, const Row* row) const;
    EvalContext context(const Row* row) const;

private:
    std::vector<QString> names_, texts_;
    std::vector<Formula> formulas_;
    mutable std::vector<int> active_;
};

struct SortKey {
    int column;
    bool ascending;
};

// Keeps the rows for which `selection` is True (TypeError on a bad value).
void selectRows(DataSet& data, const Formula& selection, const FormulaSet& formulas);
// Stable sort by the keys in order.
void sortRows(DataSet& data, const std::vector<SortKey>& keys);

} // namespace plax::print
