#include "SqlSelection.h"

#include "FormulaTree.h"

#include <cmath>
#include <optional>

namespace plax::print {
namespace {

using Op = FormulaNode::Op;

// SQLite allows 999 bound values a statement; subreport links need a few.
constexpr int kMaxParams = 900;

// A constant of a term and how the database must compare with it.
struct Constant {
    enum class Kind { Number, Text } kind;
    db::Value bound;
    bool nocase = false; // holds characters whose order NOCASE changes
};

// Texts without characters from 'A' to 'z' order the same with and without
// NOCASE: such a comparison keeps the column's own collation (and index).
bool needsNocase(const QString& t) {
    for (QChar c : t)
        if (c.unicode() >= u'A' && c.unicode() <= u'z')
            return true;
    return false;
}

std::optional<Constant> constantOf(const FormulaNode& n) {
    if (n.op == Op::Neg && n.kids[0]->op == Op::Literal && n.kids[0]->value.kind() == FValue::Kind::Number)
        return Constant{Constant::Kind::Number, -n.kids[0]->value.toNumber()};
    if (n.op != Op::Literal)
        return std::nullopt;
    const FValue& v = n.value;
    switch (v.kind()) {
    case FValue::Kind::Number:
    case FValue::Kind::Bool:
        return Constant{Constant::Kind::Number, v.toNumber()};
    case FValue::Kind::Date:
        return Constant{Constant::Kind::Text, v.toDate().toIso()};
    case FValue::Kind::Text: {
        // A text the engine reads as a time compares as that time; only the
        // stored form compares the same as text.
        const QString& t = v.toText();
        if (const auto tm = TimeOfDay::parse(t); tm && tm->toHm() != t)
            return std::nullopt;
        return Constant{Constant::Kind::Text, t, needsNocase(t)};
    }
    default:
        return std::nullopt;
    }
}

QString sqlOp(Op op) {
    switch (op) {
    case Op::Eq:
        return QStringLiteral("=");
    case Op::Ne:
        return QStringLiteral("<>");
    case Op::Lt:
        return QStringLiteral("<");
    case Op::Gt:
        return QStringLiteral(">");
    case Op::Le:
        return QStringLiteral("<=");
    default:
        return QStringLiteral(">=");
    }
}

// The comparison read the other way round: 5 < x is x > 5.
Op mirrored(Op op) {
    switch (op) {
    case Op::Lt:
        return Op::Gt;
    case Op::Gt:
        return Op::Lt;
    case Op::Le:
        return Op::Ge;
    case Op::Ge:
        return Op::Le;
    default:
        return op;
    }
}

bool isComparison(Op op) {
    return op == Op::Eq || op == Op::Ne || op == Op::Lt || op == Op::Gt || op == Op::Le || op == Op::Ge;
}

class Translator {
public:
    Translator(SqlColumns& columns, int params) : columns_(columns), params_(params) {}

    // The SQL of a term, or nothing when it stays in memory.
    std::optional<SqlCondition> term(const FormulaNode& n) {
        switch (n.op) {
        case Op::Not: {
            auto inner = term(*n.kids[0]);
            if (!inner)
                return std::nullopt;
            inner->sql = QStringLiteral("NOT (%1)").arg(inner->sql);
            return inner;
        }
        case Op::And:
        case Op::Or: {
            SqlCondition out;
            QStringList parts;
            const int saved = params_;
            for (const auto& k : n.kids) {
                auto c = term(*k);
                if (!c) {
                    params_ = saved;
                    return std::nullopt;
                }
                parts << QLatin1Char('(') + c->sql + QLatin1Char(')');
                out.params.insert(out.params.end(), c->params.begin(), c->params.end());
            }
            out.sql = parts.join(n.op == Op::And ? QLatin1String(" AND ") : QLatin1String(" OR "));
            return out;
        }
        case Op::IsNull:
            if (n.kids[0]->op != Op::Field || !safeOnFirstValue(n, n.kids[0]->index))
                return std::nullopt;
            return SqlCondition{columns_.column(n.kids[0]->index).sql + QStringLiteral(" IS NULL"), {}};
        case Op::In:
            return range(n);
        case Op::InList:
            return list(n);
        default:
            if (isComparison(n.op))
                return comparison(n, n.op, *n.kids[0], *n.kids[1]);
            return std::nullopt;
        }
    }

    int params() const { return params_; }

private:
    // The atom gives no type error on the column's first value: the kinds
    // match, so the comparison means the same in SQL.
    bool safeOnFirstValue(const FormulaNode& atom, int column) {
        const FValue first = columns_.firstValue(column);
        if (first.isNull())
            return true;
        std::vector<FValue> row(size_t(column) + 1);
        row[size_t(column)] = first;
        EvalContext ctx;
        ctx.row = &row;
        try {
            (void)evaluateNode(atom, ctx);
            return true;
        } catch (const FormulaError&) {
            return false;
        }
    }

    bool takeParams(int n) {
        if (params_ + n > kMaxParams)
            return false;
        params_ += n;
        return true;
    }

    // What the comparison of a column with a constant reads in SQL; Year of
    // a date column compares the stored text with the year's first or last day.
    std::optional<SqlCondition> comparison(const FormulaNode& atom, Op op, const FormulaNode& left,
                                           const FormulaNode& right) {
        if (left.op != Op::Field && left.op != Op::Year) {
            if (right.op == Op::Field || right.op == Op::Year)
                return comparison(atom, mirrored(op), right, left);
            return std::nullopt;
        }
        const auto c = constantOf(right);
        if (!c)
            return std::nullopt;
        if (left.op == Op::Year)
            return yearComparison(atom, op, left, *c);
        const int index = left.index;
        const SqlColumn col = columns_.column(index);
        if (!(c->kind == Constant::Kind::Number ? col.holdsNumbers : col.holdsText))
            return std::nullopt;
        if (!safeOnFirstValue(atom, index) || !takeParams(1))
            return std::nullopt;
        const QString lhs = c->nocase ? col.sql + QStringLiteral(" COLLATE NOCASE") : col.sql;
        return SqlCondition{QStringLiteral("%1 %2 ?").arg(lhs, sqlOp(op)), {c->bound}};
    }

    std::optional<SqlCondition> yearComparison(const FormulaNode& atom, Op op, const FormulaNode& year,
                                               const Constant& c) {
        const FormulaNode& field = *year.kids[0];
        if (field.op != Op::Field || c.kind != Constant::Kind::Number)
            return std::nullopt;
        const SqlColumn col = columns_.column(field.index);
        if (!col.holdsText || !safeOnFirstValue(atom, field.index))
            return std::nullopt;
        const double y = c.bound.toDouble();
        if (y != std::floor(y) || y < 1 || y > 9999) {
            if (!takeParams(1))
                return std::nullopt;
            return SqlCondition{QStringLiteral("CAST(substr(%1, 1, 4) AS INTEGER) %2 ?").arg(col.sql, sqlOp(op)), {y}};
        }
        // Stored dates order as their text: a year is the range of its days.
        const QString first = QStringLiteral("%1-01-01").arg(int(y), 4, 10, QLatin1Char('0'));
        const QString last = QStringLiteral("%1-12-31").arg(int(y), 4, 10, QLatin1Char('0'));
        if (!takeParams(op == Op::Eq || op == Op::Ne ? 2 : 1))
            return std::nullopt;
        switch (op) {
        case Op::Eq:
            return SqlCondition{QStringLiteral("%1 >= ? AND %1 <= ?").arg(col.sql), {first, last}};
        case Op::Ne:
            return SqlCondition{QStringLiteral("(%1 < ? OR %1 > ?)").arg(col.sql), {first, last}};
        case Op::Lt:
            return SqlCondition{col.sql + QStringLiteral(" < ?"), {first}};
        case Op::Le:
            return SqlCondition{col.sql + QStringLiteral(" <= ?"), {last}};
        case Op::Gt:
            return SqlCondition{col.sql + QStringLiteral(" > ?"), {last}};
        default:
            return SqlCondition{col.sql + QStringLiteral(" >= ?"), {first}};
        }
    }

    // x In a To b: both ends included, Null when any of the three is Null.
    std::optional<SqlCondition> range(const FormulaNode& n) {
        const FormulaNode& x = *n.kids[0];
        if (x.op != Op::Field && x.op != Op::Year)
            return std::nullopt;
        const int saved = params_;
        auto lo = comparison(n, Op::Ge, x, *n.kids[1]);
        auto hi = lo ? comparison(n, Op::Le, x, *n.kids[2]) : std::nullopt;
        if (!lo || !hi) {
            params_ = saved;
            return std::nullopt;
        }
        lo->sql = QStringLiteral("(%1) AND (%2)").arg(lo->sql, hi->sql);
        lo->params.insert(lo->params.end(), hi->params.begin(), hi->params.end());
        return lo;
    }

    // x In [a, b, ...]: constants of one kind, as SQL's IN.
    std::optional<SqlCondition> list(const FormulaNode& n) {
        const FormulaNode& x = *n.kids[0];
        if (x.op != Op::Field)
            return std::nullopt;
        const SqlColumn col = columns_.column(x.index);
        SqlCondition out;
        bool nocase = false;
        std::optional<Constant::Kind> kind;
        for (size_t i = 1; i < n.kids.size(); ++i) {
            const auto c = constantOf(*n.kids[i]);
            if (!c || (kind && *kind != c->kind))
                return std::nullopt;
            kind = c->kind;
            nocase |= c->nocase;
            out.params.push_back(c->bound);
        }
        if (!(*kind == Constant::Kind::Number ? col.holdsNumbers : col.holdsText))
            return std::nullopt;
        if (!safeOnFirstValue(n, x.index) || !takeParams(int(out.params.size())))
            return std::nullopt;
        QStringList marks;
        for (size_t i = 0; i < out.params.size(); ++i)
            marks << QStringLiteral("?");
        out.sql = QStringLiteral("%1%2 IN (%3)")
                      .arg(col.sql, nocase ? QStringLiteral(" COLLATE NOCASE") : QString(), marks.join(QLatin1String(", ")));
        return out;
    }

    SqlColumns& columns_;
    int params_;
};

} // namespace

SplitSelection splitSelection(const std::vector<Formula>& filters, SqlColumns& columns) {
    SplitSelection out;
    Translator tr(columns, 0);
    QStringList parts;
    for (const Formula& f : filters) {
        std::vector<Formula> rest;
        for (const Formula& term : f.conjuncts()) {
            if (auto c = tr.term(*term.root())) {
                parts << QLatin1Char('(') + c->sql + QLatin1Char(')');
                out.database.params.insert(out.database.params.end(), c->params.begin(), c->params.end());
            } else {
                rest.push_back(term);
            }
        }
        if (!rest.empty())
            out.rest.push_back(Formula::allOf(rest));
    }
    out.database.sql = parts.join(QLatin1String(" AND "));
    return out;
}

SqlCondition linkCondition(const SqlColumn& column, const FValue& v) {
    switch (v.kind()) {
    case FValue::Kind::Null:
        return {column.sql + QStringLiteral(" IS NULL"), {}};
    case FValue::Kind::Bool:
    case FValue::Kind::Number:
        return {column.sql + QStringLiteral(" = ?"), {v.toNumber()}};
    case FValue::Kind::Date:
        return {column.sql + QStringLiteral(" = ?"), {v.toDate().toIso()}};
    case FValue::Kind::Time:
        return {column.sql + QStringLiteral(" = ?"), {v.toTime().toHm()}};
    case FValue::Kind::Text:
        break;
    }
    return {column.sql + (needsNocase(v.toText()) ? QStringLiteral(" COLLATE NOCASE = ?") : QStringLiteral(" = ?")),
            {v.toText()}};
}

} // namespace plax::print
