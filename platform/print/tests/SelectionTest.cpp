// The record selection decided in the database gives the same records as
// the same selection evaluated row by row in memory.

#include "platform/print/ReportData.h"
#include "testing/TempCompany.h"

#include <gtest/gtest.h>
#include <random>

namespace plax::print {
namespace {

// Values of each column, chosen where SQL and the formula language could
// part: letter case, characters that NOCASE orders differently ('_', '['),
// letters beyond ASCII (and beyond U+FFFF), quotes, blanks, stored and
// unstored forms of dates and times, whole and decimal numbers, Nulls.
const QStringList kNames = {QStringLiteral("Ann"),    QStringLiteral("ann"), QStringLiteral("ANN"),
                            QStringLiteral("Bob"),    QStringLiteral("bob "), QStringLiteral("\u00c9mile"),
                            QStringLiteral("\u00e9mile"), QStringLiteral("O'Brien"), QStringLiteral("_x"),
                            QStringLiteral("[y"),     QStringLiteral("Zed"), QStringLiteral("zed"),
                            QString(),                QStringLiteral("a'b"), QStringLiteral("12"),
                            QStringLiteral("x' Or 'a'='a")};
const QStringList kCodes = {QStringLiteral("ab"),  QStringLiteral("AB"),     QStringLiteral("Ab"),
                            QStringLiteral("b"),   QStringLiteral("_"),      QStringLiteral("["),
                            QStringLiteral("a]"),  QStringLiteral("\u00df"), QStringLiteral("\U0001D49C"),
                            QStringLiteral("\uff21"), QStringLiteral("A'-1"), QStringLiteral("000")};
const QStringList kDepts = {QStringLiteral("PRD"), QStringLiteral("prd"), QStringLiteral("Nord"), QStringLiteral("No")};

class Generator {
public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }
    template <typename T>
    const T& oneOf(const std::vector<T>& v) { return v[size_t(pick(int(v.size())))]; }
    QString oneOf(const QStringList& v) { return v[pick(int(v.size()))]; }

    QString caseVariant(QString t) {
        if (chance(30))
            return t.toUpper();
        if (chance(30))
            return t.toLower();
        return t;
    }
    CalDate day() { return CalDate::ymd(2023, 12, 20).addDays(pick(400)); }

    // A constant for a column: mostly of its own kind, now and then not.
    QString constantFor(const QString& field) {
        const int k = chance(8) ? pick(6) : kindOf(field);
        switch (k) {
        case 0: // names and codes
            return formulaLiteral(caseVariant(chance(50) ? oneOf(kNames) : oneOf(kCodes)));
        case 1: { // dates, as literals or as texts in their stored form (or not)
            const CalDate d = day();
            if (chance(60))
                return QStringLiteral("Date (%1, %2, %3)").arg(d.year()).arg(d.month()).arg(d.day());
            return chance(80) ? QStringLiteral("'%1'").arg(d.toIso()) : QStringLiteral("'%1'").arg(d.toMdy4());
        }
        case 2: { // times, stored form or another the engine reads
            const int h = pick(24), m = pick(60);
            return chance(80) ? QStringLiteral("'%1:%2'").arg(h, 2, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0'))
                              : QStringLiteral("'%1:%2'").arg(h).arg(m, 2, 10, QLatin1Char('0'));
        }
        case 3: { // whole, decimal and negative numbers, True and False
            if (chance(15))
                return chance(50) ? QStringLiteral("True") : QStringLiteral("False");
            const QString n = chance(70) ? QString::number(pick(25)) : QString::number(pick(40) / 4.0, 'f', 2);
            return chance(20) ? QLatin1Char('-') + n : n;
        }
        case 4:
            return formulaLiteral(caseVariant(oneOf(kDepts)));
        default:
            return QStringLiteral("'No'");
        }
    }
    static int kindOf(const QString& field) {
        if (field.contains(QLatin1String("Day")))
            return 1;
        if (field.contains(QLatin1String("At")))
            return 2;
        if (field.contains(QLatin1String(".N}")) || field.contains(QLatin1String(".R}")) ||
            field.contains(QLatin1String("Id")))
            return 3;
        if (field.contains(QLatin1String("Dept")))
            return 4;
        return 0;
    }

    QString field() {
        static const QStringList fields = {QStringLiteral("{T.Name}"), QStringLiteral("{T.Code}"),
                                           QStringLiteral("{T.Day}"),  QStringLiteral("{T.At}"),
                                           QStringLiteral("{T.N}"),    QStringLiteral("{T.R}"),
                                           QStringLiteral("{T.Id}"),   QStringLiteral("{U.Dept}"),
                                           QStringLiteral("{U.Name}")};
        return oneOf(fields);
    }

    QString atom() {
        static const QStringList ops = {QStringLiteral("="),  QStringLiteral("<>"), QStringLiteral("<"),
                                        QStringLiteral(">"),  QStringLiteral("<="), QStringLiteral(">=")};
        const QString f = field();
        switch (pick(9)) {
        case 0:
        case 1:
            return f + QLatin1Char(' ') + oneOf(ops) + QLatin1Char(' ') + constantFor(f);
        case 2:
            return constantFor(f) + QLatin1Char(' ') + oneOf(ops) + QLatin1Char(' ') + f;
        case 3:
            return f + QStringLiteral(" in ") + constantFor(f) + QStringLiteral(" To ") + constantFor(f);
        case 4: {
            QStringList items;
            for (int i = pick(5); i >= 0; --i)
                items << constantFor(f);
            return f + QStringLiteral(" In [") + items.join(QStringLiteral(", ")) + QLatin1Char(']');
        }
        case 5: {
            const QString y = QString::number(2022 + pick(4));
            if (chance(30))
                return QStringLiteral("Year ({T.Day}) in %1 To %2").arg(y).arg(2023 + pick(3));
            return QStringLiteral("Year ({T.Day}) ") + oneOf(ops) + QLatin1Char(' ') + (chance(10) ? y + QStringLiteral(".5") : y);
        }
        case 6:
            return QStringLiteral("IsNull (%1)").arg(f);
        case 7: // terms only memory can judge
            switch (pick(4)) {
            case 0:
                return QStringLiteral("{T.Name} = {U.Name}");
            case 1:
                return QStringLiteral("{T.N} + 1 > {T.R}");
            case 2:
                return QStringLiteral("{@Double} < 10");
            default:
                return QStringLiteral("{T.Name} & 'x' = 'annx'");
            }
        default: // the shapes the report screens write
            switch (pick(4)) {
            case 0:
                return QStringLiteral("{T.N} = %1 AND Year ({T.Day}) = %2").arg(pick(25)).arg(2023 + pick(2));
            case 1:
                return QStringLiteral("{T.Day} in Date (2024, %1, 01) To Date (2024, %2, 28)").arg(1 + pick(6)).arg(6 + pick(6));
            case 2:
                return QStringLiteral("( IsNull({U.Dept})  OR {U.Dept} In ['Nord', 'PRD'])");
            default:
                return QStringLiteral("{T.Name} In %1").arg(formulaList({oneOf(kNames), oneOf(kNames), oneOf(kNames)}));
            }
        }
    }

    QString formula(int depth = 0) {
        if (depth >= 3 || chance(40))
            return atom();
        switch (pick(3)) {
        case 0:
            return QStringLiteral("Not (%1)").arg(formula(depth + 1));
        case 1:
            return QStringLiteral("(%1) AND (%2)").arg(formula(depth + 1), formula(depth + 1));
        default:
            return QStringLiteral("(%1) OR %2").arg(formula(depth + 1), formula(depth + 1));
        }
    }

    // One of the values of a column, or Null.
    db::Value value(int column) {
        if (chance(12))
            return db::Value();
        switch (column) {
        case 0:
            return oneOf(kNames);
        case 1:
            return oneOf(kCodes);
        case 2:
            return day();
        case 3:
            return TimeOfDay::fromMinutes(pick(1440));
        case 4:
            return pick(25);
        default:
            return pick(40) / 4.0;
        }
    }

private:
    std::mt19937 rng_;
};

struct Source {
    test::TempCompany company;
    ReportDefinition def;

    Source() {
        auto& db = company.db();
        db.executeScript(QStringLiteral(
            "CREATE TABLE T (Id INTEGER, Name TEXT COLLATE NOCASE, Code TEXT, Day TEXT, At TEXT, N INTEGER, R REAL);"
            "CREATE TABLE U (Name TEXT COLLATE NOCASE, Dept TEXT COLLATE NOCASE);"
            "CREATE INDEX T_Name ON T (Name); CREATE INDEX T_Day ON T (Day);"));
        Generator g(7);
        for (int i = 0; i < 300; ++i)
            db.execute(QStringLiteral("INSERT INTO T VALUES (?, ?, ?, ?, ?, ?, ?)"),
                       {i, g.value(0), g.value(1), g.value(2), g.value(3), g.value(4), g.value(5)});
        for (const QString& n : kNames)
            if (g.chance(70))
                db.execute(QStringLiteral("INSERT INTO U VALUES (?, ?)"),
                           {n, g.chance(20) ? db::Value() : db::Value(g.oneOf(kDepts))});
        def = ReportDefinition::parse(QStringLiteral("table T\ntable U left join on {U.Name} = {T.Name}\n"
                                                     "formula Double = {T.N} * 2\n"));
    }

    // The Ids the filters select, decided in SQL or in memory; "error" when
    // the selection stops with an error.
    QString select(const QStringList& texts, bool useDatabase, int* read = nullptr, SplitSelection* split = nullptr) {
        TableSource src(company.db(), def);
        DataSet data = src.emptySet();
        FormulaSet formulas;
        for (const FormulaDef& f : def.formulas)
            formulas.define(f.name, f.text);
        formulas.bind(data);
        std::vector<Formula> filters;
        for (const QString& t : texts) {
            filters.push_back(Formula::parse(t));
            formulas.bindOther(filters.back(), data);
        }
        if (split)
            *split = splitSelection(filters, src);
        try {
            const int n = selectRecords(src, filters, formulas, useDatabase, data);
            if (read)
                *read = n;
        } catch (const FormulaError&) {
            return QStringLiteral("error");
        }
        QList<int> ids;
        for (const Row& r : data.rows)
            ids << int(r[0].toNumber());
        std::sort(ids.begin(), ids.end());
        QStringList out;
        for (int id : ids)
            out << QString::number(id);
        return out.join(QLatin1Char(','));
    }
};

TEST(Selection, TheDatabaseSelectsTheRecordsMemoryWouldOnScreenAndRandomFormulas) {
    Source s;
    int compared = 0, pushedWhole = 0, pushedPart = 0;
    for (unsigned seed = 1; seed <= 1500; ++seed) {
        Generator g(seed);
        QStringList filters{g.formula()};
        if (g.chance(30))
            filters.prepend(g.formula()); // the definition's where
        const QString memory = s.select(filters, false);
        if (memory == QLatin1String("error"))
            continue; // a record the formula cannot judge: the old way stopped
        int readMemory = 0, readDatabase = 0;
        SplitSelection split;
        const QString database = s.select(filters, true, &readDatabase, &split);
        s.select(filters, false, &readMemory);
        ASSERT_EQ(database, memory) << "seed " << seed << ": " << filters.join(QStringLiteral(" ;; ")).toStdString()
                                    << "\nSQL: " << split.database.sql.toStdString();
        EXPECT_LE(readDatabase, readMemory);
        ++compared;
        if (!split.database.sql.isEmpty())
            ++(split.rest.empty() ? pushedWhole : pushedPart);
    }
    // Most formulas are compared, and most of those go to the database.
    EXPECT_GT(compared, 1000);
    EXPECT_GT(pushedWhole, compared / 3);
    EXPECT_GT(pushedPart, compared / 20);
}

TEST(Selection, AWrongKindOfConstantStillStopsWithItsError) {
    Source s;
    for (const char* f : {"{T.Day} = 'Monday'", "{T.Name} = Date (2024, 1, 1)", "{T.Name} = 5", "{T.N} = 'five'",
                          "Year ({T.Name}) = 2024", "{T.At} = '9.30'"}) {
        EXPECT_EQ(s.select({QString::fromLatin1(f)}, true), QStringLiteral("error")) << f;
        EXPECT_EQ(s.select({QString::fromLatin1(f)}, false), QStringLiteral("error")) << f;
    }
}

} // namespace
} // namespace plax::print
