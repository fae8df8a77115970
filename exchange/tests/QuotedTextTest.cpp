#include "exchange/QuotedText.h"
#include "platform/db/DbError.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace plax;
using namespace plax::exchange;

namespace {

std::vector<Record> readAll(const QByteArray& bytes) {
    QuotedReader r(bytes);
    std::vector<Record> out;
    while (!r.atEnd())
        out.push_back(r.next());
    return out;
}

QStringList textsOf(const Record& rec) {
    QStringList out;
    for (const RawValue& v : rec)
        out << v.text;
    return out;
}

} // namespace

TEST(QuotedText, LineIsQuotedCommaSeparatedWithCrLf) {
    EXPECT_EQ(quotedLine({"a", "", " b "}), QByteArray("\"a\",\"\",\" b \"\r\n"));
    EXPECT_EQ(quotedLine({}), QByteArray("\r\n"));
}

TEST(QuotedText, AwkwardValuesReadBackAsWritten) {
    const QStringList values = {"He said \"hi\"", "Smith, Jr.", "line one\r\nline two", "", "\"", ",\",\"",
                                QStringLiteral("caf\u00e9")};
    const QByteArray bytes = quotedLine(values) + quotedLine({"next"});
    const auto records = readAll(bytes);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(textsOf(records[0]), values);
    EXPECT_TRUE(records[0][3].quoted);
    EXPECT_EQ(textsOf(records[1]), QStringList{"next"});
}

TEST(QuotedText, ReaderTakesUnquotedMissingAndOldStyleValues) {
    // Unquoted values, nothing between two commas, an undoubled quote inside
    // a quoted value, an LF-only line end and a last line without one.
    const auto records = readAll("abc,,\"5\" wide\",\"x\"\n\nlast");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(textsOf(records[0]), (QStringList{"abc", "", "5\" wide", "x"}));
    EXPECT_FALSE(records[0][0].quoted);
    EXPECT_TRUE(records[0][1].isEmpty());
    EXPECT_TRUE(records[1].empty());
    EXPECT_EQ(textsOf(records[2]), QStringList{"last"});
}

TEST(QuotedText, ValueTextByKind) {
    EXPECT_EQ(valueText(db::Value(), ColumnKind::Text), "");
    EXPECT_EQ(valueText(db::Value("NULL"), ColumnKind::Text), "");
    EXPECT_EQ(valueText(db::Value("Null"), ColumnKind::Text), "Null");
    EXPECT_EQ(valueText(db::Value("  x "), ColumnKind::Text), "  x ");
    EXPECT_EQ(valueText(db::Value(12.0), ColumnKind::Number), "12");
    EXPECT_EQ(valueText(db::Value(1234567.5), ColumnKind::Number).remove(QRegularExpression("[.,]")), "12345675");
    EXPECT_EQ(valueText(db::Value(qint64(3)), ColumnKind::Integer), "3");
    EXPECT_EQ(valueText(db::Value(1), ColumnKind::Boolean), "True");
    EXPECT_EQ(valueText(db::Value(0), ColumnKind::Boolean), "False");
    EXPECT_EQ(valueText(db::Value("2026-03-05"), ColumnKind::Date), CalDate::ymd(2026, 3, 5).toShortDate());
    EXPECT_FALSE(valueText(db::Value("08:05"), ColumnKind::Time).isEmpty());
}

TEST(QuotedText, ConversionBackToStoredValues) {
    EXPECT_EQ(convertText("12.5", ColumnKind::Number), db::Value(12.5));
    EXPECT_EQ(convertText("2", ColumnKind::Integer), db::Value(qint64(2)));
    EXPECT_EQ(convertText("True", ColumnKind::Boolean), db::Value(true));
    EXPECT_EQ(convertText("false", ColumnKind::Boolean), db::Value(false));
    EXPECT_EQ(convertText("-1", ColumnKind::Boolean), db::Value(true));
    const CalDate d = CalDate::ymd(2026, 3, 5);
    EXPECT_EQ(convertText(d.toShortDate(), ColumnKind::Date), db::Value(d));
    for (auto [text, kind] : {std::pair{"abc", ColumnKind::Number}, {"", ColumnKind::Integer},
                              {"maybe", ColumnKind::Boolean}, {"31/31/31", ColumnKind::Date}}) {
        try {
            convertText(QString::fromLatin1(text), kind);
            ADD_FAILURE() << text;
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.number(), kConversionError);
        }
    }
}
