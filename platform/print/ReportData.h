#pragma once
// The records of a report: the rows of its tables, joined as the definition
// says, read from the company database; its named formulas bound to them;
// selection and sorting. The selection's terms that SQL can decide go into
// the query (SqlSelection.h); rows are converted as they are read and only
// the selected ones are kept. All SQL text here is made of table and field
// names taken from the definition (checked against the database) and the
// engine's own operators; every value is bound.

#include "Formula.h"
#include "ReportDefinition.h"
#include "SqlSelection.h"

#include "platform/db/Database.h"

#include <QHash>
#include <functional>
#include <map>
#include <optional>
#include <vector>

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

// The joined tables of a report body: their columns, and their rows read
// from the database when asked for. Unknown tables or fields raise
// DefinitionError (line of the definition); database failures db::DbError.
class TableSource : public SqlColumns {
public:
    TableSource(db::Database& db, const ReportBody& body);

    const std::vector<FieldName>& columns() const { return columns_; }
    // The columns without rows, to bind formulas to.
    DataSet emptySet() const;

    SqlColumn column(int index) override;
    FValue firstValue(int index) override;

    // Hands each row that meets `where` to `onRow` as it is read; returns
    // the number of rows read.
    int read(const SqlCondition& where, const std::function<void(Row&)>& onRow);

private:
    db::Query& statement(const QString& where);

    db::Database& db_;
    std::vector<FieldName> columns_;
    std::vector<SqlColumn> sql_;
    std::vector<QString> tableOf_; // quoted table of each column
    std::vector<std::optional<FValue>> first_;
    QString select_;
    std::map<QString, db::Query> statements_;
};

// The key of a record's link fields: equal keys are equal values (text
// compared as compareText does, numbers and dates by value).
QString linkKey(const Row& row, const std::vector<int>& columns);

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

// Reads the records that pass every filter (bound to `formulas`' columns)
// into `out`, whose columns must be the source's. With `useDatabase` the
// terms SQL decides go into the query; without, every row is read and
// judged here (the two give the same records). Returns the rows read.
int selectRecords(TableSource& source, const std::vector<Formula>& filters, const FormulaSet& formulas,
                  bool useDatabase, DataSet& out);
// For a subreport: the records that pass the filters and whose link columns
// (`linkColumns` of the source) equal those (`mainColumns`) of a row of
// `main`. Each distinct key is looked up on its own, so the database reads
// only the linked rows, through its index on the link fields.
int selectLinkedRecords(TableSource& source, const std::vector<Formula>& filters, const FormulaSet& formulas,
                        const std::vector<int>& linkColumns, const DataSet& main, const std::vector<int>& mainColumns,
                        DataSet& out);
// Stable sort by the keys in order.
void sortRows(DataSet& data, const std::vector<SortKey>& keys);

} // namespace plax::print
