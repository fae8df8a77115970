#pragma once
// The quoted comma-separated text of the personnel and attendance exports
// and the personnel import: one record per line, every value in double
// quotes, values separated by one comma, lines ended by CR LF, one byte
// per character (Latin-1).
//
// A double quote inside a value is written doubled, so that values holding
// quotes, commas or line breaks read back as they were written. The reader
// also takes a lone quote inside a quoted value literally, as older files
// wrote them undoubled.

#include "FieldTable.h"
#include "platform/db/Value.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace plax::exchange {

// The text of a stored value: Null and the text "NULL" give "", numbers
// their plain decimal text, dates the short date, times the time of day,
// Booleans "True" or "False", any other text as stored.
QString valueText(const db::Value& value, ColumnKind kind);

// One line: each text quoted, separated by commas, ended by CR LF.
QByteArray quotedLine(const QStringList& texts);

// A value as read from a file: `quoted` tells "" (an empty value written
// in quotes) from nothing at all between two commas.
struct RawValue {
    QString text;
    bool quoted = false;
    bool isEmpty() const { return text.isEmpty() && !quoted; }
};
using Record = std::vector<RawValue>;

// Splits file contents into records. A line break inside quotes belongs to
// the value; an empty line gives an empty record.
class QuotedReader {
public:
    explicit QuotedReader(const QByteArray& contents) : text_(QString::fromLatin1(contents)) {}
    bool atEnd() const { return pos_ >= text_.size(); }
    Record next();

private:
    QString text_;
    qsizetype pos_ = 0;
};

// A text from a file turned into a value of the column's kind; raises the
// engine's conversion error (3421) when it does not convert.
db::Value convertText(const QString& text, ColumnKind kind);
constexpr int kConversionError = 3421;

} // namespace plax::exchange
