#include "core/common/WeekNavigator.h"
#include "core/common/Globals.h"
#include "core/types/Clock.h"
#include "platform/ui/Dialogs.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace plax;

namespace {

CompanySettings weekFrom(int workDay) {
    CompanySettings s;
    s.WorkDay = workDay;
    return s;
}

} // namespace

TEST(WeekNavigator, StepsFromAnyDayOfTheWeekToTheNeighbouringWeekStarts) {
    const CompanySettings monday = weekFrom(2);
    const CalDate mon = CalDate::ymd(2026, 3, 9); // a Monday
    EXPECT_EQ(steppedWeekStart(mon.toShortDate(), +1, monday), CalDate::ymd(2026, 3, 16));
    EXPECT_EQ(steppedWeekStart(mon.toShortDate(), -1, monday), CalDate::ymd(2026, 3, 2));
    const CalDate wed = CalDate::ymd(2026, 3, 11);
    EXPECT_EQ(steppedWeekStart(wed.toShortDate(), +1, monday), CalDate::ymd(2026, 3, 16));
    EXPECT_EQ(steppedWeekStart(wed.toShortDate(), -1, monday), CalDate::ymd(2026, 3, 2));
    // A week starting on Sunday, across New Year.
    EXPECT_EQ(steppedWeekStart(QStringLiteral("12/31/2026"), +1, weekFrom(1)), CalDate::ymd(2027, 1, 3));
    EXPECT_EQ(steppedWeekStart(QStringLiteral("not a date"), +1, monday), std::nullopt);
    EXPECT_EQ(steppedWeekStart(QString(), -1, monday), std::nullopt);
}

TEST(WeekNavigator, ArrowsRewriteTheBoxInShortDateFormatAndSignal) {
    ui::ScriptedResponder answers;
    QLineEdit box;
    WeekNavigator arrows(&box);
    arrows.setSettings(weekFrom(2));
    QSignalSpy stepped(&arrows, &WeekNavigator::stepped);

    box.setText(CalDate::ymd(2026, 3, 11).toShortDate());
    arrows.upButton()->click();
    EXPECT_EQ(box.text(), CalDate::ymd(2026, 3, 16).toShortDate());
    arrows.downButton()->click();
    arrows.downButton()->click();
    EXPECT_EQ(box.text(), CalDate::ymd(2026, 3, 2).toShortDate());
    EXPECT_EQ(stepped.count(), 3);
    EXPECT_TRUE(answers.messages.empty());
}

TEST(WeekNavigator, TextThatIsNoDateWarnsAndLeavesTheBox) {
    ui::ScriptedResponder answers;
    QLineEdit box;
    box.setText(QStringLiteral("13/45/20xx"));
    WeekNavigator arrows(&box);
    QSignalSpy stepped(&arrows, &WeekNavigator::stepped);
    EXPECT_FALSE(arrows.stepUp());
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_EQ(answers.messages[0].text, QStringLiteral("Invalid date!"));
    EXPECT_EQ(answers.messages[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(answers.messages[0].buttons, ui::Buttons::OK);
    EXPECT_EQ(box.text(), QStringLiteral("13/45/20xx"));
    EXPECT_EQ(stepped.count(), 0);
}

TEST(WeekNavigator, UsesTheProgramSettingsByDefault) {
    ui::ScriptedResponder answers;
    const CompanySettings saved = Company;
    Company.WorkDay = 1; // Sunday
    QLineEdit box;
    box.setText(CalDate::ymd(2026, 3, 11).toShortDate()); // Wednesday
    WeekNavigator arrows(&box);
    arrows.stepUp();
    EXPECT_EQ(box.text(), CalDate::ymd(2026, 3, 15).toShortDate());
    Company = saved;
}
