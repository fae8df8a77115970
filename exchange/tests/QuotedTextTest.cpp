#include "exchange/QuotedText.h"
#include "core/text/Windows1252.h"
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

TEST(QuotedText, FilesReadInTheEncodingTheyWereWrittenIn) {
    const QString mixed = QStringLiteral("\u0141\u00f3d\u017a \u20ac \u03a3 \u041f\u0451\u0442\u0440 \u738b \U0001F642");
    const auto firstText = [](const QByteArray& bytes, TextEncoding expected) {
        QuotedReader r(bytes);
        EXPECT_EQ(r.encoding(), expected);
        const Record rec = r.next();
        return rec.empty() ? QString() : rec[0].text;
    };
    // UTF-8 behind a byte-order mark, and valid UTF-8 without one.
    EXPECT_EQ(firstText(kUtf8Bom + quotedLine({mixed}, TextEncoding::Utf8), TextEncoding::Utf8), mixed);
    EXPECT_EQ(firstText(quotedLine({mixed}, TextEncoding::Utf8), TextEncoding::Utf8), mixed);
    // UTF-16 behind its byte-order mark, either way round.
    const QString line = QLatin1Char('"') + mixed + QStringLiteral("\",\"x\"\r\n");
    EXPECT_EQ(firstText("\xFF\xFE" + text::encode(line, TextEncoding::Utf16LE), TextEncoding::Utf16LE), mixed);
    EXPECT_EQ(firstText("\xFE\xFF" + text::encode(line, TextEncoding::Utf16BE), TextEncoding::Utf16BE), mixed);
    // Windows-1252: its own characters in 0x80-0x9F, Latin-1 above, and the
    // undefined bytes as the control characters of the same number.
    const QString western = QStringLiteral("\u20ac\u0160\u201c\u00e9\u201d\u0081\u009d\u00ff");
    ASSERT_TRUE(encodingFor({western, "plain"}) == TextEncoding::Windows1252);
    EXPECT_EQ(quotedLine({western}), QByteArray("\"\x80\x8a\x93\xe9\x94\x81\x9d\xff\"\r\n"));
    EXPECT_EQ(firstText(quotedLine({western}), TextEncoding::Windows1252), western);
    EXPECT_TRUE(encodingFor({western, mixed}) == TextEncoding::Utf8);
    // One byte that is no UTF-8 far down the file, or a sequence cut off at
    // the end of a file that is ASCII before it, makes the whole file
    // Windows-1252; a file cut inside a character after others of UTF-8
    // stays UTF-8 and loses only the cut character.
    const QByteArray ascii(200000, 'a');
    EXPECT_EQ(firstText(ascii + "\xe9", TextEncoding::Windows1252), QString::fromLatin1(ascii) + u'\u00e9');
    EXPECT_EQ(firstText("\"x\"\r\n\xc3", TextEncoding::Windows1252), "x");
    EXPECT_EQ(firstText(quotedLine({mixed}, TextEncoding::Utf8) + "\"\xc3", TextEncoding::Utf8), mixed);
    for (const char* bad : {"\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xe0\x80\xaf"}) // overlong, surrogate, too large
        EXPECT_EQ(firstText(bad, TextEncoding::Windows1252), text::cp1252::decode(bad)) << bad;
    // A character whose bytes straddle two of the reader's pieces.
    const QByteArray split = QByteArray(64 * 1024 - 1, 'b') + QStringLiteral("\u738b").toUtf8();
    EXPECT_EQ(firstText(split, TextEncoding::Utf8), QString::fromUtf8(split));
}

TEST(QuotedText, ReaderBoundsWhatItKeepsAndCountsLines) {
    // Lines end with CR LF, LF or CR; a break inside quotes is part of the value.
    QuotedReader r("\"a\"\r\n\"b\nc\"\n\"d\"\r\"" + QByteArray(11, 'x') + "\"\r\n", 2, 10);
    EXPECT_EQ(textsOf(r.next()), QStringList{"a"});
    EXPECT_EQ(r.recordLine(), 1);
    EXPECT_EQ(textsOf(r.next()), QStringList{"b\nc"});
    EXPECT_EQ(r.recordLine(), 2);
    EXPECT_EQ(textsOf(r.next()), QStringList{"d"});
    EXPECT_EQ(r.recordLine(), 4);
    try {
        r.next();
        ADD_FAILURE() << "an 11-character value passed a limit of 10";
    } catch (const ValueTooLong& e) {
        EXPECT_EQ(e.line, 5);
    }
    // Values beyond the first ones kept are read past, however long.
    QuotedReader wide("1,2," + QByteArray(100, 'z') + ",4\r\n5", 2, 10);
    EXPECT_EQ(textsOf(wide.next()), (QStringList{"1", "2"}));
    EXPECT_EQ(textsOf(wide.next()), QStringList{"5"});
    EXPECT_TRUE(wide.atEnd());
}
