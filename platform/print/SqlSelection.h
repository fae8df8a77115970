#pragma once
// Record selection in the database: the terms of a report's `where` and of
// its selection formula that SQL decides exactly as the formula language
// does become a WHERE clause with bound values; the rest is evaluated in
// memory on the rows that clause lets through.
//
// A term goes to the database only when both ways agree on every record
// they can both judge:
//  - a field compared with a constant (=, <>, <, >, <=, >=, In ... To,
//    In [...]), Year (field) compared with a number, IsNull (field), and
//    Not, AND and OR of such terms;
//  - numbers only against columns that store numbers, texts and dates only
//    against columns that store text (as dates and times are stored);
//  - text compares as the NOCASE collation does (compareText);
//  - a constant the engine would read as a date or time only in the form
//    the database stores it ("2024-01-31", "08:30"), so that comparing the
//    stored texts is comparing the dates and times;
//  - the column's first value takes the comparison without a type error,
//    so a formula that compares a column with a constant of the wrong kind
//    still stops with its error instead of selecting nothing.
// A record whose own value cannot be compared (a text in a date column)
// stops the in-memory way with a type error; the database way leaves such a
// record out or keeps it as the rest of the formula decides.

#include "Formula.h"

#include "platform/db/Value.h"

#include <QString>
#include <functional>
#include <vector>

namespace plax::print {

// A SQL condition written by the engine with its bound values.
struct SqlCondition {
    QString sql; // empty: no condition
    db::Params params;
};

// What the translation needs to know of a column of the record source.
struct SqlColumn {
    QString sql;         // "Table"."Field"
    bool holdsText;      // the column keeps texts as they are (TEXT or no affinity)
    bool holdsNumbers;   // the column keeps numbers as numbers
};

class SqlColumns {
public:
    virtual ~SqlColumns() = default;
    virtual SqlColumn column(int index) = 0;
    // The column's first value that is not Null (Null when there is none).
    virtual FValue firstValue(int index) = 0;
};

struct SplitSelection {
    SqlCondition database;
    // Filters evaluated in memory in order; a record must pass every one.
    std::vector<Formula> rest;
};

// Splits bound filters (the definition's `where`, then the selection
// formula; each a record must pass) into database and memory parts.
SplitSelection splitSelection(const std::vector<Formula>& filters, SqlColumns& columns);

// SQL that is true where the column's value equals `v` in the sense of the
// subreport links (text without regard to case, Null equal to Null).
SqlCondition linkCondition(const SqlColumn& column, const FValue& v);

} // namespace plax::print
