#include "SetupFixture.h"
#include "setup/ScheduleStore.h"
#include "setup/frmScheduleSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTimeEdit>

using namespace plax;
using namespace plax::setup;

namespace {

class ScheduleScreen : public setup::test::SetupFixture {
protected:
    void typeNumber(frmScheduleSetup& f, const QString& text) {
        child<QComboBox>(&f, "cboSchNo")->setEditText(text);
        f.cboSchNo_LostFocus();
    }
    QCheckBox* day(frmScheduleSetup& f, int i) {
        return f.findChild<QCheckBox*>(QStringLiteral("chkScheduled%1").arg(i));
    }
    QTimeEdit* start(frmScheduleSetup& f, int i) {
        return f.findChild<QTimeEdit*>(QStringLiteral("dtpStartTime%1").arg(i));
    }
    QTimeEdit* end(frmScheduleSetup& f, int i) { return f.findChild<QTimeEdit*>(QStringLiteral("dtpEndTime%1").arg(i)); }
    QString days(const QString& no) {
        auto rs = CompanyDb->openRecordset(
            "SELECT TheDay, StartTime, EndTime FROM [Schedule Days] WHERE ScheduleNo = ? ORDER BY TheDay", {no});
        QStringList out;
        for (; !rs.eof(); rs.moveNext())
            out << QStringLiteral("%1 %2-%3").arg(rs.field(0).toString(), rs.field(1).toString(), rs.field(2).toString());
        return out.join(", ");
    }
};

} // namespace

TEST(ScheduleNumbers, ValuesPaddingAndDayOrder) {
    EXPECT_EQ(scheduleNumberValue(" 7"), 7);
    EXPECT_EQ(scheduleNumberValue("12abc"), 12);
    EXPECT_EQ(scheduleNumberValue(""), 0);
    EXPECT_EQ(scheduleNumberValue("2.5"), 2);
    EXPECT_THROW(scheduleNumberValue("40000"), std::overflow_error);
    EXPECT_EQ(paddedScheduleNumber("7"), "007");
    EXPECT_EQ(paddedScheduleNumber("abc"), "abc");
    EXPECT_EQ(workWeekDayOrder(2), (std::vector<int>{2, 3, 4, 5, 6, 7, 1}));
    EXPECT_EQ(workWeekDayOrder(1), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(ScheduleScreen, ShowsTheWorkWeekAndAStoredSchedule) {
    frmScheduleSetup f;
    ASSERT_TRUE(f.loaded());
    EXPECT_EQ(f.dayRowOrder().front(), 2);
    EXPECT_EQ(f.dayRowOrder().back(), 1);
    EXPECT_EQ(child<QComboBox>(&f, "cboSchNo")->count(), 2);
    typeNumber(f, "2"); // looked up as "002"
    EXPECT_FALSE(f.isNewSchedule());
    EXPECT_EQ(child<QComboBox>(&f, "cboSchNo")->currentText(), "002");
    EXPECT_EQ(child<QLineEdit>(&f, "txtDescription")->text(), "Night shift");
    EXPECT_TRUE(day(f, 2)->isChecked());
    EXPECT_TRUE(start(f, 2)->isEnabled());
    EXPECT_EQ(start(f, 2)->time(), QTime(22, 0));
    EXPECT_EQ(end(f, 2)->time(), QTime(6, 0));
    EXPECT_FALSE(day(f, 1)->isChecked());
    EXPECT_FALSE(start(f, 1)->isEnabled());
}

TEST_F(ScheduleScreen, NewScheduleIsPaddedAndStoredWithItsDays) {
    frmScheduleSetup f;
    typeNumber(f, "7");
    EXPECT_TRUE(f.isNewSchedule());
    child<QLineEdit>(&f, "txtDescription")->setText("Late shift");
    day(f, 3)->setChecked(true);
    start(f, 3)->setTime(QTime(22, 0));
    end(f, 3)->setTime(QTime(6, 0));
    f.Toolbar1_ButtonClick("Update");
    EXPECT_TRUE(answers.texts().isEmpty());
    EXPECT_EQ(value("SELECT Description FROM Schedule WHERE ScheduleNo = '007'"), "Late shift");
    EXPECT_EQ(days("007"), "3 22:00-06:00");
    auto* box = child<QComboBox>(&f, "cboSchNo");
    EXPECT_EQ(box->itemText(box->count() - 1), "007");

    // Unchecking one day, checking another and moving a third's times.
    day(f, 4)->setChecked(true);
    start(f, 4)->setTime(QTime(8, 0));
    end(f, 4)->setTime(QTime(12, 0));
    f.Toolbar1_ButtonClick("Update");
    EXPECT_EQ(days("007"), "3 22:00-06:00, 4 08:00-12:00");
    day(f, 3)->setChecked(false);
    EXPECT_EQ(start(f, 3)->time(), QTime(0, 0));
    end(f, 4)->setTime(QTime(13, 30));
    f.Toolbar1_ButtonClick("Update");
    EXPECT_EQ(days("007"), "4 08:00-13:30");
}

TEST_F(ScheduleScreen, NumbersOutsideTheRangeAreRefused) {
    frmScheduleSetup f;
    typeNumber(f, "301");
    EXPECT_EQ(answers.texts(), QStringList{"Schedule# should be between 1 and 300!"});
    child<QComboBox>(&f, "cboSchNo")->setEditText("0");
    f.Toolbar1_ButtonClick("Update");
    EXPECT_EQ(answers.texts().size(), 2);
    child<QComboBox>(&f, "cboSchNo")->setEditText("");
    f.Toolbar1_ButtonClick("Update");
    EXPECT_EQ(answers.texts().size(), 3);
    EXPECT_EQ(count("SELECT count(*) FROM Schedule"), 2);
}

TEST_F(ScheduleScreen, DeleteIsRefusedWhileEmployeesUseTheSchedule) {
    frmScheduleSetup f;
    typeNumber(f, "002");
    f.Toolbar1_ButtonClick("Delete");
    EXPECT_EQ(answers.texts(),
              QStringList{"Cannot delete current schedule. One or more employees are assigned to it."});
    CompanyDb->execute("UPDATE Employee SET ScheduleNo = '001' WHERE ScheduleNo = '002'");
    answers.answers = {ui::Answer::Yes};
    f.Toolbar1_ButtonClick("Delete");
    EXPECT_EQ(answers.texts().last(), "Delete current schedule?");
    EXPECT_EQ(count("SELECT count(*) FROM Schedule WHERE ScheduleNo = '002'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM [Schedule Days] WHERE ScheduleNo = '002'"), 0);
    EXPECT_EQ(child<QComboBox>(&f, "cboSchNo")->count(), 1);

    typeNumber(f, "9"); // new and unsaved: Delete only clears
    f.Toolbar1_ButtonClick("Delete");
    EXPECT_EQ(answers.texts().size(), 2);
    EXPECT_EQ(child<QComboBox>(&f, "cboSchNo")->currentText(), "");
}

TEST_F(ScheduleScreen, AFailedInsertLeavesNoScheduleWithoutItsDays) {
    CompanyDb->executeScript("CREATE TRIGGER no_sunday BEFORE INSERT ON [Schedule Days] WHEN NEW.TheDay = 1 "
                             "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    frmScheduleSetup f;
    typeNumber(f, "050");
    day(f, 2)->setChecked(true);
    day(f, 1)->setChecked(true);
    f.Toolbar1_ButtonClick("Update");
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_TRUE(answers.messages[0].title.contains("X154-"));
    EXPECT_EQ(count("SELECT count(*) FROM Schedule WHERE ScheduleNo = '050'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM [Schedule Days] WHERE ScheduleNo = '050'"), 0);
}
