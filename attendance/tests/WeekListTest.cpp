#include "ImportTestSupport.h"
#include "attendance/WeekList.h"
#include "core/common/Globals.h"
#include "platform/ui/Dialogs.h"

#include <QComboBox>
#include <QListWidget>
#include <gtest/gtest.h>

using namespace plax;

namespace {
QString entry(CalDate a, CalDate b) { return a.toShortDate() + QStringLiteral(" --> ") + b.toShortDate(); }
} // namespace

TEST(WeekList, OneEntryPerWeekInOrder) {
    test::ImportCompany c;
    c.settings.setDayStart(*TimeOfDay::fromHm(6, 0));
    const auto row = [&](CalDate d, const char* in, int week) {
        c.db().execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn) VALUES ('1',?,?,?)"),
                       {d, week, QString::fromLatin1(in)});
    };
    const CalDate mon = CalDate::ymd(2024, 1, 8); // week 2
    row(mon.addDays(9), "08:00", 3);
    row(mon.addDays(2), "08:00", 2);
    row(mon, "08:00", 2);
    // A clock-in before the day start on the next Monday belongs to week 2.
    row(mon.addDays(7), "03:00", 2);
    row(mon.addDays(-14), "08:00", 0); // the engine's result as stored, whatever the week

    EXPECT_EQ(weekListEntries(c.db(), c.settings),
              (QStringList{entry(mon.addDays(-21), mon.addDays(-14)), entry(mon, mon.addDays(7)),
                           entry(mon.addDays(7), mon.addDays(14))}));

    // With the day start at 00:00 a week ends on its seventh day.
    c.settings.setDayStart(TimeOfDay());
    EXPECT_EQ(weekListEntries(c.db(), c.settings)[1], entry(mon, mon.addDays(6)));
}

TEST(WeekList, FillsControlsOnceAndReportsFailures) {
    test::ImportCompany c;
    c.db().execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn) VALUES ('1', "
                                  "'2024-01-10', 2, '08:00')"));
    const QString week2 = entry(CalDate::ymd(2024, 1, 8), CalDate::ymd(2024, 1, 14));
    std::swap(CompanyDb, c.handle());
    Company = c.settings;
    QComboBox combo;
    combo.addItem(week2);
    LoadWeekList(&combo);
    EXPECT_EQ(combo.count(), 1);
    QListWidget list;
    LoadWeekList(&list);
    LoadWeekList(&list);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.item(0)->text(), week2);
    std::swap(CompanyDb, c.handle());

    ui::ScriptedResponder r;
    LoadWeekList(&list); // no database open
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_TRUE(r.messages[0].title.startsWith(QStringLiteral("Zelto Error#: X178-")));
}
