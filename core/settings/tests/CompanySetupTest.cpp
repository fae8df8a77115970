#include "core/settings/CompanySetup.h"
#include "Fixture.h"
#include "core/common/Settings.h"
#include "platform/ui/Dialogs.h"
#include "testing/KillMidWrite.h"

#include <gtest/gtest.h>

using namespace plax;
using namespace plax::settings;
using namespace plax::settings::fixture;

namespace {

const CalDate kMon = CalDate::ymd(2024, 1, 8);
const QString kRoundQuestion =
    QStringLiteral("You have changed the rounding value.\rTotal time will be updated.");
const QString kWeekQuestion =
    QStringLiteral("You have changed the week start day. \rThe database tables will be updated.");
const QString kDayQuestion =
    QStringLiteral("You have changed the day start time. \rThe database tables will be updated.");

class CompanySetup : public ::testing::Test {
  protected:
    void SetUp() override {
        s.CompanyName = "Acme";
        st = LoadCompanySetup(s, "/data/Company07.mdb");
        hooks.setMainCaption = [this](const QString& c) { caption = c; };
        hooks.saveDatabaseLocation = [this](const QString& p) {
            storedPath = p;
            return storeWorks;
        };
    }
    void save() { SaveCompanySetup(co.db(), s, st, hooks); }
    int registryRows() { return count(co.db(), "SELECT count(*) FROM Registry"); }

    ::plax::test::TempCompany co;
    ui::ScriptedResponder answers;
    CompanySettings s;
    CompanySetupState st;
    CompanySetupHooks hooks;
    QString caption, storedPath;
    bool storeWorks = true;
};

TEST_F(CompanySetup, LoadShowsTheSettingsAndNothingCountsAsChanged) {
    EXPECT_EQ(st.companyName, "Acme");
    EXPECT_EQ(st.workWeekText(), "Monday");
    EXPECT_EQ(st.roundTotal, "5");
    EXPECT_EQ(st.graceP, "0");
    EXPECT_EQ(st.includeWagesTag, "1");
    EXPECT_EQ(st.dayStartTag, "00:00");
    EXPECT_FALSE(st.anyChanged());

    save();
    EXPECT_TRUE(answers.messages.empty());
    EXPECT_EQ(registryRows(), 0);
    EXPECT_TRUE(caption.isEmpty());
}

TEST_F(CompanySetup, NameWagesAndLocationAreWrittenWithTheirSideEffects) {
    st.companyName = "O'Brien & Sons";
    st.includeWages = 0;
    st.dataFile = "/elsewhere/Company07.mdb";
    save();
    EXPECT_EQ(regValue(co.db(), "Company Settings", "CompanyName"), "O'Brien & Sons");
    EXPECT_EQ(s.CompanyName, "O'Brien & Sons");
    EXPECT_EQ(caption, "O'Brien & Sons --- Zelto Time & Attendance Management System ");
    EXPECT_EQ(regValue(co.db(), "Company Settings", "IncludeWages"), "0");
    EXPECT_FALSE(s.IncludeWages);
    EXPECT_EQ(storedPath, "/elsewhere/Company07.mdb");
    EXPECT_EQ(answers.texts(),
              QStringList{"Database location has changed. You need to restart the application in "
                          "order for the changes to take effect."});
    EXPECT_EQ(answers.last()->icon, ui::Icon::None);
    EXPECT_FALSE(st.anyChanged());

    // Saving the same values again writes nothing more.
    save();
    EXPECT_EQ(answers.messages.size(), 1u);
    EXPECT_EQ(registryRows(), 2);
}

TEST_F(CompanySetup, LocationThatCouldNotBeStoredGivesNoRestartNotice) {
    storeWorks = false;
    st.dataFile = "/nowhere/x.mdb";
    save();
    EXPECT_TRUE(answers.messages.empty());
    EXPECT_TRUE(st.dataFileChanged()) << "the close question still offers it";
}

TEST_F(CompanySetup, InvalidRoundingAndGraceAreRefusedAndStayChanged) {
    for (const char* typed : {"60", "-1", "59.5"}) {
        st.roundTotal = typed;
        st.graceP = typed;
        answers.messages.clear();
        save();
        EXPECT_EQ(answers.texts(), (QStringList{"Invalid rounding value.", "Invalid grace period."}))
            << typed;
        EXPECT_EQ(answers.messages.front().icon, ui::Icon::Information);
        EXPECT_EQ(s.RoundTotal, 5);
        EXPECT_EQ(s.GraceP, 0);
        EXPECT_TRUE(st.roundTotalChanged());
        EXPECT_TRUE(st.anyChanged());
    }
    EXPECT_EQ(registryRows(), 0);
}

TEST_F(CompanySetup, RoundingIsWrittenAsTypedAndItsUnitIsTheRoundedNumber) {
    addShift(co.db(), "A", kMon, "08:00", kMon, "16:07", 2, 8, 5);
    answers.answers = {ui::Answer::Cancel};
    st.roundTotal = "7.5";
    save();
    EXPECT_EQ(regValue(co.db(), "Company Settings", "RoundTotal"), "7.5");
    EXPECT_EQ(s.RoundTotal, 8);
    EXPECT_EQ(answers.texts(), QStringList{kRoundQuestion});
    EXPECT_EQ(answers.last()->buttons, ui::Buttons::OKCancel);
    EXPECT_EQ(count(co.db(), "SELECT TotalMin FROM [Time Attendance]"), 5) << "Cancel keeps the old totals";
    EXPECT_EQ(count(co.db(), "SELECT Recalculate FROM [Time Attendance]"), 0);

    st.roundTotal = "abc"; // no number: rounding off, and accepted
    save();                // OK
    EXPECT_EQ(regValue(co.db(), "Company Settings", "RoundTotal"), "abc");
    EXPECT_EQ(s.RoundTotal, 0);
    EXPECT_EQ(count(co.db(), "SELECT TotalHrs * 60 + TotalMin FROM [Time Attendance]"), 487);
    EXPECT_EQ(count(co.db(), "SELECT Recalculate FROM [Time Attendance]"), 1);
}

// What the screen puts in force is what the next start reads back.
TEST_F(CompanySetup, TypedNumbersMeanTheSameAfterTheNextStart) {
    answers.answers = {ui::Answer::Cancel};
    st.roundTotal = "12abc";
    st.graceP = " 7.5 min";
    save();
    EXPECT_EQ(s.RoundTotal, 12);
    EXPECT_EQ(s.GraceP, 8);
    CompanySettings loaded;
    LoadCompanySettings(co.db(), loaded);
    EXPECT_EQ(loaded.RoundTotal, 12);
    EXPECT_EQ(loaded.GraceP, 8);
    EXPECT_EQ(settingInt("abc"), 0);
    EXPECT_EQ(settingInt("2.5"), 2);
    EXPECT_EQ(settingInt("-3x"), -3);
}

// Rounding, week start and day start changed at once: three questions in
// that order, and totals recomputed before the week numbers.
TEST_F(CompanySetup, SeveralChangesRunInTheirFixedOrder) {
    const CalDate sun = CalDate::ymd(2024, 1, 14);
    addShift(co.db(), "A", sun, "08:00", sun, "16:07", 2, 8, 5);
    st.roundTotal = "15";
    st.workWeekIndex = 0; // Sunday
    st.dayStart = TimeOfDay::fromMinutes(6 * 60 + 30);
    st.graceP = "10";
    save();
    EXPECT_EQ(answers.texts(), (QStringList{kRoundQuestion, kWeekQuestion, kDayQuestion}));
    EXPECT_EQ(s.RoundTotal, 15);
    EXPECT_EQ(s.WorkDay, 1);
    EXPECT_EQ(s.DayStartHours, 6);
    EXPECT_EQ(s.GraceP, 10);
    EXPECT_EQ(regValue(co.db(), "Company Settings", "WorkDay"), "1");
    EXPECT_EQ(regValue(co.db(), "Company Settings", "DayStartTime"), "06:30");
    EXPECT_EQ(regValue(co.db(), "Company Settings", "GraceP"), "10");
    EXPECT_EQ(count(co.db(), "SELECT TotalHrs * 60 + TotalMin FROM [Time Attendance]"), 480);
    EXPECT_EQ(count(co.db(), "SELECT Week FROM [Time Attendance]"), 3);
    EXPECT_FALSE(st.anyChanged());
}

TEST_F(CompanySetup, CancelledWeekStartBringsTheStoredDayBackAndDayStartStaysChanged) {
    answers.answers = {ui::Answer::Cancel, ui::Answer::Cancel};
    st.workWeekIndex = 3;
    st.dayStart = TimeOfDay::fromMinutes(300);
    save();
    EXPECT_EQ(answers.texts(), (QStringList{kWeekQuestion, kDayQuestion}));
    EXPECT_EQ(st.workWeekIndex, 1);
    EXPECT_FALSE(st.workWeekChanged());
    EXPECT_TRUE(st.dayStartChanged());
    EXPECT_EQ(registryRows(), 0);
    EXPECT_EQ(s.WorkDay, 2);
}

// A recompute that fails is reported, nothing of it stays, and the list
// shows the stored day again.
TEST_F(CompanySetup, FailedRecomputeIsReportedAndUndone) {
    addShift(co.db(), "A", CalDate::ymd(2024, 1, 14), "08:00", std::nullopt, "", 2, 0, 0);
    co.db().executeScript(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON [Time Attendance] "
                                         "BEGIN SELECT RAISE(ABORT, 'disk full'); END;"));
    st.workWeekIndex = 0;
    save();
    ASSERT_EQ(answers.messages.size(), 2u);
    EXPECT_EQ(answers.messages[1].icon, ui::Icon::Critical);
    EXPECT_TRUE(answers.messages[1].title.startsWith("Zelto Error#: "));
    EXPECT_EQ(st.workWeekIndex, 1);
    EXPECT_EQ(s.WorkDay, 2);
    EXPECT_EQ(regValue(co.db(), "Company Settings", "WorkDay"), "<none>");
    EXPECT_EQ(count(co.db(), "SELECT Week FROM [Time Attendance]"), 2);
}

// The program ended (kill -9) as it writes a new rounding unit after OK:
// after a restart the file holds the old unit with the old totals, or the
// new unit with every closed shift rounded to it and marked for the hours
// engine; never the new unit over old totals.
TEST_F(CompanySetup, AKillDuringTheRoundingUpdateLeavesAllOldOrAllNew) {
    SaveRegValue(co.db(), "Company Settings", "RoundTotal", "1");
    {
        db::Database::Transaction tx(co.db());
        for (int i = 0; i < 20000; ++i)
            addShift(co.db(), QString::number(i % 200), kMon.addDays(i / 200), "08:00", kMon.addDays(i / 200),
                     "16:07", 2, 8, 7);
        tx.commit();
    }
    QString why;
    ASSERT_TRUE(test::killMidWrite(QStringLiteral(PLAX_ROUND_CHILD), {co.path(), "15"}, 64 * 1024, &why))
        << why.toStdString();

    auto restarted = co.reopen();
    const QString unit = regValue(*restarted, "Company Settings", "RoundTotal");
    const bool after = unit == "15";
    EXPECT_TRUE(after || unit == "1") << unit.toStdString();
    EXPECT_EQ(count(*restarted, "SELECT count(*) FROM [Time Attendance] WHERE TotalHrs * 60 + TotalMin = ? "
                                "AND Recalculate = ?",
                    {after ? 480 : 487, after ? 1 : 0}),
              20000)
        << "unit " << unit.toStdString();
}

} // namespace
