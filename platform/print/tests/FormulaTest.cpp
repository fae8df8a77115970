#include "platform/print/Formula.h"

#include <gtest/gtest.h>

namespace plax::print {
namespace {

using Row = std::vector<FValue>;

// One record with a few typical fields.
struct Record {
    std::vector<QString> names{QStringLiteral("Employee.ID"), QStringLiteral("Employee.Status"),
                               QStringLiteral("Holidays.TDate"), QStringLiteral("Absence.Week"),
                               QStringLiteral("Employee.DepartmentNo"), QStringLiteral("Employee.LastName")};
    Row row{FValue::text(QStringLiteral("AB12")), FValue::number(1), FValue::date(CalDate::ymd(2024, 7, 4)),
            FValue::number(27), FValue(), FValue::text(QStringLiteral("O'Brien"))};

    Formula bind(const QString& text) const {
        Formula f = Formula::parse(text);
        f.bind(
            [this](const QString& t, const QString& fld) {
                for (size_t i = 0; i < names.size(); ++i)
                    if (names[i].compare(t + QLatin1Char('.') + fld, Qt::CaseInsensitive) == 0)
                        return int(i);
                return -1;
            },
            [](const QString&) { return -1; });
        return f;
    }
    FValue eval(const QString& text) const {
        EvalContext c;
        c.row = &row;
        return bind(text).evaluate(c);
    }
    bool select(const QString& text) const {
        EvalContext c;
        c.row = &row;
        return bind(text).select(c);
    }
};
TEST(Formula, SelectionsAsTheScreensWriteThem) {
    const Record r;
    EXPECT_TRUE(r.select(QString()));
    EXPECT_TRUE(r.select(QStringLiteral("   ")));
    EXPECT_TRUE(r.select(QStringLiteral("{Employee.ID} = 'AB12'")));
    EXPECT_TRUE(r.select(QStringLiteral("{Employee.ID} = 'ab12'"))) << "text ignores case";
    EXPECT_FALSE(r.select(QStringLiteral("{Employee.ID} = 'AB1'")));
    EXPECT_TRUE(r.select(QStringLiteral("{Employee.Status} = True ")));
    EXPECT_FALSE(r.select(QStringLiteral("{Employee.Status} = False ")));
    EXPECT_TRUE(r.select(QStringLiteral("{Absence.Week} = 27")));
    EXPECT_TRUE(r.select(QStringLiteral("Year ({Holidays.TDate}) = 2024")));
    EXPECT_TRUE(r.select(QStringLiteral("year({holidays.tdate}) = 2024"))) << "names and keywords ignore case";
    EXPECT_TRUE(r.select(QStringLiteral("{Holidays.TDate} in Date (2024, 07, 04) To Date (2024, 07, 31)")));
    EXPECT_TRUE(r.select(QStringLiteral("{Holidays.TDate} in Date (2024, 07, 01) To Date (2024, 07, 04)")));
    EXPECT_FALSE(r.select(QStringLiteral("{Holidays.TDate} in Date (2024, 07, 05) To Date (2024, 07, 31)")));
    EXPECT_TRUE(r.select(QStringLiteral("IsNull ({Employee.DepartmentNo})")));
    EXPECT_TRUE(r.select(QStringLiteral("{Holidays.TDate} in Date (2024, 07, 01) To Date (2024, 07, 31) AND "
                                        "({Employee.ID} = 'X' OR {Employee.ID} = 'AB12')")));
    EXPECT_FALSE(r.select(QStringLiteral("{Employee.ID} = 'X' OR {Employee.ID} = 'AB12' AND False")))
        << "AND binds tighter than OR";
    EXPECT_TRUE(r.select(QStringLiteral("Not ({Employee.ID} = 'X')")));
    EXPECT_TRUE(r.select(QStringLiteral("{Holidays.TDate} >= Date (2024, 1, 1) AND {Absence.Week} <> 3 AND "
                                        "{Absence.Week} < 28 AND {Absence.Week} > 26 AND {Absence.Week} <= 27")));
}

TEST(Formula, NullComparisonsSelectNothingAndLogicFollowsThreeValues) {
    const Record r;
    EXPECT_FALSE(r.select(QStringLiteral("{Employee.DepartmentNo} = 'PRD'")));
    EXPECT_FALSE(r.select(QStringLiteral("{Employee.DepartmentNo} <> 'PRD'")));
    EXPECT_TRUE(r.select(QStringLiteral("{Employee.DepartmentNo} = 'PRD' OR {Employee.Status} = True")));
    EXPECT_TRUE(r.eval(QStringLiteral("{Employee.DepartmentNo} = 'PRD' AND True")).isNull());
    EXPECT_FALSE(r.eval(QStringLiteral("{Employee.DepartmentNo} = 'PRD' AND False")).toBool());
}

TEST(Formula, ValuesForLayouts) {
    const Record r;
    EXPECT_EQ(r.eval(QStringLiteral("'Northwind'")).toText(), QStringLiteral("Northwind"));
    EXPECT_EQ(r.eval(QStringLiteral("{Employee.LastName} & ', ' & {Employee.ID}")).toText(),
              QStringLiteral("O'Brien, AB12"));
    EXPECT_EQ(r.eval(QStringLiteral("{Absence.Week} * 2 + 1 - 3 / 3")).toNumber(), 54);
    EXPECT_EQ(r.eval(QStringLiteral("-{Absence.Week}")).toNumber(), -27);
    EXPECT_TRUE(r.eval(QStringLiteral("{Absence.Week} / 0")).isNull());
    EXPECT_EQ(r.eval(QStringLiteral("True")).kind(), FValue::Kind::Bool);
    EXPECT_EQ(r.eval(QStringLiteral("Date (2024, 02, 29)")).toDate(), CalDate::ymd(2024, 2, 29));
    EXPECT_EQ(r.eval(QStringLiteral("If {Absence.Week} > 26 Then 'late' Else 'early'")).toText(), QStringLiteral("late"));
    EXPECT_TRUE(r.eval(QStringLiteral("If {Employee.DepartmentNo} = 'X' Then 1")).isNull());
}

TEST(Formula, AQuoteInsideATextBelongsToTheText) {
    // Values go between the quotes unchanged: O'Brien is not doubled.
    const Record r;
    EXPECT_TRUE(r.select(QStringLiteral("{Employee.LastName} = 'O'Brien'")));
    EXPECT_TRUE(r.select(QStringLiteral("{Employee.LastName} = 'O'Brien' AND {Employee.ID} = 'AB12'")));
    EXPECT_EQ(r.eval(QStringLiteral("'Jack's Tools'")).toText(), QStringLiteral("Jack's Tools"));
    EXPECT_EQ(r.eval(QStringLiteral("'it''s'")).toText(), QStringLiteral("it''s"));
}

struct Bad {
    const char* text;
    int position;
    const char* message;
};

TEST(Formula, MalformedFormulasNameTheFaultAndItsPosition) {
    const Bad cases[] = {
        {"{Employee.ID} = ", 17, "A value expected, found the end of the formula"},
        {"{Employee.ID = 'x'", 1, "no closing brace"},
        {"{Employee.ID} = 'abc", 17, "no closing quote"},
        {"{Employee} = 1", 1, "A field is written {Table.Field}"},
        {"Date (2023, 02, 30)", 1, "is not a valid date"},
        {"Date (2023, 02)", 15, "',' expected"},
        {"Date (2023.5, 02, 01)", 7, "year of the date must be a whole number"},
        {"{Holidays.TDate} in Date (2024, 1, 1) Date (2024, 2, 1)", 39, "'To' expected"},
        {"Year {Holidays.TDate} = 2024", 6, "'(' after Year"},
        {"Month ({Holidays.TDate}) = 1", 1, "Unknown word 'Month'"},
        {"{Employee.ID} = 'a' AND", 24, "A value expected"},
        {"(1 = 1", 7, "')' expected"},
        {"1 = 1)", 6, "Unexpected ')'"},
        {"{Absence.Week} = 3 # 4", 20, "The character '#' is not allowed"},
        {"{Absence.Week} = 12ab", 18, "'12a' is not a number"},
        {"{Employee.ID} 'x'", 15, "Unexpected the text 'x'"},
        {"If True 1 Else 2", 9, "'Then' expected"},
    };
    for (const Bad& b : cases) {
        try {
            (void)Formula::parse(QString::fromLatin1(b.text));
            ADD_FAILURE() << "accepted: " << b.text;
        } catch (const FormulaError& e) {
            EXPECT_EQ(e.position(), b.position) << b.text << " -> " << e.fullText().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromLatin1(b.message)))
                << b.text << " -> " << e.message().toStdString();
        }
    }
}

TEST(Formula, DeepNestingAndHugeDatePartsAreRefusedWithTheirErrorText) {
    const auto messageOf = [](const QString& text) {
        try {
            (void)Formula::parse(text);
        } catch (const FormulaError& e) {
            return e.message();
        }
        return QStringLiteral("accepted");
    };
    const QString tooDeep = QStringLiteral("The formula is nested too deeply (more than 100 levels)");
    EXPECT_EQ(messageOf(QString(5000, QLatin1Char('(')) + QLatin1Char('1') + QString(5000, QLatin1Char(')'))),
              tooDeep);
    EXPECT_EQ(messageOf(QStringLiteral("Not ").repeated(5000) + QStringLiteral("True")), tooDeep);
    EXPECT_EQ(messageOf(QStringLiteral("-").repeated(5000) + QStringLiteral("1")), tooDeep);
    EXPECT_EQ(messageOf(QStringLiteral("1") + QStringLiteral(" + 1").repeated(5000)), tooDeep);
    EXPECT_EQ(messageOf(QStringLiteral("Year (").repeated(5000)), tooDeep);
    EXPECT_EQ(messageOf(QString(99, QLatin1Char('(')) + QLatin1Char('1') + QString(99, QLatin1Char(')'))),
              QStringLiteral("accepted"));

    // A long chain of alternatives is not deep: each term is one level down.
    const Record r;
    EXPECT_TRUE(r.select(QStringLiteral("{Employee.ID} = 'x' OR ").repeated(1000) + QStringLiteral("{Employee.ID} = 'AB12'")));
    EXPECT_FALSE(r.select(QStringLiteral("{Absence.Week} = 27 AND ").repeated(1000) + QStringLiteral("False")));

    EXPECT_EQ(messageOf(QStringLiteral("Date (2024, 99999999999, 1)")),
              QStringLiteral("Date (2024, 99999999999, 1) is not a valid date"));
    EXPECT_EQ(messageOf(QStringLiteral("Date (-99999999999999999999, 1, 1)")),
              QStringLiteral("Date (-99999999999999999999, 1, 1) is not a valid date"));
    EXPECT_EQ(messageOf(QStringLiteral("Date (2024, 1, ") + QString(400, QLatin1Char('9')) + QLatin1Char(')')),
              QStringLiteral("Date (2024, 1, %1) is not a valid date").arg(QString(400, QLatin1Char('9'))));
}

TEST(Formula, UnknownFieldsAndWrongTypesAreReportedWithTheirPosition) {
    const Record r;
    try {
        r.bind(QStringLiteral("{Employee.ID} = 'x' AND {Employee.Nmae} = 'y'"));
        ADD_FAILURE();
    } catch (const UnknownFieldError& e) {
        EXPECT_EQ(e.position(), 25);
        EXPECT_EQ(e.message(), QStringLiteral("Unknown field {Employee.Nmae}"));
    }
    try {
        r.select(QStringLiteral("{Employee.ID} = 5"));
        ADD_FAILURE();
    } catch (const TypeError& e) {
        EXPECT_EQ(e.position(), 15);
        EXPECT_EQ(e.message(), QStringLiteral("Cannot compare text and a number"));
    }
    EXPECT_THROW(r.select(QStringLiteral("{Absence.Week}")), TypeError);
    EXPECT_THROW(r.select(QStringLiteral("Year ({Employee.ID}) = 1")), TypeError);
    EXPECT_THROW(r.select(QStringLiteral("{Employee.ID} AND True")), TypeError);
}

TEST(Formula, DatesAndTimesCompareWithTheirIsoText) {
    const Record r;
    EXPECT_TRUE(r.select(QStringLiteral("{Holidays.TDate} = '2024-07-04'")));
    EXPECT_TRUE(r.select(QStringLiteral("{Holidays.TDate} < '2024-12-31'")));
}

TEST(Formula, FieldReferenceParsing) {
    QString t, f;
    EXPECT_TRUE(parseFieldReference(QStringLiteral("{Schedule Days.TheDay}"), &t, &f));
    EXPECT_EQ(t, QStringLiteral("Schedule Days"));
    EXPECT_EQ(f, QStringLiteral("TheDay"));
    EXPECT_FALSE(parseFieldReference(QStringLiteral("Employee.ID"), &t, &f));
    EXPECT_FALSE(parseFieldReference(QStringLiteral("{@SortOrder}"), &t, &f));
}

} // namespace
} // namespace plax::print
