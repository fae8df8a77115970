#include "clock/TerminalSettings.h"
#include "core/common/Settings.h"

#include "platform/ui/Dialogs.h"
#include "testing/TempCompany.h"

#include <gtest/gtest.h>

using namespace plax;
using namespace plax::clk;

namespace {
void row(db::Database& db, const char* key, const char* field, const char* value) {
    db.execute(QStringLiteral("INSERT INTO Registry (RegKey, RegField, RegValue) VALUES (?, ?, ?)"),
               {key, field, value});
}
} // namespace

TEST(TerminalSettings, LeadingNumber) {
    EXPECT_EQ(leadingNumber("12abc"), 12);
    EXPECT_EQ(leadingNumber(" 1.5"), 1.5);
    EXPECT_EQ(leadingNumber("-3"), -3);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber("."), 0);
}

TEST(TerminalSettings, EmptyTableGivesTheDefaults) {
    test::TempCompany c;
    ui::ScriptedResponder boxes;
    TerminalSettings s;
    s.company.CompanyName = "old";
    s.company.RoundTotal = 0;
    s.company.InOutList = false;
    CommSettings comm{1, 1, "x", 7};
    LoadTerminalSettings(c.db(), s);
    LoadCommSettings(c.db(), comm);
    EXPECT_EQ(s.company.CompanyName, "");
    EXPECT_EQ(s.company.WorkDay, 2);
    EXPECT_EQ(s.company.DayStartTime.minutes(), 0);
    EXPECT_EQ(s.company.GraceP, 0);
    EXPECT_EQ(s.company.RoundTotal, 5);
    EXPECT_EQ(s.TheClock, 0);
    EXPECT_TRUE(s.company.InOutList);
    EXPECT_EQ(comm.PollDelay, 100);
    EXPECT_EQ(comm.MachineSpeed, 5);
    EXPECT_EQ(comm.Settings, "9600,n,8,1");
    EXPECT_EQ(comm.CommPort, 2);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST(TerminalSettings, StoredValuesAndConversions) {
    test::TempCompany c;
    ui::ScriptedResponder boxes;
    row(c.db(), "Company Settings", "CompanyName", "Acme");
    row(c.db(), "Company Settings", "WorkDay", "1");
    row(c.db(), "Company Settings", "DayStartTime", "06:45");
    row(c.db(), "Company Settings", "GraceP", "10 minutes");
    row(c.db(), "Company Settings", "RoundTotal", "2.5"); // halves to even
    row(c.db(), "Company Settings", "TheClock", "1.5");
    row(c.db(), "Company Settings", "InOutList", "0");
    row(c.db(), "Communication", "PollDelay", "0050");
    row(c.db(), "Communication", "MachineSpeed", "50");
    row(c.db(), "Communication", "Settings", "4800,o,7,1.5");
    row(c.db(), "Communication", "CommPort", "16");
    TerminalSettings s;
    CommSettings comm;
    LoadTerminalSettings(c.db(), s);
    LoadCommSettings(c.db(), comm);
    EXPECT_EQ(s.company.CompanyName, "Acme");
    EXPECT_EQ(s.company.WorkDay, 1);
    EXPECT_EQ(s.company.DayStartTime.minutes(), 6 * 60 + 45);
    EXPECT_EQ(s.company.DayStartHours, 6);
    EXPECT_EQ(s.company.GraceP, 10);
    EXPECT_EQ(s.company.RoundTotal, 2);
    EXPECT_EQ(s.TheClock, 1.5); // kept as read: polls no reader
    EXPECT_FALSE(s.company.InOutList);
    EXPECT_EQ(comm.PollDelay, 50);
    EXPECT_EQ(comm.MachineSpeed, 50);
    EXPECT_EQ(comm.Settings, "4800,o,7,1.5");
    EXPECT_EQ(comm.CommPort, 16);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST(TerminalSettings, ABadValueShowsItsErrorAndTheOthersAreStillRead) {
    test::TempCompany c;
    ui::ScriptedResponder boxes;
    row(c.db(), "Company Settings", "WorkDay", "99999");   // no 16-bit number
    row(c.db(), "Company Settings", "DayStartTime", "soon"); // no time
    row(c.db(), "Company Settings", "GraceP", "7");
    TerminalSettings s;
    s.company.WorkDay = 4;
    s.company.setDayStart(TimeOfDay::fromMinutes(300));
    LoadTerminalSettings(c.db(), s);
    EXPECT_EQ(s.company.WorkDay, 4);
    EXPECT_EQ(s.company.DayStartTime.minutes(), 300);
    EXPECT_EQ(s.company.GraceP, 7);
    ASSERT_EQ(boxes.messages.size(), 2u);
    EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 6");
    EXPECT_EQ(boxes.messages[0].text, "Overflow");
    EXPECT_EQ(boxes.messages[1].title, "Zelto Error#: 13");
}

TEST(TerminalSettings, NoSettingsTableShowsOneErrorAndKeepsTheValues) {
    test::TempCompany c;
    ui::ScriptedResponder boxes;
    c.db().execute("DROP TABLE Registry");
    TerminalSettings s;
    s.company.GraceP = 9;
    CommSettings comm;
    comm.PollDelay = 33;
    LoadTerminalSettings(c.db(), s);
    LoadCommSettings(c.db(), comm);
    EXPECT_EQ(s.company.GraceP, 9);
    EXPECT_EQ(comm.PollDelay, 33);
    EXPECT_EQ(boxes.messages.size(), 2u);
}
