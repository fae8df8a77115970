#include "core/settings/ClockCommSettings.h"
#include "Fixture.h"
#include "clock/TerminalSettings.h"
#include "platform/serial/SerialSettings.h"
#include "platform/ui/Dialogs.h"

#include <gtest/gtest.h>

using namespace plax;
using namespace plax::settings;
using namespace plax::settings::fixture;

namespace {

class ClockComm : public ::testing::Test {
  protected:
    void SetUp() override { LoadClockSettings(co.db(), v, company); }
    // The controls as the stored values show them.
    CommChoice shown() const {
        CommChoice c;
        c.portIndex = v.commPort - 1;
        c.line = SplitSettingsText(v.settings);
        c.pollDelayText = QString::number(v.pollDelay);
        c.machineSpeedIndex = v.machineSpeed - 1;
        c.entryType = company.TheClock;
        c.inOutList = company.InOutList;
        return c;
    }
    void save(const CommChoice& c) { SaveClockSettings(co.db(), v, company, c); }
    QString comm(const char* field) { return regValue(co.db(), "Communication", field); }

    ::plax::test::TempCompany co;
    ui::ScriptedResponder answers;
    CommValues v;
    CompanySettings company;
};

TEST_F(ClockComm, FirstRunShowsTheDefaultsAndSavesNothing) {
    EXPECT_EQ(v.commPort, 2);
    EXPECT_EQ(v.settings, "9600,n,8,1");
    EXPECT_EQ(v.pollDelay, 100);
    EXPECT_EQ(v.machineSpeed, 5);
    EXPECT_EQ(company.TheClock, 0);
    EXPECT_TRUE(company.InOutList);
    const LineChoice line = SplitSettingsText(v.settings);
    EXPECT_EQ(line.speed, "9600");
    EXPECT_EQ(line.parity, "None");
    EXPECT_EQ(line.dataBits, "8");
    EXPECT_EQ(line.stopBits, "1");
    EXPECT_EQ(portItems().size(), 16);
    EXPECT_EQ(portItems().front(), "Com1");
    EXPECT_EQ(portItems().back(), "Com16");
    EXPECT_EQ(speedItems().size(), 15);
    EXPECT_EQ(machineSpeedItems().size(), 50);

    save(shown());
    EXPECT_EQ(count(co.db(), "SELECT count(*) FROM Registry"), 0);
    EXPECT_TRUE(answers.messages.empty());
}

TEST_F(ClockComm, SettingsTextsGoBothWays) {
    const LineChoice c{"4800", "Odd", "7", "1.5"};
    EXPECT_EQ(BuildSettingsText(c), "4800,o,7,1.5");
    const LineChoice back = SplitSettingsText("4800,o,7,1.5");
    EXPECT_EQ(back.speed, "4800");
    EXPECT_EQ(back.parity, "Odd");
    EXPECT_EQ(back.dataBits, "7");
    EXPECT_EQ(back.stopBits, "1.5");
    for (const QString text : {"115200,e,5,2", "300,s,6,1", "256000,m,8,1.5"})
        EXPECT_EQ(BuildSettingsText(SplitSettingsText(text)), text);
    // What the lists cannot show stays unselected: upper-case parity, an unknown speed, a short text.
    EXPECT_TRUE(SplitSettingsText("9600,N,8,1").parity.isEmpty());
    EXPECT_TRUE(SplitSettingsText("110,n,8,1").speed.isEmpty());
    const LineChoice shortText = SplitSettingsText("8,1");
    EXPECT_TRUE(shortText.speed.isEmpty());
    EXPECT_FALSE(shortText.complete());
}

TEST_F(ClockComm, ChangedValuesAreWrittenAsPlainNumbersAndTheTerminalReadsThem) {
    CommChoice c = shown();
    c.portIndex = 0;
    c.line = {"4800", "Odd", "7", "1.5"};
    c.pollDelayText = "0050";
    c.machineSpeedIndex = 49;
    c.entryType = 2;
    c.inOutList = false;
    save(c);
    EXPECT_EQ(comm("CommPort"), "1");
    EXPECT_EQ(comm("Settings"), "4800,o,7,1.5");
    EXPECT_EQ(comm("PollDelay"), "50");
    EXPECT_EQ(comm("MachineSpeed"), "50");
    EXPECT_EQ(regValue(co.db(), "Company Settings", "TheClock"), "2");
    EXPECT_EQ(regValue(co.db(), "Company Settings", "InOutList"), "0");

    clk::CommSettings terminal;
    clk::LoadCommSettings(co.db(), terminal);
    EXPECT_EQ(terminal.CommPort, 1);
    EXPECT_EQ(terminal.PollDelay, 50);
    EXPECT_EQ(terminal.MachineSpeed, 50);
    const auto line = serial::parseSettings(terminal.Settings);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->baudRate, 4800);
    EXPECT_EQ(line->parity, serial::Parity::Odd);
    EXPECT_EQ(line->stopBits, serial::StopBits::OneAndHalf);
    clk::TerminalSettings ts;
    clk::LoadTerminalSettings(co.db(), ts);
    EXPECT_EQ(ts.TheClock, 2);
    EXPECT_FALSE(ts.company.InOutList);

    // Tick the list again in the same opening: the copy was refreshed, so "1" is written.
    c.inOutList = true;
    save(c);
    EXPECT_EQ(regValue(co.db(), "Company Settings", "InOutList"), "1");
    EXPECT_EQ(count(co.db(), "SELECT count(*) FROM Registry"), 6);
    EXPECT_TRUE(answers.messages.empty());
}

// Lists left without a selection (a stored value they do not hold) and an
// empty delay box keep what is stored instead of writing 0 or a broken text.
TEST_F(ClockComm, UnselectedListsAndAnEmptyDelayKeepTheStoredValues) {
    co.db().execute(
        "INSERT INTO Registry (RegKey, RegField, RegValue) VALUES ('Communication', 'CommPort', '20')");
    co.db().execute("INSERT INTO Registry (RegKey, RegField, RegValue) VALUES ('Communication', 'Settings', "
                    "'110,n,8,1')");
    co.db().execute(
        "INSERT INTO Registry (RegKey, RegField, RegValue) VALUES ('Communication', 'MachineSpeed', '0')");
    LoadClockSettings(co.db(), v, company);
    EXPECT_EQ(v.commPort, 20);
    CommChoice c = shown();
    c.portIndex = -1;
    c.machineSpeedIndex = -1;
    c.line.speed.clear();
    c.pollDelayText = "";
    c.entryType = 1;
    save(c);
    EXPECT_EQ(comm("CommPort"), "20");
    EXPECT_EQ(comm("Settings"), "110,n,8,1");
    EXPECT_EQ(comm("MachineSpeed"), "0");
    EXPECT_EQ(comm("PollDelay"), "<none>");
    EXPECT_EQ(regValue(co.db(), "Company Settings", "TheClock"), "1");
}

TEST_F(ClockComm, NumbersAreReadFromTheirLeadingDigits) {
    co.db().execute(
        "INSERT INTO Registry (RegKey, RegField, RegValue) VALUES ('Communication', 'PollDelay', '250ms')");
    co.db().execute(
        "INSERT INTO Registry (RegKey, RegField, RegValue) VALUES ('Company Settings', 'TheClock', '1.5')");
    co.db().execute(
        "INSERT INTO Registry (RegKey, RegField, RegValue) VALUES ('Company Settings', 'InOutList', '0')");
    LoadClockSettings(co.db(), v, company);
    EXPECT_EQ(v.pollDelay, 250);
    EXPECT_EQ(company.TheClock, 2);
    EXPECT_FALSE(company.InOutList);
}

} // namespace
