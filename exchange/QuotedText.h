#pragma once
// The quoted comma-separated text of the personnel and attendance exports
// and the personnel import: one record per line, every value in double
// quotes, values separated by one comma, lines ended by CR LF.
//
// Files are written in the one-byte Windows code page (Windows-1252), as
// they always were, when every value fits it; otherwise in UTF-8 behind a
// byte-order mark, so no character is lost. The reader takes the encoding a
// byte-order mark names (UTF-8, UTF-16), else valid UTF-8 as UTF-8 and
// anything else as Windows-1252 (core/text/TextEncoding.h).
//
// A double quote inside a value is written doubled, so that values holding
// quotes, commas or line breaks read back as they were written. The reader
// also takes a lone quote inside a quoted value literally, as older files
// wrote them undoubled.

#include "FieldTable.h"
#include "core/text/TextEncoding.h"
#include "platform/db/Value.h"

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>
#include <vector>

namespace plax::exchange {

// The text of a stored value: Null and the text "NULL" give "", numbers
// their plain decimal text, dates the short date, times the time of day,
// Booleans "True" or "False", any other text as stored.
QString valueText(const db::Value& value, ColumnKind kind);

using text::kUtf8Bom;
using text::TextEncoding;

// The encoding a line of these texts needs: Windows-1252 when every text
// fits it, else UTF-8. A file is written in Windows-1252 when every line is.
TextEncoding encodingFor(const QStringList& texts);

// One line: each text quoted, separated by commas, ended by CR LF.
QByteArray quotedLine(const QStringList& texts, TextEncoding encoding = TextEncoding::Windows1252);

// A value as read from a file: `quoted` tells "" (an empty value written
// in quotes) from nothing at all between two commas.
struct RawValue {
    QString text;
    bool quoted = false;
    bool isEmpty() const { return text.isEmpty() && !quoted; }
};
using Record = std::vector<RawValue>;

// A value longer than the reader's limit; `line` is the line of the file
// (counted from 1) on which its record starts.
class ValueTooLong : public std::runtime_error {
public:
    explicit ValueTooLong(qint64 line) : std::runtime_error("value too long"), line(line) {}
    qint64 line;
};

// Splits a file into records, reading it a piece at a time. A line break
// inside quotes belongs to the value; an empty line gives an empty record.
// A record keeps its first `maxValues` values (the rest are read past); a
// value longer than `maxValueLength` characters raises ValueTooLong, so a
// damaged file never fills the memory.
class QuotedReader {
public:
    static constexpr qsizetype kMaxValueLength = 1'000'000;

    // `in` must be open for reading and able to seek back to its start (the
    // encoding is found by a first pass over the bytes).
    explicit QuotedReader(QIODevice& in, qsizetype maxValues = kMaxValuesPerLine,
                          qsizetype maxValueLength = kMaxValueLength);
    explicit QuotedReader(const QByteArray& contents, qsizetype maxValues = kMaxValuesPerLine,
                          qsizetype maxValueLength = kMaxValueLength);
    QuotedReader(const QuotedReader&) = delete;
    QuotedReader& operator=(const QuotedReader&) = delete;

    TextEncoding encoding() const { return encoding_; }
    bool atEnd() { return peek(0) < 0; }
    Record next();
    // The line on which the record last returned by next() started.
    qint64 recordLine() const { return recordLine_; }

private:
    void start();
    // The character `ahead` places on, or -1 at the end of the file.
    int peek(qsizetype ahead);
    void advance(qsizetype n = 1);
    void append(RawValue& v, char16_t c);

    QBuffer ownBuffer_;
    QIODevice* in_;
    qsizetype maxValues_;
    qsizetype maxValueLength_;
    TextEncoding encoding_ = TextEncoding::Windows1252;
    std::optional<text::TextDecoder> decoder_;
    QString text_; // decoded and not yet taken
    qsizetype pos_ = 0;
    qint64 line_ = 1;
    qint64 recordLine_ = 0;
};

// A text from a file turned into a value of the column's kind; raises the
// engine's conversion error (3421) when it does not convert.
db::Value convertText(const QString& text, ColumnKind kind);
constexpr int kConversionError = 3421;

} // namespace plax::exchange
