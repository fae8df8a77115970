#include "GridFixture.h"
#include "core/common/Screens.h"
#include "core/types/WorkWeek.h"
#include "setup/frmAbsenceSTP.h"
#include "testing/ScreenEvents.h"

#include <QBrush>
#include <QColor>
#include <QComboBox>

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

using namespace plax;
using namespace plax::setup;
using plax::test::clickToolButton;
using plax::test::showActive;
using plax::test::typeKeys;

namespace {

class AbsenceScreen : public setup::test::GridFixture {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        CompanyDb->execute("DELETE FROM Absence");
        // Monday 9 March 2026 is the start of today's work week (WorkDay 2).
        for (const char* d : {"2026-03-01", "2026-03-09", "2026-03-15", "2026-03-16"})
            add("1001", d);
    }
    void add(const char* id, const char* date) {
        const CalDate d = *CalDate::fromIso(QString::fromUtf8(date));
        CompanyDb->execute("INSERT INTO Absence (EmpID, TDate, Week, Reason, [Hours Paid]) VALUES (?,?,?,?,?)",
                           {id, d, WeekNumber(d, Company), "Sick", 8});
    }
    void clickTool(frmAbsenceSTP& f, const char* key) {
        if (!f.isActiveWindow())
            showActive(&f);
        clickToolButton(&f, key);
    }
    // The width the cells of a column need to show their text whole.
    static int widthWanted(const QAbstractItemView* view, int column) { return view->sizeHintForColumn(column); }
};

} // namespace

TEST_F(AbsenceScreen, OpensOnThePayPeriodWeek) {
    frmAbsenceSTP f;
    ASSERT_TRUE(f.loaded());
    EXPECT_EQ(child<QLineEdit>(&f, "txtPayPeriod")->text(), CalDate::ymd(2026, 3, 9).toShortDate());
    EXPECT_EQ(dates(f.model()), (QStringList{"2026-03-09", "2026-03-15"}));
    EXPECT_EQ(f.employeeChoices().size(), 10u); // active employees only
    EXPECT_FALSE(f.model()->flags(f.model()->index(0, 2)) & Qt::ItemIsEditable);

    clickOn(&f, "optDateRange");
    clickOn(&f, "cmdLoad"); // 25 February .. 12 March, both ends included
    EXPECT_EQ(dates(f.model()), (QStringList{"2026-03-01", "2026-03-09"}));

    clickOn(&f, "optPayPeriod");
    auto* payPeriod = child<QLineEdit>(&f, "txtPayPeriod");
    QTest::mouseClick(payPeriod, Qt::LeftButton);
    QTest::keyClick(payPeriod, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(payPeriod, "not a date");
    clickOn(&f, "cmdLoad");
    EXPECT_EQ(answers.texts(), QStringList{"Invalid date!"});
    EXPECT_EQ(dates(f.model()), (QStringList{"2026-03-01", "2026-03-09"}));
}

TEST_F(AbsenceScreen, SortingInPayPeriodModeReachesIntoALateDayStart) {
    Company.setDayStart(TimeOfDay::fromMinutes(6 * 60));
    frmAbsenceSTP f;
    showActive(&f);
    EXPECT_EQ(dates(f.model()), (QStringList{"2026-03-09", "2026-03-15"}));
    QHeaderView* heads = f.grid()->horizontalHeader();
    QTest::mouseClick(heads->viewport(), Qt::LeftButton, {}, QPoint(heads->sectionViewportPosition(1) + 5, 5));
    EXPECT_EQ(f.model()->value(0, 1).toString(), "2026-03-09");
    EXPECT_EQ(dates(f.model()), (QStringList{"2026-03-09", "2026-03-15", "2026-03-16"}));
}

TEST_F(AbsenceScreen, NewRowsFromTheEmployeeDropDownGetTheirWeekAndRefusalsTheMessage) {
    frmAbsenceSTP f;
    plax::test::showActive(&f);
    GridModel* m = f.model();
    const int row = m->recordCount();

    // The employee drop-down lists ID and name in two columns.
    typeCell(f, row, 0, "1002");
    auto* box = qobject_cast<QComboBox*>(f.grid()->indexWidget(m->index(row, 0)));
    ASSERT_TRUE(box);
    auto* list = qobject_cast<QTableView*>(box->view());
    ASSERT_TRUE(list);
    const QAbstractItemModel* choices = list->model();
    EXPECT_EQ(choices->columnCount(), 2);
    EXPECT_EQ(choices->rowCount(), 10); // active employees only
    EXPECT_EQ(choices->headerData(0, Qt::Horizontal).toString(), "Employee ID");
    EXPECT_GE(list->columnWidth(0), 1200 / 15);
    EXPECT_GE(list->columnWidth(1), 1500 / 15);
    EXPECT_EQ(choices->index(0, 0).data().toString(), f.employeeChoices()[0].first);
    EXPECT_EQ(choices->index(0, 1).data().toString(), f.employeeChoices()[0].second);
    EXPECT_EQ(choices->index(0, 1).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0xFF, 0xFF, 0x80));

    // The date's week follows at once; leaving the row stores it.
    QTest::keyClick(box, Qt::Key_Tab);
    typeCell(f, row, 1, "03/11/2026");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(m->value(row, 2).toInt(), WeekNumber(CalDate::ymd(2026, 3, 11), Company));
    EXPECT_FALSE(m->flags(m->index(row, 2)) & Qt::ItemIsEditable);
    typeCell(f, row, 3, "Doctor");
    typeCell(f, row, 4, "4.5");
    clickRow(f, 0);
    EXPECT_EQ(count("SELECT count(*) FROM Absence WHERE EmpID = '1002' AND TDate = '2026-03-11' AND "
                    "[Hours Paid] = 4.5 AND Reason = 'Doctor' AND Week = ?",
                    {WeekNumber(CalDate::ymd(2026, 3, 11), Company)}),
              1);

    // The same employee and day again: the message, then Esc Esc drops it.
    typeCell(f, row + 1, 0, "1002");
    typeCell(f, row + 1, 1, "03/11/2026");
    clickRow(f, 0);
    ASSERT_EQ(answers.texts().size(), 1);
    EXPECT_TRUE(answers.texts().last().endsWith("\r\n- A record exists with the same employee ID# and absence date."));
    EXPECT_TRUE(answers.texts().last().contains("\r\n- The employee ID# does not exist. \r\n"));
    plax::test::waitUntil([&] { return currentRow(f) == row + 1; });
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(m->hasPending());

    // An ID that names no employee, then hours that are no number: each
    // refused once, the typed values kept for mending.
    typeCell(f, row + 1, 0, "9999");
    typeCell(f, row + 1, 1, "03/12/2026");
    clickRow(f, 0);
    EXPECT_EQ(answers.texts().size(), 2);
    typeCell(f, row + 1, 4, "lots");
    typeCell(f, row + 1, 0, "1003");
    clickRow(f, 0);
    EXPECT_EQ(answers.texts().size(), 3);
    EXPECT_EQ(cell(m, row + 1, 4), "lots");
    typeCell(f, row + 1, 4, "8");
    clickRow(f, 0);
    EXPECT_EQ(answers.texts().size(), 3);
    EXPECT_EQ(count("SELECT count(*) FROM Absence WHERE EmpID = '1003' AND TDate = '2026-03-12'"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM Absence WHERE EmpID = '9999'"), 0);
}

TEST_F(AbsenceScreen, DeletesSelectedRowsAfterYes) {
    frmAbsenceSTP f;
    clickOn(&f, "optDateRange");
    add("1002", "2026-03-10");
    clickOn(&f, "cmdLoad");
    ASSERT_EQ(f.model()->recordCount(), 3);
    // The three rows chosen by their headers, the first clicked and the last shift-clicked.
    QHeaderView* rows = f.grid()->verticalHeader();
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, QPoint(5, rows->sectionViewportPosition(0) + 5));
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(5, rows->sectionViewportPosition(2) + 5));
    ASSERT_EQ(f.grid()->selectionModel()->selectedRows().size(), 3);
    answers.answers = {ui::Answer::No};
    clickTool(f, "Delete");
    EXPECT_EQ(answers.texts(), QStringList{"Would you like to delete selected row(s)?"});
    EXPECT_EQ(count("SELECT count(*) FROM Absence"), 5);
    clickTool(f, "Delete");
    EXPECT_EQ(count("SELECT count(*) FROM Absence"), 2);
    EXPECT_EQ(f.model()->recordCount(), 0);
}

TEST_F(AbsenceScreen, SelectOpensTheAbsenceReport) {
    int opened = 0;
    registerMenuHandler("mnuReportsAbsLst", [&] { ++opened; });
    frmAbsenceSTP f;
    clickTool(f, "Select");
    EXPECT_EQ(opened, 1);
    clearMenuHandlers();
}

// Absences typed one after another, the employee typed or picked from the
// drop-down by keyboard, each become a row of their own; the stored rows
// keep their employees. A row dropped with Escape leaves the next one to
// start in its first column. The drop-down shows its columns whole, and a
// date stays on one line.
TEST_F(AbsenceScreen, AbsencesTypedInTurnEachBecomeANewRow) {
    CompanyDb->execute("INSERT INTO Employee (ID, LastName, FirstName, Status) VALUES "
                       "('2001', 'Montgomery-Featherstonehaugh', 'Alexandra Josephine', 1)");
    frmAbsenceSTP f;
    showActive(&f);
    GridModel* m = f.model();
    const int row = m->recordCount();
    ASSERT_EQ(row, 2);
    clickCell(f, row, 0);
    typeKeys("1002\t03/10/2026\tDoctor\t4\t");

    // The next employee from the drop-down: F4 opens it, arrows choose.
    auto* box = qobject_cast<QComboBox*>(QApplication::focusWidget());
    ASSERT_TRUE(box);
    QTest::keyClick(box, Qt::Key_F4);
    auto* list = qobject_cast<QTableView*>(box->view());
    ASSERT_TRUE(list);
    plax::test::waitUntil([&] { return list->isVisible(); });
    for (int c = 0; c < 2; ++c)
        EXPECT_GE(list->columnWidth(c), std::max(widthWanted(list, c),
                                                 list->horizontalHeader()->sectionSizeHint(c))) << c;
    EXPECT_GE(list->viewport()->width(), list->columnWidth(0) + list->columnWidth(1));
    const int pick = box->findText("1004");
    ASSERT_GT(pick, 0);
    for (int i = 0; i < pick; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    plax::test::waitUntil([&] { return !list->isVisible(); });
    typeKeys("\t03/12/2026\tVacation\t8\n2001\t03/13/2026\tFuneral\t8\t");
    typeKeys("1005\t03/14/2026\t"); // Escape closes the Reason cell, Escape drops the row
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    typeKeys("1006\t03/14/2026\tTraining\t8\t");

    EXPECT_EQ(count("SELECT count(*) FROM Absence"), 8);
    EXPECT_EQ(value("SELECT EmpID || ' ' || Reason FROM Absence WHERE TDate = '2026-03-14'"), "1006 Training");
    EXPECT_EQ(count("SELECT count(*) FROM Absence WHERE EmpID = '1001'"), 4);
    EXPECT_EQ(value("SELECT Reason FROM Absence WHERE EmpID = '1002' AND TDate = '2026-03-10'"), "Doctor");
    EXPECT_EQ(value("SELECT Reason FROM Absence WHERE EmpID = '1004' AND TDate = '2026-03-12'"), "Vacation");
    EXPECT_EQ(value("SELECT Week FROM Absence WHERE EmpID = '2001' AND TDate = '2026-03-13'").toInt(),
              WeekNumber(CalDate::ymd(2026, 3, 13), Company));
    EXPECT_EQ(f.grid()->currentIndex(), m->index(row + 4, 0));
    EXPECT_GE(f.grid()->columnWidth(1), widthWanted(f.grid(), 1));
    EXPECT_TRUE(answers.texts().isEmpty());
}
