#include "QuotedText.h"

#include "core/types/Dates.h"
#include "platform/db/DbError.h"

#include <QLocale>
#include <QTime>
#include <cmath>

namespace plax::exchange {
namespace {

QLocale plainNumbers() {
    QLocale loc = QLocale::system();
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    return loc;
}

[[noreturn]] void conversionError() { throw db::DbError(kConversionError, QStringLiteral("Data type conversion error.")); }

bool isLineEnd(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

std::optional<double> toNumber(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    double d = plainNumbers().toDouble(t, &ok);
    if (!ok)
        d = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

} // namespace

QString valueText(const db::Value& value, ColumnKind kind) {
    if (value.isNull())
        return QString();
    if (value.type() == db::Value::Type::Text && value.toString() == QLatin1String("NULL"))
        return QString();
    switch (kind) {
    case ColumnKind::Text:
        break;
    case ColumnKind::Number:
    case ColumnKind::Integer:
        if (value.type() == db::Value::Type::Integer)
            return QString::number(value.toInt());
        if (value.type() == db::Value::Type::Real)
            return plainNumbers().toString(value.toDouble(), 'f', QLocale::FloatingPointShortest);
        break;
    case ColumnKind::Date:
        if (const auto d = CalDate::fromIso(value.toString()))
            return d->toShortDate();
        break;
    case ColumnKind::Time:
        if (const auto t = TimeOfDay::parse(value.toString()))
            return QLocale::system().toString(QTime(t->hour(), t->minute()), QLocale::ShortFormat);
        break;
    case ColumnKind::Boolean:
        return value.toInt() != 0 ? QStringLiteral("True") : QStringLiteral("False");
    }
    return value.toString();
}

QByteArray quotedLine(const QStringList& texts) {
    QByteArray line;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            line += ',';
        QString t = texts[i];
        t.replace(QLatin1Char('"'), QLatin1String("\"\""));
        line += '"';
        line += t.toLatin1();
        line += '"';
    }
    line += "\r\n";
    return line;
}

Record QuotedReader::next() {
    Record rec;
    const qsizetype n = text_.size();
    if (pos_ < n && !isLineEnd(text_[pos_])) {
        for (;;) {
            RawValue v;
            if (pos_ < n && text_[pos_] == QLatin1Char('"')) {
                v.quoted = true;
                ++pos_;
                while (pos_ < n) {
                    const QChar c = text_[pos_];
                    if (c == QLatin1Char('"')) {
                        if (pos_ + 1 < n && text_[pos_ + 1] == QLatin1Char('"')) {
                            v.text += c;
                            pos_ += 2;
                            continue;
                        }
                        if (pos_ + 1 >= n || text_[pos_ + 1] == QLatin1Char(',') || isLineEnd(text_[pos_ + 1])) {
                            ++pos_;
                            break;
                        }
                    }
                    v.text += c;
                    ++pos_;
                }
            }
            // Unquoted text, or anything between a closing quote and the comma.
            while (pos_ < n && text_[pos_] != QLatin1Char(',') && !isLineEnd(text_[pos_]))
                v.text += text_[pos_++];
            rec.push_back(std::move(v));
            if (pos_ < n && text_[pos_] == QLatin1Char(',')) {
                ++pos_;
                continue;
            }
            break;
        }
    }
    // The line end: CR LF, LF or CR alone.
    if (pos_ < n && text_[pos_] == QLatin1Char('\r'))
        ++pos_;
    if (pos_ < n && text_[pos_] == QLatin1Char('\n'))
        ++pos_;
    return rec;
}

db::Value convertText(const QString& text, ColumnKind kind) {
    switch (kind) {
    case ColumnKind::Text:
        return text;
    case ColumnKind::Number:
        if (const auto d = toNumber(text))
            return *d;
        conversionError();
    case ColumnKind::Integer:
        if (const auto d = toNumber(text); d && std::fabs(*d) < 1e15)
            return qint64(std::llround(*d));
        conversionError();
    case ColumnKind::Date:
        if (const auto d = parseDate(text.trimmed()))
            return *d;
        conversionError();
    case ColumnKind::Time:
        if (const auto t = TimeOfDay::parse(text.trimmed()))
            return *t;
        conversionError();
    case ColumnKind::Boolean: {
        const QString t = text.trimmed().toLower();
        if (t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("on"))
            return true;
        if (t == QLatin1String("false") || t == QLatin1String("no") || t == QLatin1String("off"))
            return false;
        if (const auto d = toNumber(t))
            return *d != 0;
        conversionError();
    }
    }
    return text;
}

} // namespace plax::exchange
