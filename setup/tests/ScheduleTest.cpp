#include "SetupFixture.h"
#include "setup/ScheduleStore.h"
#include "setup/frmScheduleSetup.h"

#include "testing/ScreenEvents.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

using namespace plax;
using namespace plax::setup;
using plax::test::clickToolButton;
using plax::test::showActive;

namespace {

class ScheduleScreen : public setup::test::SetupFixture {
  protected:
    QComboBox* numberBox(frmScheduleSetup& f) { return child<QComboBox>(&f, "cboSchNo"); }
    // Clicks into the number box, types over its text and leaves it with Tab.
    void typeNumber(frmScheduleSetup& f, const QString& text) {
        QComboBox* box = numberBox(f);
        QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    QCheckBox* day(frmScheduleSetup& f, int i) {
        return f.findChild<QCheckBox*>(QStringLiteral("chkScheduled%1").arg(i));
    }
    QLineEdit* start(frmScheduleSetup& f, int i) {
        return f.findChild<QLineEdit*>(QStringLiteral("dtpStartTime%1").arg(i));
    }
    QLineEdit* end(frmScheduleSetup& f, int i) {
        return f.findChild<QLineEdit*>(QStringLiteral("dtpEndTime%1").arg(i));
    }
    // From the focus on a day's check box: ticks it and types both times
    // over what the boxes show, as a person tabbing along the row would.
    void workDay(frmScheduleSetup& f, int i, const char* from, const char* to) {
        EXPECT_EQ(QApplication::focusWidget(), day(f, i));
        QTest::keyClick(day(f, i), Qt::Key_Space);
        QTest::keyClick(day(f, i), Qt::Key_Tab);
        QTest::keyClicks(start(f, i), QString::fromLatin1(from));
        QTest::keyClick(start(f, i), Qt::Key_Tab);
        QTest::keyClicks(end(f, i), QString::fromLatin1(to));
    }
    QString days(const QString& no) {
        auto rs = CompanyDb->openRecordset(
            "SELECT TheDay, StartTime, EndTime FROM [Schedule Days] WHERE ScheduleNo = ? ORDER BY TheDay",
            {no});
        QStringList out;
        for (; !rs.eof(); rs.moveNext())
            out << QStringLiteral("%1 %2-%3")
                       .arg(rs.field(0).toString(), rs.field(1).toString(), rs.field(2).toString());
        return out.join(", ");
    }
};

} // namespace

TEST(ScheduleNumbers, ValuesPaddingAndDayOrder) {
    EXPECT_EQ(scheduleNumberValue(" 7"), 7);
    EXPECT_EQ(scheduleNumberValue("0000300"), 300);
    EXPECT_EQ(scheduleNumberValue(""), 0);
    EXPECT_EQ(scheduleNumberValue("12abc"), 0); // no whole number: out of range
    EXPECT_EQ(scheduleNumberValue("2.5"), 0);
    EXPECT_THROW(scheduleNumberValue("40000"), std::overflow_error);
    EXPECT_EQ(paddedScheduleNumber("7"), "007");
    EXPECT_EQ(paddedScheduleNumber("abc"), "abc");
    EXPECT_EQ(workWeekDayOrder(2), (std::vector<int>{2, 3, 4, 5, 6, 7, 1}));
    EXPECT_EQ(workWeekDayOrder(1), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(ScheduleScreen, OpensAtTheTopLeftAndShowsTheWorkWeekAndAStoredSchedule) {
    QMdiArea area;
    area.resize(1000, 800);
    auto* f = new frmScheduleSetup;
    QMdiSubWindow* frame = area.addSubWindow(f);
    showActive(&area);
    frame->show();
    EXPECT_EQ(frame->pos(), QPoint(100 / 15, 100 / 15));
    ASSERT_TRUE(f->loaded());
    EXPECT_EQ(f->dayRowOrder().front(), 2);
    EXPECT_EQ(f->dayRowOrder().back(), 1);
    EXPECT_EQ(numberBox(*f)->count(), 2);
    typeNumber(*f, "2"); // looked up as "002"
    EXPECT_FALSE(f->isNewSchedule());
    EXPECT_EQ(numberBox(*f)->currentText(), "002");
    EXPECT_EQ(child<QLineEdit>(f, "txtDescription")->text(), "Night shift");
    EXPECT_TRUE(day(*f, 2)->isChecked());
    EXPECT_TRUE(start(*f, 2)->isEnabled());
    EXPECT_EQ(start(*f, 2)->text(), "10:00 PM");
    EXPECT_EQ(end(*f, 2)->text(), "06:00 AM");
    EXPECT_FALSE(day(*f, 1)->isChecked());
    EXPECT_FALSE(start(*f, 1)->isEnabled());

    // Choosing an item of the list looks it up as well.
    numberBox(*f)->showPopup();
    QAbstractItemView* list = numberBox(*f)->view();
    plax::test::waitUntil([list] { return list->isVisible(); });
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Return);
    plax::test::waitUntil([&] { return numberBox(*f)->currentText() == "001"; });
    EXPECT_EQ(child<QLineEdit>(f, "txtDescription")->text(),
              value("SELECT Description FROM Schedule WHERE ScheduleNo = '001'"));
}

TEST_F(ScheduleScreen, UpdateStoresWhatTheScreenShows) {
    frmScheduleSetup f;
    showActive(&f);
    auto* description = child<QLineEdit>(&f, "txtDescription");
    // A new number, left with Tab; a description; Tuesday worked overnight.
    typeNumber(f, "7");
    EXPECT_TRUE(f.isNewSchedule());
    ASSERT_EQ(QApplication::focusWidget(), description);
    QTest::keyClicks(description, "Late shift");
    QTest::keyClick(description, Qt::Key_Return);              // Enter moves on as Tab does
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // past Monday
    workDay(f, 3, "1000PM", "0600AM");
    clickToolButton(&f, "Update");
    EXPECT_TRUE(answers.texts().isEmpty());
    EXPECT_EQ(value("SELECT Description FROM Schedule WHERE ScheduleNo = '007'"), "Late shift");
    EXPECT_EQ(days("007"), "3 22:00-06:00");
    EXPECT_EQ(description->text(), "Late shift"); // the screen stays as it was
    EXPECT_TRUE(day(f, 3)->isChecked());
    EXPECT_EQ(numberBox(f)->itemText(numberBox(f)->count() - 1), "007");

    // Unchecking one day, checking another and moving a third's times.
    QTest::mouseClick(day(f, 4), Qt::LeftButton, {}, QPoint(4, day(f, 4)->height() / 2));
    QTest::keyClick(day(f, 4), Qt::Key_Tab);
    QTest::keyClicks(start(f, 4), "0800AM");
    QTest::keyClick(start(f, 4), Qt::Key_Tab);
    QTest::keyClicks(end(f, 4), "1200PM");
    clickToolButton(&f, "Update");
    EXPECT_EQ(days("007"), "3 22:00-06:00, 4 08:00-12:00");
    QTest::mouseClick(day(f, 3), Qt::LeftButton, {}, QPoint(4, day(f, 3)->height() / 2));
    EXPECT_EQ(start(f, 3)->text(), "12:00 AM");
    QTest::mouseClick(end(f, 4), Qt::LeftButton, {}, QPoint(4, end(f, 4)->height() / 2));
    QTest::keyClick(end(f, 4), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(end(f, 4), "0130PM");
    clickToolButton(&f, "Update");
    EXPECT_EQ(days("007"), "4 08:00-13:30");

    // A stored number left with Tab is shown; its edited description is stored, not the old one.
    typeNumber(f, "2");
    EXPECT_EQ(description->text(), "Night shift");
    QTest::keyClick(description, Qt::Key_End);
    QTest::keyClicks(description, " B");
    clickToolButton(&f, "Update");
    EXPECT_EQ(value("SELECT Description FROM Schedule WHERE ScheduleNo = '002'"), "Night shift B");
    EXPECT_EQ(description->text(), "Night shift B");

    // A number typed and saved at once, without leaving the box: what the
    // screen shows goes under the new number.
    QTest::mouseClick(numberBox(f)->lineEdit(), Qt::LeftButton);
    QTest::keyClick(numberBox(f), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(numberBox(f), "9");
    clickToolButton(&f, "Update");
    EXPECT_EQ(value("SELECT Description FROM Schedule WHERE ScheduleNo = '009'"), "Night shift B");
    EXPECT_EQ(days("009"), days("002"));
    EXPECT_EQ(description->text(), "Night shift B");
    EXPECT_TRUE(answers.texts().isEmpty());
}

TEST_F(ScheduleScreen, NumbersOutsideTheRangeAreRefusedOnLeavingAndOnUpdate) {
    frmScheduleSetup f;
    showActive(&f);
    const QString refused = "Schedule# should be between 1 and 300!";
    typeNumber(f, "301");
    EXPECT_EQ(answers.texts(), QStringList{refused});
    // The number keeps the focus, selected to be typed over.
    plax::test::waitUntil([&] { return QApplication::focusWidget() == numberBox(f); });
    EXPECT_EQ(numberBox(f)->lineEdit()->selectedText(), "301");
    clickToolButton(&f, "Update");
    EXPECT_EQ(answers.texts(), QStringList(2, refused));
    typeNumber(f, "0");
    EXPECT_EQ(answers.texts().size(), 3);
    clickToolButton(&f, "Update");
    EXPECT_EQ(answers.texts().size(), 4);
    typeNumber(f, ""); // a blank number only on Update
    EXPECT_EQ(answers.texts().size(), 4);
    clickToolButton(&f, "Update");
    EXPECT_EQ(answers.texts(), QStringList(5, refused));

    // No whole number: refused alike, and neither the schedule nor its days
    // are written.
    for (const char* typed : {"7a", "2abc", "2.5"}) {
        answers.messages.clear();
        typeNumber(f, ""); // no number yet: the description and a day first
        QTest::keyClicks(QApplication::focusWidget(), "Day shift");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(day(f, 2), Qt::Key_Space);
        typeNumber(f, typed);
        clickToolButton(&f, "Update");
        EXPECT_EQ(answers.texts(), QStringList(2, refused)) << typed;
    }
    EXPECT_EQ(count("SELECT count(*) FROM Schedule"), 2);
    EXPECT_EQ(count("SELECT count(*) FROM [Schedule Days] WHERE ScheduleNo NOT IN ('001', '002')"), 0);
    EXPECT_EQ(numberBox(f)->count(), 2);

    // Too large for a number at all: the error box, with its number.
    answers.messages.clear();
    typeNumber(f, "99999");
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_EQ(answers.messages[0].text, "Overflow");
    EXPECT_EQ(answers.messages[0].title, "Zelto Error#: 6");

    // Typed over once refused, the number takes the keys that follow, and
    // the description its own.
    answers.messages.clear();
    typeNumber(f, "301");
    plax::test::waitUntil([&] { return QApplication::focusWidget() == numberBox(f); });
    plax::test::typeKeys("9\tNight shift");
    clickToolButton(&f, "Update");
    EXPECT_EQ(answers.texts(), QStringList{refused});
    EXPECT_EQ(value("SELECT Description FROM Schedule WHERE ScheduleNo = '009'"), "Night shift");
}

TEST_F(ScheduleScreen, TimesAreStoredAsShownWhicheverWayTheHalfOfTheDayIsTyped) {
    frmScheduleSetup f;
    showActive(&f);
    const auto focus = [] { return QApplication::focusWidget(); };
    // Three new schedules in a row, Monday worked in each, typed by keyboard.
    struct Typed {
        const char *number, *start, *end, *stored;
    };
    for (const Typed& t : {Typed{"10", "1000p", "0600a", "2 22:00-06:00"},
                           Typed{"11", "", "", "2 22:00-06:00"}, Typed{"12", "p1015", "", "2 22:15-13:30"}}) {
        typeNumber(f, t.number);
        QTest::keyClicks(focus(), "Night");
        QTest::keyClick(focus(), Qt::Key_Tab);
        workDay(f, 2, t.start, t.end);
        if (QString(t.number) == "11") { // the box selected by the mouse and typed over
            QTest::mouseClick(start(f, 2), Qt::LeftButton);
            QTest::keyClick(start(f, 2), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(start(f, 2), "10:00 PM");
            QTest::keyClick(start(f, 2), Qt::Key_Tab);
            EXPECT_EQ(start(f, 2)->text(), "10:00 PM");
            QTest::keyClicks(end(f, 2), "2500"); // no time: refused, the box shows its time again
            QTest::keyClick(end(f, 2), Qt::Key_Tab);
            EXPECT_EQ(answers.texts(), QStringList{"Invalid time!"});
            plax::test::waitUntil([&] { return focus() == end(f, 2); });
            EXPECT_EQ(end(f, 2)->selectedText(), "12:00 AM");
            QTest::keyClicks(end(f, 2), "6am");
        }
        if (QString(t.number) == "12") { // the parts chosen with the arrow keys
            QTest::keyClick(end(f, 2), Qt::Key_Right);
            QTest::keyClick(end(f, 2), Qt::Key_Right);
            QTest::keyClick(end(f, 2), Qt::Key_Right);
            QTest::keyClicks(end(f, 2), "pm"); // 12:00 PM
            QTest::keyClick(end(f, 2), Qt::Key_Left);
            QTest::keyClick(end(f, 2), Qt::Key_Left);
            QTest::keyClick(end(f, 2), Qt::Key_Up); // 01:00 PM
            QTest::keyClick(end(f, 2), Qt::Key_Right);
            QTest::keyClicks(end(f, 2), "30");
        }
        QTest::keyClick(end(f, 2), Qt::Key_Tab); // one Tab stop per box: on to Tuesday
        EXPECT_EQ(focus(), day(f, 3));
        clickToolButton(&f, "Update");
        EXPECT_EQ(days(QStringLiteral("0%1").arg(t.number)), t.stored);
        EXPECT_EQ(start(f, 2)->text() + '-' + end(f, 2)->text(),
                  t.number == QString("12") ? "10:15 PM-01:30 PM" : "10:00 PM-06:00 AM");
        clickToolButton(&f, "New");
    }
    EXPECT_EQ(answers.texts(), QStringList{"Invalid time!"});
}

TEST_F(ScheduleScreen, DeleteIsRefusedWhileEmployeesUseTheSchedule) {
    frmScheduleSetup f;
    showActive(&f);
    typeNumber(f, "002");
    clickToolButton(&f, "Delete");
    EXPECT_EQ(answers.texts(),
              QStringList{"Cannot delete current schedule. One or more employees are assigned to it."});
    CompanyDb->execute("UPDATE Employee SET ScheduleNo = '001' WHERE ScheduleNo = '002'");
    answers.answers = {ui::Answer::Yes};
    clickToolButton(&f, "Delete");
    EXPECT_EQ(answers.texts().last(), "Delete current schedule?");
    EXPECT_EQ(count("SELECT count(*) FROM Schedule WHERE ScheduleNo = '002'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM [Schedule Days] WHERE ScheduleNo = '002'"), 0);
    EXPECT_EQ(numberBox(f)->count(), 1);

    typeNumber(f, "9"); // new and unsaved: Delete only clears
    clickToolButton(&f, "Delete");
    EXPECT_EQ(answers.texts().size(), 2);
    EXPECT_EQ(numberBox(f)->currentText(), "");
}

TEST_F(ScheduleScreen, AFailedInsertLeavesNoScheduleWithoutItsDays) {
    CompanyDb->executeScript("CREATE TRIGGER no_sunday BEFORE INSERT ON [Schedule Days] WHEN NEW.TheDay = 1 "
                             "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    frmScheduleSetup f;
    showActive(&f);
    typeNumber(f, "050");
    for (int d : {2, 1})
        QTest::mouseClick(day(f, d), Qt::LeftButton, {}, QPoint(4, day(f, d)->height() / 2));
    clickToolButton(&f, "Update");
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_TRUE(answers.messages[0].title.contains("X154-"));
    EXPECT_EQ(count("SELECT count(*) FROM Schedule WHERE ScheduleNo = '050'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM [Schedule Days] WHERE ScheduleNo = '050'"), 0);
}
