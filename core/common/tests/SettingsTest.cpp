#include "core/common/Globals.h"
#include "core/common/Settings.h"
#include "platform/ui/Dialogs.h"
#include "testing/TempCompany.h"

#include <gtest/gtest.h>

using namespace plax;

namespace {

void addRow(db::Database& db, const QString& key, const QString& field, const QString& value) {
    db.execute("INSERT INTO Registry (RegKey, RegField, RegValue) VALUES (?, ?, ?)", {key, field, value});
}

CompanySettings load(db::Database& db) {
    CompanySettings s;
    s.WorkDay = 99; // shows which values were really loaded
    LoadCompanySettings(db, s);
    return s;
}

} // namespace

TEST(Settings, EmptyTableGivesTheDefaults) {
    test::TempCompany c;
    ui::ScriptedResponder boxes;
    const CompanySettings s = load(c.db());
    EXPECT_EQ(s.CompanyName, "");
    EXPECT_EQ(s.WorkDay, 2);
    EXPECT_EQ(s.DayStartTime, TimeOfDay::fromMinutes(0));
    EXPECT_EQ(s.DayStartHours, 0);
    EXPECT_EQ(s.GraceP, 0);
    EXPECT_EQ(s.RoundTotal, 5);
    EXPECT_TRUE(s.IncludeWages);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST(Settings, StoredTextIsConverted) {
    test::TempCompany c;
    ui::ScriptedResponder boxes;
    const QString k = "Company Settings";
    addRow(c.db(), k, "CompanyName", "Acme Tools");
    addRow(c.db(), k, "WorkDay", "2.5");       // halves go to the even number
    addRow(c.db(), k, "DayStartTime", "06:45"); // whole hours only: 6
    addRow(c.db(), k, "GraceP", "seven");      // not a number: 0
    addRow(c.db(), k, "RoundTotal", "3.5");
    addRow(c.db(), k, "IncludeWages", "0");
    addRow(c.db(), "Communication", "WorkDay", "5"); // another key is not read
    CompanySettings s = load(c.db());
    EXPECT_EQ(s.CompanyName, "Acme Tools");
    EXPECT_EQ(s.WorkDay, 2);
    EXPECT_EQ(s.DayStartTime, TimeOfDay::fromMinutes(6 * 60 + 45));
    EXPECT_EQ(s.DayStartHours, 6);
    EXPECT_EQ(s.GraceP, 0);
    EXPECT_EQ(s.RoundTotal, 4);
    EXPECT_FALSE(s.IncludeWages);

    SaveRegValue(c.db(), k, "IncludeWages", "0.25"); // any number but 0 is True
    EXPECT_TRUE(load(c.db()).IncludeWages);
    SaveRegValue(c.db(), k, "IncludeWages", "-1");
    EXPECT_TRUE(load(c.db()).IncludeWages);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST(Settings, SavingTwiceKeepsOneRowPerKeyAndField) {
    test::TempCompany c;
    SaveRegValue(c.db(), "Company Settings", "GraceP", "3");
    SaveRegValue(c.db(), "Company Settings", "GraceP", "7");
    SaveRegValue(c.db(), "Communication", "GraceP", "1");
    SaveRegValue(c.db(), "Company Settings", "CompanyName", "O'Brien & Sons"); // quotes stay text
    const auto rs = c.db().openRecordset("SELECT RegValue FROM Registry WHERE RegKey = ? AND RegField = ?",
                                         {"Company Settings", "GraceP"});
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.field("RegValue").toString(), "7");
    const CompanySettings s = load(c.db());
    EXPECT_EQ(s.GraceP, 7);
    EXPECT_EQ(s.CompanyName, "O'Brien & Sons");

    auto rows = c.db().openRecordset("SELECT * FROM Registry WHERE RegKey = ?", {"Company Settings"});
    EXPECT_EQ(GetRegValue(rows, "graceP", "x"), "7"); // field names ignore case
    EXPECT_EQ(GetRegValue(rows, "Missing", "dflt"), "dflt");
}

TEST(Settings, FailuresShowTheErrorBoxAndKeepWhatCouldNotBeRead) {
    test::TempCompany c;
    ui::ScriptedResponder boxes;
    SaveRegValue(c.db(), "Company Settings", "DayStartTime", "late");
    SaveRegValue(c.db(), "Company Settings", "GraceP", "9");
    CompanySettings s;
    s.setDayStart(TimeOfDay::fromMinutes(120));
    LoadCompanySettings(c.db(), s);
    EXPECT_EQ(s.DayStartTime, TimeOfDay::fromMinutes(120)); // kept
    EXPECT_EQ(s.DayStartHours, 2);
    EXPECT_EQ(s.GraceP, 9); // the steps after the failure still ran
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 13");

    // No settings table at all: one box, nothing changes.
    c.db().executeScript("DROP TABLE Registry");
    s.GraceP = 4;
    LoadCompanySettings(c.db(), s);
    EXPECT_EQ(s.GraceP, 4);
    EXPECT_EQ(boxes.messages.size(), 2u);
    EXPECT_TRUE(boxes.messages[1].title.startsWith("Zelto Error#: "));

    // The program-wide loader without an open database.
    CompanyDb.reset();
    LoadCompanySettings();
    EXPECT_EQ(boxes.messages.size(), 3u);
}
