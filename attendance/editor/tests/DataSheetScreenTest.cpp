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
#include "testing/TempCompany.h"

#include <QAction>
#include <QTest>
#include <QCoreApplication>
#include <QEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QDateEdit>
#include <QFontMetrics>
#include <QTableView>
#include <gtest/gtest.h>

using namespace plax;
using namespace plax::editor;

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
    static void toolbar(QWidget* form, const char* key) {
        for (QAction* a : form->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions())
            if (a->data().toString() == QLatin1String(key))
                a->trigger();
    }
    template <typename T>
    static T* child(QWidget* form, const char* name) {
        return form->findChild<T*>(QString::fromLatin1(name));
    }

    test::TempCompany c;
    ui::ScriptedResponder r;
};

TEST_F(DataSheetScreen, LoadsTheChosenEmployeesPayPeriod) {
    frmDataSheetEdit form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Data Sheet"));
    auto* pay = child<QLineEdit>(&form, "txtPayPeriod");
    EXPECT_EQ(pay->text(), kMon.toShortDate());
    EXPECT_FALSE(child<QDateEdit>(&form, "DTPFromDate")->isEnabled());
    EXPECT_EQ(form.grid().rowCount(), 0);
    EXPECT_TRUE(form.gridView()->isColumnHidden(colEmpID));
    EXPECT_TRUE(form.gridView()->isColumnHidden(colRecalculate));

    auto* cbo = child<QComboBox>(&form, "cboEmployee");
    ASSERT_EQ(cbo->count(), 2);
    EXPECT_EQ(cbo->itemText(0), QStringLiteral("100 Baker, Ann"));
    cbo->setCurrentIndex(0);
    form.cboEmployee_Click();
    EXPECT_EQ(form.grid().rowCount(), 2);

    // The arrows step a week back and load it.
    child<WeekNavigator>(&form, "UpDown1")->stepDown();
    EXPECT_EQ(pay->text(), kMon.addDays(-7).toShortDate());
    EXPECT_EQ(form.grid().rowCount(), 1);

    // A pay period that is no date: the error box, the rows stay.
    pay->setText(QStringLiteral("someday"));
    child<QPushButton>(&form, "cmdLoad")->click();
    ASSERT_NE(r.last(), nullptr);
    EXPECT_TRUE(r.last()->title.startsWith(QStringLiteral("Zelto Error#: T253-")));
    EXPECT_EQ(form.grid().rowCount(), 1);

    // A date range.
    child<QRadioButton>(&form, "optDateRange")->click();
    EXPECT_TRUE(child<QDateEdit>(&form, "DTPFromDate")->isEnabled());
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
    auto* cbo = child<QComboBox>(&form, "cboEmployee");
    cbo->setCurrentIndex(0);
    form.cboEmployee_Click();
    ASSERT_EQ(form.grid().rowCount(), 2);

    form.gridView()->selectRow(0);
    r.answers.push_back(ui::Answer::No);
    toolbar(&form, "Delete");
    EXPECT_EQ(r.last()->text, QStringLiteral("Would you like to delete selected row(s)?"));
    EXPECT_EQ(form.grid().rowCount(), 2);
    form.gridView()->selectRow(0);
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
    form.show();
    ClockGridView* view = form.gridView();
    view->setCurrentIndex(form.gridModel()->index(0, colTDate));
    view->edit(form.gridModel()->index(0, colTDate));
    EXPECT_EQ(r.texts(), QStringList{"No employee selected!"});
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

} // namespace

namespace {

// Typing into the grid as a user does: the cell editor commits on Enter,
// and moving to another row writes the row.
TEST_F(DataSheetScreen, TypedCellsAreSavedWhenTheRowIsLeft) {
    frmDataSheetEdit form;
    form.show();
    auto* cbo = child<QComboBox>(&form, "cboEmployee");
    cbo->setCurrentIndex(0);
    form.cboEmployee_Click();
    ClockGridView* view = form.gridView();
    ClockGridModel* model = form.gridModel();
    ASSERT_EQ(model->rowCount(), 3);

    const QModelIndex clockOut = model->index(0, colClockOut);
    view->setCurrentIndex(clockOut);
    view->edit(clockOut);
    auto* line = qobject_cast<QLineEdit*>(view->indexWidget(clockOut));
    ASSERT_NE(line, nullptr);
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral("17:20"));
    QTest::keyClick(line, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits in a queued call
    EXPECT_EQ(form.grid().editingRow(), 0);
    EXPECT_EQ(model->data(model->index(0, colTotalHrs)).toString(), QStringLiteral("9"));
    EXPECT_EQ(model->data(model->index(0, colTotalMin)).toString(), QStringLiteral("20"));

    view->setCurrentIndex(model->index(1, colClockOut));
    EXPECT_EQ(form.grid().editingRow(), -1);
    db::Recordset rs = c.db().openRecordset(
        QStringLiteral("SELECT ClockOut, TotalHrs, TotalMin, Recalculate FROM [Time Attendance] WHERE TDate = ?"),
        {kMon});
    EXPECT_EQ(rs.field(0).toString(), QStringLiteral("17:20"));
    EXPECT_EQ(rs.field(1).toInt(), 9);
    EXPECT_EQ(rs.field(2).toInt(), 20);
    EXPECT_EQ(rs.field(3).toInt(), 1);
    EXPECT_TRUE(r.messages.empty());
}

} // namespace
