#include "attendance/editor/ClockGrid.h"
#include "attendance/editor/ClockGridModel.h"
#include "attendance/editor/EditorScreens.h"
#include "attendance/editor/frmDataSheetEdit.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"
#include "core/common/WeekNavigator.h"
#include "core/types/Clock.h"
#include "core/types/WorkWeek.h"
#include "platform/ui/Dialogs.h"
#include "testing/LocaleForms.h"
#include "testing/ScreenEvents.h"
#include "testing/TempCompany.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

// Lets the event loop run until the condition holds.
#define EXPECT_SOON(cond) test::waitUntil([&] { return bool(cond); })

using namespace plax;
using namespace plax::editor;
using plax::test::typeKeys;

namespace {

const CalDate kMon = CalDate::ymd(2024, 1, 8);

class DataSheetScreen : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::setFixed(QDateTime(QDate(2024, 1, 10), QTime(9, 0)));
        c.db().execute(QStringLiteral("INSERT INTO Employee (ID, LastName, FirstName, Status) VALUES "
                                      "('100', 'Baker', 'Ann', 1), ('200', 'Cole', 'Ben', 1)"));
        for (int i = 0; i < 2; ++i)
            c.db().execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, "
                                          "ClockOut, TotalHrs, Recalculate) VALUES ('100', ?, 2, '08:00', ?, "
                                          "'16:00', 8, 0)"),
                           {kMon.addDays(i), kMon.addDays(i)});
        c.db().execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn) VALUES "
                                      "('100', ?, 1, '08:00')"),
                       {kMon.addDays(-7)});
        CompanyDb = c.reopen();
        Company = CompanySettings();
    }
    void TearDown() override {
        CompanyDb.reset();
        Clock::reset();
        clearMenuHandlers();
    }
    // A click on the toolbar button of that key.
    static void toolbar(QWidget* form, const char* key) {
        auto* bar = form->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        for (QAction* a : bar->actions())
            if (a->data().toString() == QLatin1String(key))
                QTest::mouseClick(bar->widgetForAction(a), Qt::LeftButton);
    }
    template <typename T>
    static T* child(QWidget* form, const char* name) {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    // Shows the screen and takes the first employee of the list with the
    // keyboard, as a supervisor does.
    static void chooseFirstEmployee(frmDataSheetEdit* form) {
        test::showActive(form);
        auto* cbo = child<QComboBox>(form, "cboEmployee");
        cbo->setFocus();
        QTest::keyClick(cbo, Qt::Key_Down);
    }
    // Clicks a cell, opens its editor with F2 and types over its text;
    // the editor stays open.
    static void typeInto(ClockGridView* view, int row, int column, const QString& text) {
        test::typeIntoCell(view, row, column, text);
        auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(view->model()->index(row, column)));
        ASSERT_NE(editor, nullptr);
        ASSERT_EQ(QApplication::focusWidget(), editor);
    }
    // Types into a cell and commits it with Enter, which moves on to the
    // next cell.
    static void enterInto(ClockGridView* view, int row, int column, const QString& text) {
        typeInto(view, row, column, text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_SOON(!view->indexWidget(view->model()->index(row, column)));
    }
    QVariantList stored(CalDate d) {
        db::Recordset rs = c.db().openRecordset(QStringLiteral("SELECT DateOut, ClockOut, TotalHrs, TotalMin, "
                                                               "Recalculate FROM [Time Attendance] WHERE TDate = ?"),
                                                {d});
        if (rs.eof())
            return {};
        return {rs.field(0).toString(), rs.field(1).toString(), rs.field(2).toInt(), rs.field(3).toInt(),
                rs.field(4).toInt()};
    }

    test::TempCompany c;
    ui::ScriptedResponder r;
};

TEST_F(DataSheetScreen, LoadsTheChosenEmployeesPayPeriod) {
    frmDataSheetEdit form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Data Sheet"));
    auto* pay = child<QLineEdit>(&form, "txtPayPeriod");
    EXPECT_EQ(pay->text(), kMon.toShortDate());
    EXPECT_FALSE(child<QLineEdit>(&form, "DTPFromDate")->isEnabled());
    EXPECT_EQ(form.grid().rowCount(), 0);
    EXPECT_TRUE(form.gridView()->isColumnHidden(colEmpID));
    EXPECT_TRUE(form.gridView()->isColumnHidden(colRecalculate));

    auto* cbo = child<QComboBox>(&form, "cboEmployee");
    ASSERT_EQ(cbo->count(), 2);
    EXPECT_EQ(cbo->itemText(0), QStringLiteral("100 Baker, Ann"));
    chooseFirstEmployee(&form);
    EXPECT_EQ(form.grid().rowCount(), 2);

    // The arrows step a week back and load it.
    QTest::mouseClick(child<WeekNavigator>(&form, "UpDown1")->downButton(), Qt::LeftButton);
    EXPECT_EQ(pay->text(), kMon.addDays(-7).toShortDate());
    EXPECT_EQ(form.grid().rowCount(), 1);

    // A pay period that is no date: the error box, the rows stay.
    pay->setFocus();
    QTest::keyClick(pay, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(pay, QStringLiteral("someday"));
    QTest::mouseClick(child<QPushButton>(&form, "cmdLoad"), Qt::LeftButton);
    ASSERT_NE(r.last(), nullptr);
    EXPECT_TRUE(r.last()->title.startsWith(QStringLiteral("Zelto Error#: T253-")));
    EXPECT_EQ(form.grid().rowCount(), 1);

    // A date range.
    QTest::mouseClick(child<QRadioButton>(&form, "optDateRange"), Qt::LeftButton);
    EXPECT_TRUE(child<QLineEdit>(&form, "DTPFromDate")->isEnabled());
    EXPECT_FALSE(pay->isEnabled());
    toolbar(&form, "Refresh");
    EXPECT_EQ(form.grid().rowCount(), 3); // 2023-12-26 .. 2024-01-10

    // Every date and caption fits its column on one line.
    const QFontMetrics fm(form.gridView()->font());
    for (int col : {int(colTDate), int(colDateOut)})
        EXPECT_GT(form.gridView()->columnWidth(col), fm.horizontalAdvance(CalDate::ymd(2023, 12, 27).toShortDate()));
    EXPECT_GT(form.gridView()->columnWidth(colTotalHrs), fm.horizontalAdvance(QStringLiteral("Total Hours")));
}

TEST_F(DataSheetScreen, ToolbarDeletesSelectedRowsAndOpensTheReport) {
    frmDataSheetEdit form;
    chooseFirstEmployee(&form);
    ASSERT_EQ(form.grid().rowCount(), 2);
    ClockGridView* view = form.gridView();
    const auto clickRow = [view](int row) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 1)).center());
    };

    clickRow(0);
    r.answers.push_back(ui::Answer::No);
    toolbar(&form, "Delete");
    EXPECT_EQ(r.last()->text, QStringLiteral("Would you like to delete selected row(s)?"));
    EXPECT_EQ(form.grid().rowCount(), 2);
    clickRow(0);
    r.answers.push_back(ui::Answer::Yes);
    toolbar(&form, "Delete");
    ASSERT_EQ(form.grid().rowCount(), 1);
    EXPECT_EQ(c.db().openRecordset(QStringLiteral("SELECT Recalculate FROM [Time Attendance] WHERE TDate = ?"),
                                   {kMon.addDays(1)})
                  .field(0)
                  .toInt(),
              1);

    int reports = 0;
    registerMenuHandler(QStringLiteral("mnuRptTA"), [&reports] { ++reports; });
    toolbar(&form, "Select");
    EXPECT_EQ(reports, 1);
}

TEST_F(DataSheetScreen, EditingWithoutAnEmployeeIsRefused) {
    frmDataSheetEdit form;
    test::showActive(&form);
    ClockGridView* view = form.gridView();
    const QRect cell = view->visualRect(form.gridModel()->index(0, colTDate));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(r.texts(), QStringList{"No employee selected!"});
    EXPECT_EQ(view->indexWidget(form.gridModel()->index(0, colTDate)), nullptr);
    EXPECT_EQ(form.grid().rowCount(), 0);
}

TEST_F(DataSheetScreen, MenuHandlersOpenOneInstanceEach) {
    registerClockDataScreens();
    for (const char* name : {"mnuClkDataEditClkData", "mnuUtilitiesArchive", "mnuUtilitiesUnarchive"})
        EXPECT_TRUE(hasMenuHandler(QString::fromLatin1(name))) << name;
    QWidget* editor = showClockDataEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(showClockDataEditor(), editor);
    editor->close();
    QWidget* archive = showArchive();
    EXPECT_EQ(archive->windowTitle(), QStringLiteral("Archive"));
    archive->close();
    QWidget* unarchive = showUnarchive();
    EXPECT_EQ(unarchive->windowTitle(), QStringLiteral("Unarchive"));
    unarchive->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Without a database the editor is not shown, and nothing breaks.
    CompanyDb.reset();
    EXPECT_EQ(showClockDataEditor(), nullptr);
}

// What a supervisor types into the grid is written when the row is left
// with the keyboard, and when the screen is closed with a cell still open.
TEST_F(DataSheetScreen, TypedCellsAreSavedWhenTheRowIsLeft) {
    QPointer<frmDataSheetEdit> form = new frmDataSheetEdit;
    chooseFirstEmployee(form);
    ClockGridView* view = form->gridView();
    ClockGridModel* model = form->gridModel();
    ASSERT_EQ(model->rowCount(), 3);

    enterInto(view, 0, colClockOut, QStringLiteral("17:20"));
    EXPECT_EQ(form->grid().editingRow(), 0);
    EXPECT_EQ(model->data(model->index(0, colTotalHrs)).toString(), QStringLiteral("9"));
    EXPECT_EQ(model->data(model->index(0, colTotalMin)).toString(), QStringLiteral("20"));
    EXPECT_EQ(stored(kMon).value(1), QStringLiteral("16:00")); // not before the row is left

    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(form->grid().editingRow(), -1);
    EXPECT_EQ(stored(kMon), (QVariantList{kMon.toIso(), QStringLiteral("17:20"), 9, 20, 1}));

    // Typed, not yet entered, and the window closed.
    typeInto(view, 1, colClockOut, QStringLiteral("18:00"));
    form->close();
    EXPECT_SOON(form.isNull());
    EXPECT_EQ(stored(kMon.addDays(1)).value(1), QStringLiteral("18:00"));
    EXPECT_EQ(stored(kMon.addDays(1)).value(2), 10);
    EXPECT_TRUE(r.messages.empty());
}

// Shifts typed one after another by keyboard alone, with Tab and Enter,
// each become a row of their own: Tab passes the week (filled by itself)
// and the locked totals, and after a row's last cell the cursor waits on
// the new last line, and the window closes from there. The rows above keep
// what they held.
TEST_F(DataSheetScreen, ShiftsTypedInTurnEachBecomeANewRow) {
    QPointer<frmDataSheetEdit> form = new frmDataSheetEdit;
    chooseFirstEmployee(form);
    ClockGridView* view = form->gridView();
    ASSERT_EQ(form->grid().rowCount(), 2);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(2, colTDate)).center());
    for (int i = 2; i < 5; ++i) {
        const QString d = kMon.addDays(i).toShortDate();
        typeKeys(d + "\t07:30\t" + d + (i == 3 ? "\t15:45\n\n" : "\t15:45\t\t"));
    }
    EXPECT_EQ(view->currentIndex(), view->model()->index(5, colTDate));
    form->close();
    EXPECT_SOON(form.isNull());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(stored(kMon.addDays(i)).value(1), i < 2 ? QStringLiteral("16:00") : QStringLiteral("15:45")) << i;
    EXPECT_EQ(stored(kMon.addDays(4)), (QVariantList{kMon.addDays(4).toIso(), QStringLiteral("15:45"), 8, 15, 1}));
    EXPECT_TRUE(r.messages.empty());
}

// Times typed into the cells as into the time boxes, in every locale
// (editor/CMakeLists.txt): "7a", "10pm", "1000p", "2200" and the rest, hours
// without a or p on the 24-hour clock the cells show. A cell that does not
// read keeps the cursor, so the time typed again goes into it, not into the
// next column (Clock In to Date Out, Clock Out to Week).
TEST_F(DataSheetScreen, TimeCellsReadWhatTheTimeBoxesReadAndARefusedOneIsTypedAgain) {
    QPointer<frmDataSheetEdit> form = new frmDataSheetEdit;
    chooseFirstEmployee(form);
    ClockGridView* view = form->gridView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(2, colTDate)).center());
    const auto day = [](int i) { return test::typedDate(kMon.addDays(i)); };
    typeKeys(day(2) + "\t7x\t7a\t" + day(2) + "\t10pm\t\t");
    typeKeys(day(3) + "\t1000p\t" + day(4) + "\t6:00 AM\t\t");
    typeKeys(day(5) + "\t0900\t" + day(5) + "\t25:00\t2200\t\t");
    EXPECT_EQ(r.texts(), QStringList(2, "You have entered data that does not match the type of one or more fields."));
    EXPECT_EQ(r.last()->title, QStringLiteral("Zelto Error#: T255-3464"));
    EXPECT_EQ(view->currentIndex(), view->model()->index(5, colTDate));
    form->close();
    EXPECT_SOON(form.isNull());

    const QString rows =
        c.db()
            .openRecordset(QStringLiteral("SELECT group_concat(TDate || ' ' || ClockIn || ' ' || DateOut || ' ' || "
                                          "ClockOut || ' ' || Week || ' ' || TotalHrs || ':' || TotalMin, ', ') "
                                          "FROM (SELECT * FROM [Time Attendance] WHERE TDate > ? ORDER BY TDate)"),
                           {kMon.addDays(1)})
            .field(0)
            .toString();
    EXPECT_EQ(rows, "2024-01-10 07:00 2024-01-10 22:00 2 15:0, 2024-01-11 22:00 2024-01-12 06:00 2 8:0, "
                    "2024-01-13 09:00 2024-01-13 22:00 2 13:0");
}

// A clock-out before the clock-in would store a negative length that the
// hours engine takes off the week. Such a row is refused with a message
// when it is left or the screen closed, and stays in edit until it is
// corrected or dropped with Escape.
TEST_F(DataSheetScreen, AShiftThatEndsBeforeItStartsIsRefused) {
    QPointer<frmDataSheetEdit> form = new frmDataSheetEdit;
    chooseFirstEmployee(form);
    ClockGridView* view = form->gridView();
    ClockGridModel* model = form->gridModel();
    const CalDate wed = kMon.addDays(2);

    // Monday's shift moved to Wednesday by its Date In only.
    enterInto(view, 0, colTDate, wed.toShortDate());
    EXPECT_EQ(model->data(model->index(0, colTotalHrs)).toString(), QStringLiteral("0"));
    QTest::keyClick(view, Qt::Key_Down);
    const QString refusal = QStringLiteral("Cannot add or change record. The Date Out and Clock Out must not be "
                                           "earlier than the Date In and Clock In!");
    ASSERT_EQ(r.texts(), QStringList{refusal});
    EXPECT_EQ(r.last()->title, QStringLiteral("Zelto Error#: T258-3317"));
    EXPECT_EQ(form->grid().editingRow(), 0);
    EXPECT_SOON(view->currentIndex().row() == 0);
    EXPECT_TRUE(stored(wed).isEmpty());

    // Closing keeps the screen and the row.
    form->close();
    EXPECT_EQ(r.texts(), (QStringList{refusal, refusal}));
    EXPECT_TRUE(form->isVisible());

    // Corrected: saved with its length.
    enterInto(view, 0, colDateOut, wed.toShortDate());
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(form->grid().editingRow(), -1);
    EXPECT_EQ(stored(wed), (QVariantList{wed.toIso(), QStringLiteral("16:00"), 8, 0, 1}));
    EXPECT_TRUE(stored(kMon).isEmpty());

    // Tuesday clocked out at 07:00, before its 08:00 clock-in: Escape drops it.
    enterInto(view, 0, colClockOut, QStringLiteral("07:00"));
    for (int i = 0; i < 2; ++i) // the next cell's editor closes, then the row's changes go
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(form->grid().editingRow(), -1);
    EXPECT_EQ(model->data(model->index(0, colClockOut)).toString(), QStringLiteral("16:00"));

    // A new one typed by keyboard, Tab on from its last cell: told once,
    // and back on the row; Escape drops it without telling again, and the
    // next row starts in its first column.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(model->index(2, colTDate)).center());
    const QString thu = kMon.addDays(3).toShortDate();
    typeKeys(thu + "\t17:30\t" + thu + "\t15:00\t\t");
    EXPECT_SOON(view->currentIndex().row() == 2);
    EXPECT_EQ(r.texts(), (QStringList{refusal, refusal, refusal}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(form->grid().rowCount(), 2);
    EXPECT_EQ(view->currentIndex(), model->index(2, colTDate));
    form->close();
    EXPECT_SOON(form.isNull());
    EXPECT_EQ(r.messages.size(), 3u);
    EXPECT_EQ(c.db().openRecordset(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE TotalHrs < 0 OR "
                                                  "TotalMin < 0 OR ClockOut = '07:00'"))
                  .field(0)
                  .toInt(),
              0);
}

// A shift of years typed by mistake: the overflow error of the shift
// arithmetic when it is computed, and again when the row is left; the row
// stays in edit and nothing is stored. With rounding off the limit is
// 32,767 minutes as they are; with rounding on, once rounded.
TEST_F(DataSheetScreen, AShiftTooLongToCountIsTheOverflowErrorAndIsNotStored) {
    QPointer<frmDataSheetEdit> form = new frmDataSheetEdit;
    chooseFirstEmployee(form);
    ClockGridView* view = form->gridView();
    ClockGridModel* model = form->gridModel();
    const int added = model->rowCount() - 1;
    const CalDate fri = kMon.addDays(4);

    enterInto(view, added, colTDate, QStringLiteral("01/12/24"));
    enterInto(view, added, colClockIn, QStringLiteral("08:00"));
    enterInto(view, added, colDateOut, QStringLiteral("12/31/30"));
    ASSERT_TRUE(r.messages.empty()) << r.texts().join(" / ").toStdString();
    enterInto(view, added, colClockOut, QStringLiteral("08:00"));
    ASSERT_EQ(r.texts(), QStringList{"Update operation was not successful!"});
    EXPECT_EQ(r.last()->title, QStringLiteral("Zelto Error#: T252-6"));
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(r.texts().last(), QStringLiteral("Overflow"));
    EXPECT_EQ(r.last()->title, QStringLiteral("Zelto Error#: T258-6"));
    EXPECT_EQ(form->grid().editingRow(), added);
    EXPECT_SOON(view->currentIndex().row() == added);
    EXPECT_EQ(c.db().openRecordset(QStringLiteral("SELECT count(*) FROM [Time Attendance]")).field(0).toInt(), 3);

    // 32,768 minutes with rounding off is one too many; 32,767 is stored.
    Company.RoundTotal = 0;
    enterInto(view, added, colDateOut, QStringLiteral("02/04/24"));
    enterInto(view, added, colClockOut, QStringLiteral("02:08"));
    EXPECT_EQ(r.last()->title, QStringLiteral("Zelto Error#: T252-6"));
    const int boxes = int(r.messages.size());
    enterInto(view, added, colClockOut, QStringLiteral("02:07"));
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(form->grid().editingRow(), -1);
    EXPECT_EQ(int(r.messages.size()), boxes) << r.texts().join(" / ").toStdString();
    const QVariantList longest = stored(fri);
    EXPECT_EQ(longest.value(2).toInt() * 60 + longest.value(3).toInt(), 32767);
    form->close();
    EXPECT_SOON(form.isNull());
}

} // namespace
