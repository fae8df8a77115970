#pragma once
// The parsed form of a formula, for the engine's own use (evaluation, and
// turning selection terms into SQL). Not for use outside platform/print.

#include "Formula.h"

#include <QSet>
#include <memory>
#include <vector>

namespace plax::print {

struct FormulaNode {
    enum class Op {
        Literal, Field, FormulaRef, Not, Neg, And, Or,
        Eq, Ne, Lt, Gt, Le, Ge, In, InList, Concat, Add, Sub, Mul, Div, Year, IsNull, If
    };
    Op op = Op::Literal;
    int pos = 0;
    FValue value;
    QString a, b; // table and field, or formula name
    int index = -1;
    int depth = 1; // levels of the tree from this node down
    // And, Or: the terms; In: value, first, last; InList: value, then the list.
    std::vector<std::shared_ptr<FormulaNode>> kids;
    // InList of plain texts only: the folded texts, for a quick look-up.
    std::shared_ptr<const QSet<QString>> foldedTexts;
};

// Evaluates one node of a bound formula (a term of it).
FValue evaluateNode(const FormulaNode& n, const EvalContext& ctx);

} // namespace plax::print
