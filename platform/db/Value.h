#pragma once
// A database value that may be Null, as the screens and routines see it.

#include "core/types/Dates.h"

#include <QString>
#include <optional>
#include <variant>
#include <vector>

namespace plax::db {

class Value {
public:
    enum class Type { Null, Integer, Real, Text };

    Value() = default;
    Value(std::nullptr_t) {}
    Value(int v) : v_(qint64(v)) {}
    Value(qint64 v) : v_(v) {}
    Value(long v) : v_(qint64(v)) {}
    Value(double v) : v_(v) {}
    Value(bool v) : v_(qint64(v ? 1 : 0)) {}
    Value(const QString& v) : v_(v) {}
    Value(const char* v) : v_(QString::fromUtf8(v)) {}
    Value(CalDate d) : v_(d.toIso()) {}
    Value(TimeOfDay t) : v_(t.toHm()) {}
    template <typename T>
    Value(const std::optional<T>& o) {
        if (o)
            *this = Value(*o);
    }

    Type type() const { return Type(v_.index()); }
    bool isNull() const { return v_.index() == 0; }

    // Numbers from text read leniently: text that is not a number reads as 0.
    qint64 toInt() const;
    double toDouble() const;
    // Null reads as the empty text.
    QString toString() const;
    bool toBool() const { return toInt() != 0; }
    std::optional<CalDate> toDate() const;
    std::optional<TimeOfDay> toTime() const;

    bool operator==(const Value& o) const { return v_ == o.v_; }

private:
    std::variant<std::monostate, qint64, double, QString> v_;
};

using Params = std::vector<Value>;

} // namespace plax::db
