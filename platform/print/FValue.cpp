#include "Formula.h"

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
        return QString::number(num_, 'f', 2);
    case Kind::Text:
        return text_;
    case Kind::Date:
        return date_.toMdy4();
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
        return QString::compare(a.text_, b.text_, Qt::CaseInsensitive);
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
