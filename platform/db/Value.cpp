#include "Value.h"

#include <cmath>

namespace plax::db {

qint64 Value::toInt() const {
    switch (type()) {
    case Type::Null:
        return 0;
    case Type::Integer:
        return std::get<qint64>(v_);
    case Type::Real: {
        // Round half to even, as the engine converts numbers to integers.
        const double d = std::get<double>(v_);
        return qint64(std::nearbyint(d));
    }
    case Type::Text: {
        const QString t = std::get<QString>(v_).trimmed();
        bool ok = false;
        const qint64 i = t.toLongLong(&ok);
        if (ok)
            return i;
        const double d = t.toDouble(&ok);
        return ok ? qint64(std::nearbyint(d)) : 0;
    }
    }
    return 0;
}

double Value::toDouble() const {
    switch (type()) {
    case Type::Null:
        return 0;
    case Type::Integer:
        return double(std::get<qint64>(v_));
    case Type::Real:
        return std::get<double>(v_);
    case Type::Text: {
        bool ok = false;
        const double d = std::get<QString>(v_).trimmed().toDouble(&ok);
        return ok ? d : 0;
    }
    }
    return 0;
}

QString Value::toString() const {
    switch (type()) {
    case Type::Null:
        return {};
    case Type::Integer:
        return QString::number(std::get<qint64>(v_));
    case Type::Real:
        return QString::number(std::get<double>(v_), 'g', 15);
    case Type::Text:
        return std::get<QString>(v_);
    }
    return {};
}

std::optional<CalDate> Value::toDate() const {
    if (type() != Type::Text)
        return std::nullopt;
    return CalDate::fromIso(std::get<QString>(v_));
}

std::optional<TimeOfDay> Value::toTime() const {
    if (type() != Type::Text)
        return std::nullopt;
    return TimeOfDay::parse(std::get<QString>(v_));
}

} // namespace plax::db
