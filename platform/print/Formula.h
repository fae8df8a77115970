#pragma once
// The formula language of report definitions and of the selection formulas
// the screens pass in:
//
//   {Table.Field}  {@FormulaName}  'text'  "text"  True  False  123
//   Date (2024, 01, 31)   x in Date(...) To Date(...)   (inclusive)
//   x In ['a', 'b', ...]  (x equals one of them)
//   Year (x)  IsNull (x)  Not x   a AND b   a OR b   ( ... )
//   If c Then a Else b
//   =  <>  <  >  <=  >=   &  (text join)   + - * /
//
// Keywords and function names ignore letter case; text comparison ignores
// the case of the letters A to Z, exactly as the database's NOCASE columns
// do, so a comparison gives the same answer in either place. Errors carry
// the 1-based character position they refer to.

#include "core/types/Dates.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace plax::print {

// Text order of the engine and of the database's NOCASE collation: A to Z
// count as a to z, everything else compares by code point.
int compareText(QStringView a, QStringView b);
// The text with A to Z made lower case: equal folds <=> compareText() == 0.
QString foldText(QStringView t);

// A text written as the database stores dates ("yyyy-mm-dd", a real day)
// or times ("HH:MM"); such texts are read as dates and times.
std::optional<CalDate> storedDate(QStringView t);
std::optional<TimeOfDay> storedTime(QStringView t);

// A value inside the engine: what a field, a literal or a formula gives.
class FValue {
public:
    enum class Kind { Null, Bool, Number, Text, Date, Time };

    FValue() = default;
    static FValue boolean(bool b);
    static FValue number(double n);
    static FValue text(const QString& t);
    static FValue date(CalDate d);
    static FValue time(TimeOfDay t);

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::Null; }
    bool toBool() const;
    double toNumber() const { return num_; }
    const QString& toText() const { return text_; }
    CalDate toDate() const { return date_; }
    TimeOfDay toTime() const { return time_; }

    // Plain display text, as a report prints it: dates in the short form
    // the screens show, times HH:MM, whole numbers without decimals, others
    // with two and the locale's decimal separator, True/False.
    QString display() const;
    static QString kindName(Kind k);

    // Ordering for sorting: Null first; text by compareText(). Values of
    // different kinds order by kind.
    static int compare(const FValue& a, const FValue& b);

private:
    Kind kind_ = Kind::Null;
    double num_ = 0;
    QString text_;
    CalDate date_;
    TimeOfDay time_;
};

class FormulaError : public std::runtime_error {
public:
    FormulaError(int position, const QString& message)
        : std::runtime_error(message.toStdString()), position_(position), message_(message) {}
    // 1-based character position in the formula text; 0 when none applies.
    int position() const { return position_; }
    const QString& message() const { return message_; }
    // "message at position N" (or the message alone).
    QString fullText() const;

private:
    int position_;
    QString message_;
};

// Kinds of errors a formula can raise, so the engine can give each its code.
class UnknownFieldError : public FormulaError {
public:
    using FormulaError::FormulaError;
};
class TypeError : public FormulaError {
public:
    using FormulaError::FormulaError;
};

struct FormulaNode;

// Where a bound formula finds its values.
struct EvalContext {
    const std::vector<FValue>* row = nullptr;
    // Value of the named formula with the index given at binding.
    std::function<FValue(int)> formula;
};

class Formula {
public:
    Formula();
    // Parses; throws FormulaError. An empty or blank text gives an empty formula.
    static Formula parse(const QString& text);

    bool isEmpty() const { return !root_; }
    const QString& text() const { return text_; }

    struct FieldRef {
        QString table, field;
        int position;
    };
    // Every {Table.Field} and {@Name} in the formula, in text order.
    std::vector<FieldRef> fields() const;
    std::vector<FieldRef> formulaRefs() const;

    // Resolves fields and formula references to indexes; a resolver returns
    // -1 for a name it does not know, which raises UnknownFieldError naming
    // it and its position.
    using Resolver = std::function<int(const QString& table, const QString& field)>;
    void bind(const Resolver& fieldIndex, const std::function<int(const QString& name)>& formulaIndex);

    // Throws TypeError for an operation on values of the wrong kind.
    FValue evaluate(const EvalContext& ctx) const;
    // A record-selection test: an empty formula selects everything, Null
    // selects nothing, anything but a Boolean is a TypeError.
    bool select(const EvalContext& ctx) const;

    // The terms joined by AND at the top of the formula, in order (the
    // formula itself when it is no AND; none when it is empty). They share
    // the formula's binding.
    std::vector<Formula> conjuncts() const;
    // Terms joined by AND again; evaluates exactly as the formula they came from.
    static Formula allOf(const std::vector<Formula>& terms);
    const FormulaNode* root() const { return root_.get(); }

private:
    QString text_;
    std::shared_ptr<FormulaNode> root_;
};

// A text as a literal of the formula language, whatever it holds: between
// single quotes, or, when it holds a single quote, between double quotes
// with its double quotes doubled. Selection formulas put keys in with it.
QString formulaLiteral(const QString& text);
// The texts as a list for In: "['a', 'b']".
QString formulaList(const QStringList& texts);

// "{Table.Field}" -> table and field; false when the text is not one field.
bool parseFieldReference(const QString& text, QString* table, QString* field);

} // namespace plax::print
