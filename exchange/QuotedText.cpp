#include "QuotedText.h"

#include "core/text/Windows1252.h"
#include "core/types/Amounts.h"
#include "core/types/Dates.h"
#include "platform/db/DbError.h"

#include <QLocale>
#include <QTime>
#include <cmath>

namespace plax::exchange {
namespace {

[[noreturn]] void conversionError() { throw db::DbError(kConversionError, QStringLiteral("Data type conversion error.")); }

bool isLineEnd(int c) { return c == '\r' || c == '\n'; }

constexpr qint64 kChunk = 64 * 1024;

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
            return amountText(value.toDouble());
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

TextEncoding encodingFor(const QStringList& texts) {
    for (const QString& t : texts)
        if (!text::cp1252::fits(t))
            return TextEncoding::Utf8;
    return TextEncoding::Windows1252;
}

QByteArray quotedLine(const QStringList& texts, TextEncoding encoding) {
    QByteArray line;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            line += ',';
        QString t = texts[i];
        t.replace(QLatin1Char('"'), QLatin1String("\"\""));
        line += '"';
        line += text::encode(t, encoding);
        line += '"';
    }
    line += "\r\n";
    return line;
}

QuotedReader::QuotedReader(QIODevice& in, qsizetype maxValues, qsizetype maxValueLength)
    : in_(&in), maxValues_(maxValues), maxValueLength_(maxValueLength) {
    start();
}

QuotedReader::QuotedReader(const QByteArray& contents, qsizetype maxValues, qsizetype maxValueLength)
    : in_(&ownBuffer_), maxValues_(maxValues), maxValueLength_(maxValueLength) {
    ownBuffer_.setData(contents);
    ownBuffer_.open(QIODevice::ReadOnly);
    start();
}

void QuotedReader::start() {
    encoding_ = text::detectEncoding(*in_);
    decoder_.emplace(encoding_);
}

int QuotedReader::peek(qsizetype ahead) {
    while (pos_ + ahead >= text_.size()) {
        char buffer[4096];
        const qint64 n = in_->read(buffer, sizeof buffer);
        if (n <= 0)
            return -1;
        if (pos_ >= kChunk) {
            text_.remove(0, pos_);
            pos_ = 0;
        }
        const QByteArrayView chunk(buffer, n);
        text_ += decoder_->decode(chunk);
    }
    return text_[pos_ + ahead].unicode();
}

void QuotedReader::advance(qsizetype n) {
    for (; n > 0; --n) {
        const int c = peek(0);
        if (c < 0)
            return;
        // CR LF, LF and CR alone each end one line.
        if (c == '\n' || (c == '\r' && peek(1) != '\n'))
            ++line_;
        ++pos_;
    }
}

void QuotedReader::append(RawValue& v, char16_t c) {
    if (v.text.size() >= maxValueLength_)
        throw ValueTooLong(recordLine_);
    v.text += QChar(c);
}

Record QuotedReader::next() {
    Record rec;
    recordLine_ = line_;
    qsizetype count = 0;
    int c = peek(0);
    if (c >= 0 && !isLineEnd(c)) {
        for (;;) {
            // Values beyond the first maxValues_ are read past, not kept.
            const bool keep = count < maxValues_;
            RawValue v;
            if (peek(0) == '"') {
                v.quoted = true;
                advance();
                while ((c = peek(0)) >= 0) {
                    if (c == '"') {
                        const int after = peek(1);
                        if (after == '"') {
                            if (keep)
                                append(v, u'"');
                            advance(2);
                            continue;
                        }
                        if (after < 0 || after == ',' || isLineEnd(after)) {
                            advance();
                            break;
                        }
                    }
                    if (keep)
                        append(v, char16_t(c));
                    advance();
                }
            }
            // Unquoted text, or anything between a closing quote and the comma.
            while ((c = peek(0)) >= 0 && c != ',' && !isLineEnd(c)) {
                if (keep)
                    append(v, char16_t(c));
                advance();
            }
            if (keep)
                rec.push_back(std::move(v));
            ++count;
            if (peek(0) == ',') {
                advance();
                continue;
            }
            break;
        }
    }
    // The line end: CR LF, LF or CR alone.
    if (peek(0) == '\r')
        advance();
    if (peek(0) == '\n')
        advance();
    return rec;
}

db::Value convertText(const QString& text, ColumnKind kind) {
    switch (kind) {
    case ColumnKind::Text:
        return text;
    case ColumnKind::Number:
        // As the screens read amounts, so a file reads back as the export
        // wrote it on the same machine.
        if (const auto d = parseAmount(text))
            return *d;
        conversionError();
    case ColumnKind::Integer:
        if (const auto d = parseAmount(text); d && std::fabs(*d) < 1e15)
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
        if (const auto d = parseAmount(t))
            return *d != 0;
        conversionError();
    }
    }
    return text;
}

} // namespace plax::exchange
