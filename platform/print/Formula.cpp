#include "Formula.h"
#include "FormulaTree.h"

#include <QSet>

namespace plax::print {

using NodeP = std::shared_ptr<FormulaNode>;
using Op = FormulaNode::Op;

namespace {

// Formulas deeper than this are refused: parsing and evaluating recurse once
// per level, and no formula a report needs comes near it.
constexpr int kMaxDepth = 100;

[[noreturn]] void tooDeep(int pos) {
    throw FormulaError(pos, QStringLiteral("The formula is nested too deeply (more than %1 levels)").arg(kMaxDepth));
}

struct Token {
    enum Kind { End, Number, Text, Field, FormulaRef, Word, Symbol, LParen, RParen, LBracket, RBracket, Comma } kind = End;
    QString text; // word, symbol, literal text or formula name
    QString table, field;
    double number = 0;
    int pos = 0; // 1-based
};

bool isKeywordAt(const QString& s, int j) {
    static const char* const kWords[] = {"and", "or", "to", "then", "else"};
    for (const char* w : kWords) {
        const QString word = QString::fromLatin1(w);
        if (s.mid(j, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            continue;
        const int after = j + int(word.size());
        if (after >= s.size() || !(s[after].isLetterOrNumber() || s[after] == QLatin1Char('_')))
            return true;
    }
    return false;
}

class Lexer {
public:
    explicit Lexer(const QString& s) : s_(s) {}

    std::vector<Token> run() {
        std::vector<Token> out;
        for (;;) {
            while (i_ < s_.size() && s_[i_].isSpace())
                ++i_;
            Token t;
            t.pos = int(i_) + 1;
            if (i_ >= s_.size()) {
                out.push_back(t);
                return out;
            }
            const QChar c = s_[i_];
            if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
                lexText(t, c);
            else if (c == QLatin1Char('{'))
                lexField(t);
            else if (c.isDigit())
                lexNumber(t);
            else if (c.isLetter() || c == QLatin1Char('_')) {
                qsizetype j = i_;
                while (j < s_.size() && (s_[j].isLetterOrNumber() || s_[j] == QLatin1Char('_')))
                    ++j;
                t.kind = Token::Word;
                t.text = s_.mid(i_, j - i_);
                i_ = j;
            } else if (c == QLatin1Char('(')) {
                t.kind = Token::LParen;
                ++i_;
            } else if (c == QLatin1Char(')')) {
                t.kind = Token::RParen;
                ++i_;
            } else if (c == QLatin1Char('[')) {
                t.kind = Token::LBracket;
                ++i_;
            } else if (c == QLatin1Char(']')) {
                t.kind = Token::RBracket;
                ++i_;
            } else if (c == QLatin1Char(',')) {
                t.kind = Token::Comma;
                ++i_;
            } else if (QStringLiteral("=<>&+-*/").contains(c)) {
                t.kind = Token::Symbol;
                t.text = c;
                ++i_;
                if (i_ < s_.size()) {
                    const QString two = t.text + s_[i_];
                    if (two == QLatin1String("<>") || two == QLatin1String("<=") || two == QLatin1String(">=")) {
                        t.text = two;
                        ++i_;
                    }
                }
            } else {
                throw FormulaError(t.pos, QStringLiteral("The character '%1' is not allowed here").arg(c));
            }
            out.push_back(t);
        }
    }

private:
    // A text in single quotes. The value stands between the quotes as it is,
    // so a quote inside it is not doubled: a quote ends the text only where
    // the formula can go on after a text (end, ')', ',', an operator or a
    // keyword), otherwise it belongs to the text ('O'Brien' is O'Brien).
    // A text in double quotes, a "" inside standing for one ": any text can
    // be written this way without doubt about where it ends.
    void lexText(Token& t, QChar quote) {
        QString value;
        qsizetype j = i_ + 1;
        for (;; ++j) {
            if (j >= s_.size())
                throw FormulaError(t.pos, QStringLiteral("The text that begins here has no closing quote"));
            if (s_[j] == quote && quote == QLatin1Char('"')) {
                if (j + 1 >= s_.size() || s_[j + 1] != quote)
                    break;
                ++j; // "" stands for one "
            } else if (s_[j] == quote) {
                qsizetype k = j + 1;
                while (k < s_.size() && s_[k].isSpace())
                    ++k;
                if (k >= s_.size() || QStringLiteral("),]=<>&+-*/").contains(s_[k]) || isKeywordAt(s_, int(k)))
                    break;
            }
            value += s_[j];
        }
        t.kind = Token::Text;
        t.text = value;
        i_ = j + 1;
    }

    void lexField(Token& t) {
        const qsizetype close = s_.indexOf(QLatin1Char('}'), i_);
        if (close < 0)
            throw FormulaError(t.pos, QStringLiteral("The field that begins here has no closing brace"));
        const QString inner = s_.mid(i_ + 1, close - i_ - 1).trimmed();
        i_ = close + 1;
        if (inner.startsWith(QLatin1Char('@'))) {
            t.kind = Token::FormulaRef;
            t.text = inner.mid(1).trimmed();
            if (t.text.isEmpty())
                throw FormulaError(t.pos, QStringLiteral("A formula is written {@Name}"));
            return;
        }
        const qsizetype dot = inner.indexOf(QLatin1Char('.'));
        if (dot <= 0 || dot == inner.size() - 1)
            throw FormulaError(t.pos, QStringLiteral("A field is written {Table.Field}, not {%1}").arg(inner));
        t.kind = Token::Field;
        t.table = inner.left(dot).trimmed();
        t.field = inner.mid(dot + 1).trimmed();
    }

    void lexNumber(Token& t) {
        qsizetype j = i_;
        while (j < s_.size() && s_[j].isDigit())
            ++j;
        if (j + 1 < s_.size() && s_[j] == QLatin1Char('.') && s_[j + 1].isDigit()) {
            ++j;
            while (j < s_.size() && s_[j].isDigit())
                ++j;
        }
        if (j < s_.size() && (s_[j].isLetter() || s_[j] == QLatin1Char('_')))
            throw FormulaError(t.pos, QStringLiteral("'%1' is not a number").arg(s_.mid(i_, j - i_ + 1)));
        t.kind = Token::Number;
        t.text = s_.mid(i_, j - i_);
        t.number = t.text.toDouble();
        i_ = j;
    }

    const QString& s_;
    qsizetype i_ = 0;
};

QString describe(const Token& t) {
    switch (t.kind) {
    case Token::End:
        return QStringLiteral("the end of the formula");
    case Token::Number:
        return QStringLiteral("the number %1").arg(t.text);
    case Token::Text:
        return QStringLiteral("the text '%1'").arg(t.text);
    case Token::Field:
        return QStringLiteral("the field {%1.%2}").arg(t.table, t.field);
    case Token::FormulaRef:
        return QStringLiteral("the formula {@%1}").arg(t.text);
    case Token::Word:
        return QStringLiteral("'%1'").arg(t.text);
    case Token::Symbol:
        return QStringLiteral("'%1'").arg(t.text);
    case Token::LParen:
        return QStringLiteral("'('");
    case Token::RParen:
        return QStringLiteral("')'");
    case Token::LBracket:
        return QStringLiteral("'['");
    case Token::RBracket:
        return QStringLiteral("']'");
    case Token::Comma:
        return QStringLiteral("','");
    }
    return QString();
}

class Parser {
public:
    explicit Parser(std::vector<Token> toks) : t_(std::move(toks)) {}

    NodeP parseAll() {
        NodeP n = parseOr();
        if (peek().kind != Token::End)
            throw FormulaError(peek().pos, QStringLiteral("Unexpected %1").arg(describe(peek())));
        return n;
    }

private:
    const Token& peek() const { return t_[p_]; }
    Token take() { return t_[p_ < t_.size() - 1 ? p_++ : p_]; }
    bool isWord(const char* w) const {
        return peek().kind == Token::Word && peek().text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(const char* s) const { return peek().kind == Token::Symbol && peek().text == QLatin1String(s); }
    void expect(Token::Kind k, const QString& what) {
        if (peek().kind != k)
            throw FormulaError(peek().pos, QStringLiteral("%1 expected, found %2").arg(what, describe(peek())));
        take();
    }

    static NodeP make(Op op, int pos, std::vector<NodeP> kids = {}) {
        auto n = std::make_shared<FormulaNode>();
        n->op = op;
        n->pos = pos;
        n->kids = std::move(kids);
        for (const NodeP& k : n->kids)
            n->depth = std::max(n->depth, k->depth + 1);
        if (n->depth > kMaxDepth)
            tooDeep(pos);
        return n;
    }

    // Counts the parser's own nesting (brackets, Not, minus signs), which
    // recurses before any node is made.
    struct Nest {
        explicit Nest(Parser& p) : p_(p) {
            if (++p_.nesting_ > kMaxDepth)
                tooDeep(p_.peek().pos);
        }
        ~Nest() { --p_.nesting_; }
        Parser& p_;
    };

    // A chain of ORs (or ANDs) is one node with a child per term, so a long
    // list of alternatives does not deepen the tree.
    NodeP parseChain(const char* word, Op op, NodeP (Parser::*term)()) {
        NodeP first = (this->*term)();
        if (!isWord(word))
            return first;
        const int pos = peek().pos;
        std::vector<NodeP> kids{first};
        while (isWord(word)) {
            take();
            kids.push_back((this->*term)());
        }
        return make(op, pos, std::move(kids));
    }
    NodeP parseOr() {
        Nest nest(*this);
        return parseChain("or", Op::Or, &Parser::parseAnd);
    }
    NodeP parseAnd() { return parseChain("and", Op::And, &Parser::parseNot); }
    NodeP parseNot() {
        if (isWord("not")) {
            Nest nest(*this);
            const int pos = take().pos;
            return make(Op::Not, pos, {parseNot()});
        }
        return parseCompare();
    }
    NodeP parseCompare() {
        NodeP n = parseConcat();
        static const std::pair<const char*, Op> kOps[] = {{"=", Op::Eq},  {"<>", Op::Ne}, {"<", Op::Lt},
                                                          {">", Op::Gt},  {"<=", Op::Le}, {">=", Op::Ge}};
        for (const auto& [sym, op] : kOps)
            if (isSymbol(sym)) {
                const int pos = take().pos;
                return make(op, pos, {n, parseConcat()});
            }
        if (isWord("in")) {
            const int pos = take().pos;
            if (peek().kind == Token::LBracket)
                return parseList(pos, n);
            NodeP from = parseConcat();
            if (!isWord("to"))
                throw FormulaError(peek().pos, QStringLiteral("'To' expected in the range, found %1").arg(describe(peek())));
            take();
            return make(Op::In, pos, {n, from, parseConcat()});
        }
        return n;
    }
    // x In [a, b, ...]: True when x equals one of the values.
    NodeP parseList(int pos, NodeP value) {
        take();
        std::vector<NodeP> kids{std::move(value)};
        if (peek().kind == Token::RBracket)
            throw FormulaError(peek().pos, QStringLiteral("A list needs at least one value"));
        for (;;) {
            kids.push_back(parseConcat());
            if (peek().kind == Token::RBracket)
                break;
            expect(Token::Comma, QStringLiteral("',' or ']'"));
        }
        take();
        NodeP n = make(Op::InList, pos, std::move(kids));
        // Plain texts only (none reads as a date or a time): a set of their
        // folded forms answers for a text value at once.
        auto folded = std::make_shared<QSet<QString>>();
        for (size_t i = 1; i < n->kids.size(); ++i) {
            const FormulaNode& k = *n->kids[i];
            if (k.op != Op::Literal || k.value.kind() != FValue::Kind::Text || storedDate(k.value.toText()) ||
                TimeOfDay::parse(k.value.toText()))
                return n;
            folded->insert(foldText(k.value.toText()));
        }
        n->foldedTexts = std::move(folded);
        return n;
    }

    NodeP parseConcat() {
        NodeP n = parseAdd();
        while (isSymbol("&")) {
            const int pos = take().pos;
            n = make(Op::Concat, pos, {n, parseAdd()});
        }
        return n;
    }
    NodeP parseAdd() {
        NodeP n = parseMul();
        while (isSymbol("+") || isSymbol("-")) {
            const Token op = take();
            n = make(op.text == QLatin1String("+") ? Op::Add : Op::Sub, op.pos, {n, parseMul()});
        }
        return n;
    }
    NodeP parseMul() {
        NodeP n = parseUnary();
        while (isSymbol("*") || isSymbol("/")) {
            const Token op = take();
            n = make(op.text == QLatin1String("*") ? Op::Mul : Op::Div, op.pos, {n, parseUnary()});
        }
        return n;
    }
    NodeP parseUnary() {
        if (isSymbol("-")) {
            Nest nest(*this);
            const int pos = take().pos;
            return make(Op::Neg, pos, {parseUnary()});
        }
        return parsePrimary();
    }

    // A part of a date as written (for the message) and its value; a number
    // too large for any date part reads as 0, which no date accepts.
    struct DatePart {
        QString text;
        int value;
    };
    DatePart wholeNumber(const char* what) {
        const bool neg = isSymbol("-");
        if (neg)
            take();
        const Token n = peek();
        if (n.kind != Token::Number || n.text.contains(QLatin1Char('.')))
            throw FormulaError(n.pos, QStringLiteral("The %1 of the date must be a whole number, found %2")
                                          .arg(QLatin1String(what), describe(n)));
        take();
        const int value = n.number <= 99999 ? int(n.number) : 0;
        return {neg ? QLatin1Char('-') + n.text : n.text, neg ? -value : value};
    }

    NodeP parsePrimary() {
        const Token t = peek();
        switch (t.kind) {
        case Token::Number: {
            take();
            NodeP n = make(Op::Literal, t.pos);
            n->value = FValue::number(t.number);
            return n;
        }
        case Token::Text: {
            take();
            NodeP n = make(Op::Literal, t.pos);
            n->value = FValue::text(t.text);
            return n;
        }
        case Token::Field: {
            take();
            NodeP n = make(Op::Field, t.pos);
            n->a = t.table;
            n->b = t.field;
            return n;
        }
        case Token::FormulaRef: {
            take();
            NodeP n = make(Op::FormulaRef, t.pos);
            n->a = t.text;
            return n;
        }
        case Token::LParen: {
            take();
            NodeP n = parseOr();
            expect(Token::RParen, QStringLiteral("')'"));
            return n;
        }
        case Token::Word:
            return parseWord(t);
        default:
            throw FormulaError(t.pos, QStringLiteral("A value expected, found %1").arg(describe(t)));
        }
    }

    NodeP parseWord(const Token& t) {
        if (isWord("true") || isWord("false")) {
            take();
            NodeP n = make(Op::Literal, t.pos);
            n->value = FValue::boolean(t.text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
            return n;
        }
        if (isWord("date")) {
            take();
            expect(Token::LParen, QStringLiteral("'(' after Date"));
            const DatePart y = wholeNumber("year");
            expect(Token::Comma, QStringLiteral("','"));
            const DatePart m = wholeNumber("month");
            expect(Token::Comma, QStringLiteral("','"));
            const DatePart d = wholeNumber("day");
            expect(Token::RParen, QStringLiteral("')'"));
            const auto date = CalDate::fromYmd(y.value, m.value, d.value);
            if (!date || y.value < 100)
                throw FormulaError(
                    t.pos, QStringLiteral("Date (%1, %2, %3) is not a valid date").arg(y.text, m.text, d.text));
            NodeP n = make(Op::Literal, t.pos);
            n->value = FValue::date(*date);
            return n;
        }
        if (isWord("year") || isWord("isnull")) {
            const Op op = isWord("year") ? Op::Year : Op::IsNull;
            take();
            expect(Token::LParen, QStringLiteral("'(' after %1").arg(t.text));
            NodeP arg = parseOr();
            expect(Token::RParen, QStringLiteral("')'"));
            return make(op, t.pos, {arg});
        }
        if (isWord("if")) {
            take();
            NodeP cond = parseOr();
            if (!isWord("then"))
                throw FormulaError(peek().pos, QStringLiteral("'Then' expected, found %1").arg(describe(peek())));
            take();
            NodeP yes = parseOr();
            NodeP no = make(Op::Literal, peek().pos);
            if (isWord("else")) {
                take();
                no = parseOr();
            }
            return make(Op::If, t.pos, {cond, yes, no});
        }
        throw FormulaError(t.pos, QStringLiteral("Unknown word '%1'").arg(t.text));
    }

    std::vector<Token> t_;
    size_t p_ = 0;
    int nesting_ = 0;
};

void collect(const NodeP& n, Op op, std::vector<Formula::FieldRef>& out) {
    if (!n)
        return;
    if (n->op == op)
        out.push_back({n->a, n->b, n->pos});
    for (const NodeP& k : n->kids)
        collect(k, op, out);
}

void bindNode(const NodeP& n, const Formula::Resolver& fields, const std::function<int(const QString&)>& formulas) {
    if (n->op == Op::Field) {
        n->index = fields ? fields(n->a, n->b) : -1;
        if (n->index < 0)
            throw UnknownFieldError(n->pos, QStringLiteral("Unknown field {%1.%2}").arg(n->a, n->b));
    } else if (n->op == Op::FormulaRef) {
        n->index = formulas ? formulas(n->a) : -1;
        if (n->index < 0)
            throw UnknownFieldError(n->pos, QStringLiteral("Unknown formula {@%1}").arg(n->a));
    }
    for (const NodeP& k : n->kids)
        bindNode(k, fields, formulas);
}

[[noreturn]] void typeError(const FormulaNode& n, const QString& what, const FValue& a, const FValue& b) {
    throw TypeError(n.pos, QStringLiteral("Cannot %1 %2 and %3")
                               .arg(what, FValue::kindName(a.kind()), FValue::kindName(b.kind())));
}

bool comparable(const FValue& a, const FValue& b) {
    using K = FValue::Kind;
    const auto numeric = [](K k) { return k == K::Number || k == K::Bool; };
    if (numeric(a.kind()) && numeric(b.kind()))
        return true;
    return a.kind() == b.kind();
}

// Dates and times arrive from the database as text; a text literal compared
// with them is read the same way.
FValue coerceTo(const FValue& v, FValue::Kind k) {
    if (v.kind() != FValue::Kind::Text)
        return v;
    if (k == FValue::Kind::Date)
        if (auto d = storedDate(v.toText()))
            return FValue::date(*d);
    if (k == FValue::Kind::Time)
        if (auto t = TimeOfDay::parse(v.toText()))
            return FValue::time(*t);
    return v;
}

int compareChecked(const FormulaNode& n, FValue a, FValue b) {
    a = coerceTo(a, b.kind());
    b = coerceTo(b, a.kind());
    if (!comparable(a, b))
        typeError(n, QStringLiteral("compare"), a, b);
    return FValue::compare(a, b);
}

FValue eval(const FormulaNode& n, const EvalContext& ctx);

FValue logical(const FormulaNode& n, const FValue& v) {
    if (!v.isNull() && v.kind() != FValue::Kind::Bool)
        throw TypeError(n.pos, QStringLiteral("True or False expected, found %1").arg(FValue::kindName(v.kind())));
    return v;
}

FValue arithmetic(const FormulaNode& n, const EvalContext& ctx) {
    const FValue a = eval(*n.kids[0], ctx);
    const FValue b = eval(*n.kids[1], ctx);
    if (a.isNull() || b.isNull())
        return FValue();
    if (a.kind() != FValue::Kind::Number || b.kind() != FValue::Kind::Number)
        typeError(n, QStringLiteral("calculate with"), a, b);
    switch (n.op) {
    case Op::Add:
        return FValue::number(a.toNumber() + b.toNumber());
    case Op::Sub:
        return FValue::number(a.toNumber() - b.toNumber());
    case Op::Mul:
        return FValue::number(a.toNumber() * b.toNumber());
    default:
        return b.toNumber() == 0 ? FValue() : FValue::number(a.toNumber() / b.toNumber());
    }
}

FValue eval(const FormulaNode& n, const EvalContext& ctx) {
    switch (n.op) {
    case Op::Literal:
        return n.value;
    case Op::Field:
        if (!ctx.row || n.index < 0 || n.index >= int(ctx.row->size()))
            return FValue();
        return (*ctx.row)[size_t(n.index)];
    case Op::FormulaRef:
        return ctx.formula ? ctx.formula(n.index) : FValue();
    case Op::Not: {
        const FValue v = logical(n, eval(*n.kids[0], ctx));
        return v.isNull() ? v : FValue::boolean(!v.toBool());
    }
    case Op::Neg: {
        const FValue v = eval(*n.kids[0], ctx);
        if (v.isNull())
            return v;
        if (v.kind() != FValue::Kind::Number)
            throw TypeError(n.pos, QStringLiteral("A number expected after '-', found %1").arg(FValue::kindName(v.kind())));
        return FValue::number(-v.toNumber());
    }
    case Op::And:
    case Op::Or: {
        // Left to right; the first False of an AND (True of an OR) decides.
        const bool isAnd = n.op == Op::And;
        bool sawNull = false;
        for (const NodeP& k : n.kids) {
            const FValue v = logical(*k, eval(*k, ctx));
            if (v.isNull())
                sawNull = true;
            else if (v.toBool() != isAnd)
                return v;
        }
        return sawNull ? FValue() : FValue::boolean(isAnd);
    }
    case Op::Eq:
    case Op::Ne:
    case Op::Lt:
    case Op::Gt:
    case Op::Le:
    case Op::Ge: {
        const FValue a = eval(*n.kids[0], ctx);
        const FValue b = eval(*n.kids[1], ctx);
        if (a.isNull() || b.isNull())
            return FValue();
        const int c = compareChecked(n, a, b);
        switch (n.op) {
        case Op::Eq:
            return FValue::boolean(c == 0);
        case Op::Ne:
            return FValue::boolean(c != 0);
        case Op::Lt:
            return FValue::boolean(c < 0);
        case Op::Gt:
            return FValue::boolean(c > 0);
        case Op::Le:
            return FValue::boolean(c <= 0);
        default:
            return FValue::boolean(c >= 0);
        }
    }
    case Op::In: {
        const FValue v = eval(*n.kids[0], ctx);
        const FValue lo = eval(*n.kids[1], ctx);
        const FValue hi = eval(*n.kids[2], ctx);
        if (v.isNull() || lo.isNull() || hi.isNull())
            return FValue();
        return FValue::boolean(compareChecked(n, v, lo) >= 0 && compareChecked(n, v, hi) <= 0);
    }
    case Op::InList: {
        // As a chain of "x = a OR x = b ...", evaluated in the same order.
        const FValue v = eval(*n.kids[0], ctx);
        if (v.isNull())
            return v;
        if (n.foldedTexts && v.kind() == FValue::Kind::Text)
            return FValue::boolean(n.foldedTexts->contains(foldText(v.toText())));
        bool sawNull = false;
        for (size_t i = 1; i < n.kids.size(); ++i) {
            const FValue e = eval(*n.kids[i], ctx);
            if (e.isNull())
                sawNull = true;
            else if (compareChecked(n, v, e) == 0)
                return FValue::boolean(true);
        }
        return sawNull ? FValue() : FValue::boolean(false);
    }
    case Op::Concat:
        return FValue::text(eval(*n.kids[0], ctx).display() + eval(*n.kids[1], ctx).display());
    case Op::Add:
    case Op::Sub:
    case Op::Mul:
    case Op::Div:
        return arithmetic(n, ctx);
    case Op::Year: {
        const FValue v = coerceTo(eval(*n.kids[0], ctx), FValue::Kind::Date);
        if (v.isNull())
            return v;
        if (v.kind() != FValue::Kind::Date)
            throw TypeError(n.pos, QStringLiteral("Year needs a date, found %1").arg(FValue::kindName(v.kind())));
        return FValue::number(v.toDate().year());
    }
    case Op::IsNull: {
        const FValue v = eval(*n.kids[0], ctx);
        return FValue::boolean(v.isNull());
    }
    case Op::If: {
        const FValue c = logical(*n.kids[0], eval(*n.kids[0], ctx));
        return eval(*n.kids[!c.isNull() && c.toBool() ? 1 : 2], ctx);
    }
    }
    return FValue();
}

} // namespace

FValue evaluateNode(const FormulaNode& n, const EvalContext& ctx) { return eval(n, ctx); }

Formula::Formula() = default;

Formula Formula::parse(const QString& text) {
    Formula f;
    f.text_ = text;
    if (text.trimmed().isEmpty())
        return f;
    Parser p(Lexer(text).run());
    f.root_ = p.parseAll();
    return f;
}

std::vector<Formula::FieldRef> Formula::fields() const {
    std::vector<FieldRef> out;
    collect(root_, Op::Field, out);
    return out;
}

std::vector<Formula::FieldRef> Formula::formulaRefs() const {
    std::vector<FieldRef> out;
    collect(root_, Op::FormulaRef, out);
    return out;
}

void Formula::bind(const Resolver& fieldIndex, const std::function<int(const QString&)>& formulaIndex) {
    if (root_)
        bindNode(root_, fieldIndex, formulaIndex);
}

FValue Formula::evaluate(const EvalContext& ctx) const { return root_ ? eval(*root_, ctx) : FValue(); }

bool Formula::select(const EvalContext& ctx) const {
    if (!root_)
        return true;
    const FValue v = eval(*root_, ctx);
    if (v.isNull())
        return false;
    if (v.kind() != FValue::Kind::Bool)
        throw TypeError(1, QStringLiteral("The selection formula must give True or False, not %1")
                               .arg(FValue::kindName(v.kind())));
    return v.toBool();
}

std::vector<Formula> Formula::conjuncts() const {
    std::vector<Formula> out;
    if (!root_)
        return out;
    const auto term = [this](const NodeP& n) {
        Formula f;
        f.text_ = text_;
        f.root_ = n;
        return f;
    };
    if (root_->op != Op::And)
        return {*this};
    for (const NodeP& k : root_->kids)
        out.push_back(term(k));
    return out;
}

Formula Formula::allOf(const std::vector<Formula>& terms) {
    Formula f;
    std::vector<NodeP> kids;
    for (const Formula& t : terms) {
        if (!t.root_)
            continue;
        f.text_ = f.text_.isEmpty() ? t.text_ : f.text_ + QStringLiteral(" AND ") + t.text_;
        if (t.root_->op == Op::And)
            kids.insert(kids.end(), t.root_->kids.begin(), t.root_->kids.end());
        else
            kids.push_back(t.root_);
    }
    if (kids.size() == 1) {
        f.root_ = kids.front();
    } else if (!kids.empty()) {
        auto n = std::make_shared<FormulaNode>();
        n->op = Op::And;
        n->pos = kids.front()->pos;
        n->kids = std::move(kids);
        f.root_ = std::move(n);
    }
    return f;
}

QString formulaLiteral(const QString& text) {
    if (!text.contains(QLatin1Char('\'')))
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    QString t = text;
    t.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

QString formulaList(const QStringList& texts) {
    QStringList items;
    items.reserve(texts.size());
    for (const QString& t : texts)
        items << formulaLiteral(t);
    return QLatin1Char('[') + items.join(QLatin1String(", ")) + QLatin1Char(']');
}

bool parseFieldReference(const QString& text, QString* table, QString* field) {
    const QString t = text.trimmed();
    if (!t.startsWith(QLatin1Char('{')) || !t.endsWith(QLatin1Char('}')))
        return false;
    const QString inner = t.mid(1, t.size() - 2).trimmed();
    const qsizetype dot = inner.indexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == inner.size() - 1 || inner.startsWith(QLatin1Char('@')))
        return false;
    *table = inner.left(dot).trimmed();
    *field = inner.mid(dot + 1).trimmed();
    return true;
}

} // namespace plax::print
