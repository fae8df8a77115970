#include "Formula.h"

#include "core/types/Amounts.h"
#include "platform/db/Database.h"

#include <algorithm>
#include <cmath>

namespace plax::print {

FValue FValue::boolean(bool b) {
    FValue v;
    v.kind_ = Kind::Bool;
    v.num_ = b ? 1 : 0;
    return v;
}
FValue FValue::number(double n) {
    FValue v;
    v.kind_ = Kind::Number;
    v.num_ = n;
    return v;
}
FValue FValue::text(const QString& t) {
    FValue v;
    v.kind_ = Kind::Text;
    v.text_ = t;
    return v;
}
FValue FValue::date(CalDate d) {
    FValue v;
    v.kind_ = Kind::Date;
    v.date_ = d;
    return v;
}
FValue FValue::time(TimeOfDay t) {
    FValue v;
    v.kind_ = Kind::Time;
    v.time_ = t;
    return v;
}

bool FValue::toBool() const {
    switch (kind_) {
    case Kind::Bool:
    case Kind::Number:
        return num_ != 0;
    case Kind::Text:
        return !text_.isEmpty();
    default:
        return !isNull();
    }
}

QString FValue::display() const {
    switch (kind_) {
    case Kind::Null:
        return QString();
    case Kind::Bool:
        return num_ != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Number:
        if (std::floor(num_) == num_ && std::fabs(num_) < 1e15)
            return QString::number(qint64(num_));
        return amountText(num_, 2);
    case Kind::Text:
        return text_;
    case Kind::Date:
        return date_.toShortDate();
    case Kind::Time:
        return time_.toHm();
    }
    return QString();
}

QString FValue::kindName(Kind k) {
    switch (k) {
    case Kind::Null:
        return QStringLiteral("Null");
    case Kind::Bool:
        return QStringLiteral("True/False");
    case Kind::Number:
        return QStringLiteral("a number");
    case Kind::Text:
        return QStringLiteral("text");
    case Kind::Date:
        return QStringLiteral("a date");
    case Kind::Time:
        return QStringLiteral("a time");
    }
    return QString();
}

namespace {

char16_t foldUnit(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

// UTF-16 units reordered so that surrogates (characters beyond U+FFFF) sort
// after U+E000..U+FFFF, as their code points do.
int codePointRank(char16_t c) {
    if (c >= 0xE000)
        return c - 0x800;
    if (c >= 0xD800)
        return c + 0x2000;
    return c;
}

} // namespace

int compareText(QStringView a, QStringView b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = foldUnit(a[i].unicode()), y = foldUnit(b[i].unicode());
        if (x != y)
            return codePointRank(x) < codePointRank(y) ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::optional<CalDate> storedDate(QStringView t) {
    if (t.size() != 10 || t[4] != u'-' || t[7] != u'-')
        return std::nullopt;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (t[i] < u'0' || t[i] > u'9')
            return std::nullopt;
    return CalDate::fromYmd(t.left(4).toInt(), t.mid(5, 2).toInt(), t.mid(8, 2).toInt());
}

std::optional<TimeOfDay> storedTime(QStringView t) {
    if (t.size() != 5 || t[2] != u':')
        return std::nullopt;
    for (int i : {0, 1, 3, 4})
        if (t[i] < u'0' || t[i] > u'9')
            return std::nullopt;
    return TimeOfDay::fromHm(t.left(2).toInt(), t.mid(3, 2).toInt());
}

QString foldText(QStringView t) { return db::sql::nocaseKey(t); }

int FValue::compare(const FValue& a, const FValue& b) {
    const auto sign = [](auto x, auto y) { return x < y ? -1 : (y < x ? 1 : 0); };
    const bool numA = a.kind_ == Kind::Number || a.kind_ == Kind::Bool;
    const bool numB = b.kind_ == Kind::Number || b.kind_ == Kind::Bool;
    if (numA && numB)
        return sign(a.num_, b.num_);
    if (a.kind_ != b.kind_)
        return sign(int(a.kind_), int(b.kind_));
    switch (a.kind_) {
    case Kind::Text:
        return compareText(a.text_, b.text_);
    case Kind::Date:
        return sign(a.date_, b.date_);
    case Kind::Time:
        return sign(a.time_, b.time_);
    default:
        return 0;
    }
}

QString FormulaError::fullText() const {
    if (position_ <= 0)
        return message_;
    return message_ + QStringLiteral(" (at position %1)").arg(position_);
}

} // namespace plax::print
