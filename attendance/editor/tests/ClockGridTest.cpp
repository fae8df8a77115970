#include "attendance/editor/ClockGrid.h"
#include "attendance/editor/ClockGridModel.h"
#include "attendance/editor/GridErrors.h"
#include "platform/ui/Dialogs.h"
#include "testing/TempCompany.h"

#include <gtest/gtest.h>

using namespace plax;
using namespace plax::editor;
using db::Value;

namespace {

const CalDate kMon = CalDate::ymd(2024, 1, 8); // starts week 2 (WorkDay Monday)

class ClockGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        s.WorkDay = 2;
        s.RoundTotal = 5;
        shift("100", kMon, "08:00", 2, kMon, "16:00");
        shift("100", kMon.addDays(1), "08:00", 2, kMon.addDays(1), "16:02");
        shift("100", kMon.addDays(2), "08:00", 2, kMon.addDays(2), "17:00");
        shift("200", kMon.addDays(1), "07:00", 2, kMon.addDays(1), "15:00");
        shift("100", CalDate::ymd(2023, 1, 10), "08:00", 2, CalDate::ymd(2023, 1, 10), "12:00");
        shift("100", CalDate::ymd(2024, 12, 30), "08:00", 1, CalDate::ymd(2024, 12, 30), "12:00");
        shift("100", CalDate::ymd(2025, 1, 2), "08:00", 1, CalDate::ymd(2025, 1, 2), "12:00");
        for (int i = 0; i < 3; ++i)
            c.db().execute(QStringLiteral("INSERT INTO [Hours Worked] (EmpID, TDate, Week, [Straight Hrs]) "
                                          "VALUES ('100', ?, 2, 8)"),
                           {kMon.addDays(i)});
        grid.setChosenEmployee(QStringLiteral("100"));
        grid.load(week(kMon));
    }
    void shift(const char* id, CalDate d, const char* in, int week, CalDate out, const char* clockOut) {
        c.db().executeStrict(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, "
                                            "ClockOut, Recalculate) VALUES (?,?,?,?,?,?,0)"),
                             {id, d, week, in, out, clockOut});
    }
    static ClockPeriod week(CalDate start) {
        ClockPeriod p;
        p.payPeriodText = start.toShortDate();
        return p;
    }
    // The flagged dates of an employee, as ISO text.
    QStringList flagged(const char* id = "100") {
        db::Recordset rs = c.db().openRecordset(
            QStringLiteral("SELECT TDate FROM [Time Attendance] WHERE EmpID = ? AND Recalculate = 1 ORDER BY TDate"),
            {id});
        QStringList out;
        for (; !rs.eof(); rs.moveNext())
            out << rs.field(0).toString();
        return out;
    }
    int hoursWorkedRows() {
        return int(c.db().openRecordset(QStringLiteral("SELECT count(*) FROM [Hours Worked]")).field(0).toInt());
    }
    QString cell(int row, int col) { return grid.value(row, col).toString(); }

    test::TempCompany c;
    CompanySettings s;
    ClockGrid grid{c.db(), s};
    ui::ScriptedResponder r;
};

TEST_F(ClockGridTest, LoadsOneEmployeesWeekOrRange) {
    ASSERT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(cell(0, colTDate), QStringLiteral("2024-01-08"));
    EXPECT_EQ(cell(2, colClockOut), QStringLiteral("17:00"));

    // The week across New Year (week 1 of 2025) is one week: its days of
    // both years, and a shift before the day start on the day after its
    // last day; never the week 1 of another year, whichever of its dates
    // is typed. A range of its days holds the same shifts (those of its
    // work dates), and the next week's range not that early one.
    s.setDayStart(*TimeOfDay::fromHm(6, 0));
    shift("100", CalDate::ymd(2025, 1, 6), "03:00", 1, CalDate::ymd(2025, 1, 6), "05:00");
    shift("100", CalDate::ymd(2025, 1, 6), "07:00", 2, CalDate::ymd(2025, 1, 6), "09:00");
    shift("100", CalDate::ymd(2025, 12, 31), "08:00", 1, CalDate::ymd(2025, 12, 31), "12:00");
    const auto dates = [this](const ClockPeriod& p) {
        grid.load(p);
        QStringList out;
        for (int i = 0; i < grid.rowCount(); ++i)
            out << cell(i, colTDate) + ' ' + cell(i, colClockIn);
        return out;
    };
    const QStringList newYearWeek{"2024-12-30 08:00", "2025-01-02 08:00", "2025-01-06 03:00"};
    for (const CalDate typed : {CalDate::ymd(2024, 12, 30), CalDate::ymd(2025, 1, 1), CalDate::ymd(2025, 1, 5)})
        EXPECT_EQ(dates(week(typed)), newYearWeek) << typed.toIso().toStdString();
    ClockPeriod range;
    range.payPeriod = false;
    range.from = CalDate::ymd(2024, 12, 30);
    range.to = CalDate::ymd(2025, 1, 5);
    EXPECT_EQ(dates(range), newYearWeek);
    range.from = CalDate::ymd(2025, 1, 6);
    range.to = CalDate::ymd(2025, 1, 12);
    EXPECT_EQ(dates(range), QStringList{"2025-01-06 07:00"});
    s.setDayStart(TimeOfDay());

    range.from = CalDate::ymd(2023, 1, 1);
    range.to = kMon.addDays(1);
    grid.load(range);
    EXPECT_EQ(grid.rowCount(), 3);

    // A pay period that is no date fails and keeps the rows.
    ClockPeriod bad;
    bad.payPeriodText = QStringLiteral("13/45/2024");
    EXPECT_THROW(grid.load(bad), db::DbError);
    EXPECT_EQ(grid.rowCount(), 3);

    grid.setChosenEmployee(QString());
    grid.load(week(kMon));
    EXPECT_EQ(grid.rowCount(), 0);
    EXPECT_FALSE(grid.beforeColEdit());
    EXPECT_EQ(r.texts(), QStringList{"No employee selected!"});
    EXPECT_EQ(r.last()->icon, ui::Icon::Exclamation);
}

TEST_F(ClockGridTest, NewRowFillsItselfCellByCell) {
    const int row = grid.rowCount();
    grid.setValue(row, colTDate, kMon.addDays(1));
    EXPECT_EQ(cell(row, colEmpID), QStringLiteral("100"));
    EXPECT_TRUE(grid.value(row, colWeek).isNull());
    EXPECT_TRUE(flagged().isEmpty());

    grid.setValue(row, colClockIn, *TimeOfDay::fromHm(18, 0));
    EXPECT_EQ(cell(row, colWeek), QStringLiteral("2"));
    EXPECT_TRUE(grid.value(row, colRecalculate).toBool());
    EXPECT_EQ(flagged(), (QStringList{"2024-01-09", "2024-01-10"}));
    EXPECT_TRUE(flagged("200").isEmpty());

    grid.setValue(row, colDateOut, kMon.addDays(1));
    EXPECT_EQ(cell(row, colTotalHrs), QStringLiteral("0"));
    grid.setValue(row, colClockOut, *TimeOfDay::fromHm(20, 33));
    EXPECT_EQ(cell(row, colTotalHrs), QStringLiteral("2"));
    EXPECT_EQ(cell(row, colTotalMin), QStringLiteral("35"));
    EXPECT_EQ(grid.editingRow(), row);
    grid.saveRow();
    EXPECT_EQ(grid.editingRow(), -1);
    EXPECT_EQ(flagged(), (QStringList{"2024-01-09", "2024-01-09", "2024-01-10"}));
    grid.reload();
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(cell(2, colClockIn), QStringLiteral("18:00"));
    EXPECT_EQ(cell(2, colTotalMin), QStringLiteral("35"));
}

TEST_F(ClockGridTest, ClearingClockOutZeroesTotalsAndMarksTheWeek) {
    grid.setValue(1, colClockOut, Value());
    EXPECT_EQ(cell(1, colTotalHrs), QStringLiteral("0"));
    EXPECT_EQ(cell(1, colTotalMin), QStringLiteral("0"));
    grid.saveRow();
    EXPECT_EQ(flagged(), (QStringList{"2024-01-09", "2024-01-10"}));
    EXPECT_EQ(hoursWorkedRows(), 3); // the hours engine rebuilds the day
}

TEST_F(ClockGridTest, MovingAShiftCleansUpTheOldPlace) {
    // Tuesday's shift moves to the next Monday.
    grid.setValue(1, colTDate, kMon.addDays(7));
    grid.setValue(1, colDateOut, kMon.addDays(7));
    EXPECT_EQ(cell(1, colWeek), QStringLiteral("3"));
    EXPECT_EQ(cell(1, colTotalHrs), QStringLiteral("8"));
    EXPECT_EQ(cell(1, colTotalMin), QStringLiteral("0")); // 8:02 rounded to 5 minutes
    grid.saveRow();
    // The old Tuesday's [Hours Worked] row is gone, Wednesday is marked,
    // and the moved row itself is marked in its new week.
    EXPECT_EQ(hoursWorkedRows(), 2);
    EXPECT_EQ(flagged(), (QStringList{"2024-01-10", "2024-01-15"}));
}

TEST_F(ClockGridTest, RowWithoutWeekCleansNothingUp) {
    c.db().execute(QStringLiteral("UPDATE [Time Attendance] SET Week = 0 WHERE EmpID = '100' AND TDate = ?"),
                   {kMon.addDays(2)});
    ClockPeriod range;
    range.payPeriod = false;
    range.from = kMon;
    range.to = kMon.addDays(6);
    grid.load(range);
    // Clock Out alone: totals again, no marks.
    grid.setValue(2, colClockOut, *TimeOfDay::fromHm(18, 0));
    EXPECT_EQ(cell(2, colTotalHrs), QStringLiteral("10"));
    EXPECT_TRUE(flagged().isEmpty());
    // Clock In: the week is computed and marked; the old place keeps its row.
    grid.setValue(2, colClockIn, *TimeOfDay::fromHm(9, 0));
    EXPECT_EQ(cell(2, colWeek), QStringLiteral("2"));
    grid.saveRow();
    EXPECT_EQ(hoursWorkedRows(), 3);
    EXPECT_EQ(flagged(), QStringList{"2024-01-10"});
}

TEST_F(ClockGridTest, ClashesStayInEditWithTheEnginesError) {
    const int row = grid.rowCount();
    grid.setValue(row, colTDate, kMon);
    grid.setValue(row, colClockIn, *TimeOfDay::fromHm(8, 0));
    try {
        grid.saveRow();
        FAIL() << "saved a duplicate";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::DuplicateKey);
        EXPECT_EQ(gridMessageFor(e.description()).tag, QStringLiteral("T257-"));
    }
    EXPECT_EQ(grid.editingRow(), row);
    // An empty Clock In is refused too.
    grid.setValue(row, colClockIn, Value());
    try {
        grid.saveRow();
        FAIL() << "saved without a clock-in";
    } catch (const db::DbError& e) {
        EXPECT_EQ(gridMessageFor(e.description()).message,
                  QStringLiteral("The Clock In and Date In columns cannot be left blank!"));
    }
    grid.cancelRow();
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.editingRow(), -1);
}

TEST_F(ClockGridTest, DeletingRowsCleansUpTheirDays) {
    grid.setValue(2, colClockOut, *TimeOfDay::fromHm(18, 0)); // in edit, deleted as stored
    grid.deleteRows({0, 2, 0});
    ASSERT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(cell(0, colTDate), QStringLiteral("2024-01-09"));
    EXPECT_EQ(hoursWorkedRows(), 1);
    EXPECT_EQ(flagged(), QStringList{"2024-01-09"});

    // A failure deletes nothing.
    c.db().executeScript(QStringLiteral(
        "CREATE TRIGGER keep BEFORE DELETE ON [Time Attendance] BEGIN SELECT RAISE(ABORT, 'kept'); END;"));
    EXPECT_THROW(grid.deleteRows({0}), db::DbError);
    EXPECT_EQ(hoursWorkedRows(), 1);
}

TEST(GridErrors, PatternsAndMessages) {
    EXPECT_TRUE(matchesPattern(QStringLiteral("Field*can't be a zero-length string."),
                               QStringLiteral("Field 'Reason' can't be a zero-length string.")));
    EXPECT_FALSE(matchesPattern(QStringLiteral("Field*can't be a zero-length string."),
                                QStringLiteral("Field 'Reason' can't be a zero-length string. Really")));
    EXPECT_TRUE(matchesPattern(QStringLiteral("a*"), QStringLiteral("a")));
    EXPECT_FALSE(matchesPattern(QStringLiteral("ab*ba"), QStringLiteral("aba")));
    EXPECT_EQ(gridMessageFor(QStringLiteral("The field is too small to accept the amount of data")).tag,
              QStringLiteral("T254-"));
    EXPECT_EQ(gridMessageFor(QStringLiteral("Data type mismatch in criteria expression.")).tag,
              QStringLiteral("T255-"));
    EXPECT_EQ(gridMessageFor(QStringLiteral("Index or primary key cannot contain a Null value.")).tag,
              QStringLiteral("T256-"));
    const GridMessage other = gridMessageFor(QStringLiteral("Could not update; currently locked."));
    EXPECT_EQ(other.tag, QStringLiteral("T258-"));
    EXPECT_EQ(other.message, QStringLiteral("Could not update; currently locked."));

    // The engine's own texts for a too long ID and a wrong type.
    test::TempCompany c;
    const auto text = [&](const QString& sql) {
        try {
            c.db().executeStrict(sql);
        } catch (const db::DbError& e) {
            return gridMessageFor(e.description()).tag;
        }
        return QString();
    };
    EXPECT_EQ(text(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, ClockIn) VALUES "
                                  "('1234567890123', '2024-01-01', '08:00')")),
              QStringLiteral("T254-"));
    EXPECT_EQ(text(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, ClockIn) VALUES "
                                  "('1', 'Monday', '08:00')")),
              QStringLiteral("T255-"));
}

TEST_F(ClockGridTest, ModelReadsTypedTextAndSavesWhenLeavingARow) {
    ClockGridModel model(std::make_unique<ClockGrid>(c.db(), s));
    ClockGrid& grid = model.grid();
    grid.setChosenEmployee(QStringLiteral("100"));
    grid.load(week(kMon));
    EXPECT_EQ(model.rowCount(), 4); // three rows and the new-row line
    EXPECT_EQ(model.headerData(colTDate, Qt::Horizontal).toString(), QStringLiteral("Date In"));
    EXPECT_EQ(model.data(model.index(0, colTDate)).toString(), kMon.toShortDate());
    EXPECT_FALSE(model.flags(model.index(0, colTotalHrs)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, colWeek)) & Qt::ItemIsEditable);
    EXPECT_EQ(model.data(model.index(0, colWeek), Qt::BackgroundRole).value<QColor>(), QColor(192, 192, 192));

    EXPECT_FALSE(model.setData(model.index(0, colClockIn), QStringLiteral("25:99")));
    ASSERT_NE(r.last(), nullptr);
    EXPECT_TRUE(r.last()->title.contains(QStringLiteral("T255-")));

    EXPECT_TRUE(model.setData(model.index(0, colClockIn), QStringLiteral("7:30")));
    EXPECT_EQ(grid.editingRow(), 0);
    // A new row on the last line; the row in edit is saved first.
    EXPECT_TRUE(model.setData(model.index(3, colTDate), kMon.addDays(3).toShortDate()));
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(grid.editingRow(), 3);
    EXPECT_EQ(c.db().openRecordset(QStringLiteral("SELECT TotalHrs, TotalMin FROM [Time Attendance] WHERE "
                                                  "EmpID = '100' AND TDate = ?"),
                                   {kMon})
                  .field(0)
                  .toInt(),
              8);
    // Leaving the new row without a clock-in shows the grid's message and
    // keeps it in edit.
    EXPECT_FALSE(model.submitRow());
    EXPECT_TRUE(r.last()->title.contains(QStringLiteral("T256-")));
    EXPECT_EQ(grid.editingRow(), 3);
}

} // namespace
