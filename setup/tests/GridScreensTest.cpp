#include "SetupFixture.h"
#include "core/types/WorkWeek.h"
#include "setup/frmDepStp.h"
#include "setup/frmHolidaySTP.h"
#include "setup/frmSetupMessages.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QTableView>

using namespace plax;
using namespace plax::setup;

namespace {

class GridScreens : public setup::test::SetupFixture {
protected:
    // Types a cell as the grid's editor would hand it over.
    void type(GridModel* m, int row, int column, const QString& text) {
        m->setData(m->index(row, column), text, Qt::EditRole);
    }
    QString cell(GridModel* m, int row, int column) { return m->data(m->index(row, column)).toString(); }
};

} // namespace

TEST_F(GridScreens, HolidaysOfAYearWithTheirWeek) {
    frmHolidaySTP f;
    ASSERT_TRUE(f.loaded());
    GridModel* m = f.model();
    // 2026 is past the list: no year is chosen and the grid is empty.
    EXPECT_EQ(child<QComboBox>(&f, "cboYear")->currentText(), "");
    EXPECT_EQ(m->recordCount(), 0);
    EXPECT_TRUE(f.grid()->isColumnHidden(2));
    child<QComboBox>(&f, "cboYear")->setEditText("2026");
    f.cmdLoad_Click();
    const qint64 stored = count("SELECT count(*) FROM Holidays WHERE TDate LIKE '2026%'");
    EXPECT_EQ(m->recordCount(), stored);

    const int row = m->recordCount(); // the new-row line
    type(m, row, 0, "Christmas");
    type(m, row, 1, "12/25/2026");
    EXPECT_EQ(m->value(row, 2).toInt(), WeekNumber(CalDate::ymd(2026, 12, 25), Company));
    EXPECT_TRUE(m->storePending());
    EXPECT_EQ(value("SELECT Week FROM Holidays WHERE TDate = '2026-12-25'").toInt(),
              WeekNumber(CalDate::ymd(2026, 12, 25), Company));

    // Moving it a day on rewrites its week at once (Friday -> Saturday of another week with WorkDay 7).
    Company.WorkDay = 7;
    type(m, row, 1, "12/26/2026");
    EXPECT_TRUE(m->storePending());
    EXPECT_EQ(value("SELECT Week FROM Holidays WHERE TDate = '2026-12-26'").toInt(),
              WeekNumber(CalDate::ymd(2026, 12, 26), Company));

    // A second holiday on the same date is refused with the screen's message.
    type(m, row + 1, 0, "Boxing Day");
    type(m, row + 1, 1, "12/26/2026");
    EXPECT_FALSE(m->storePending());
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_TRUE(answers.messages[0].text.startsWith("Data was NOT updated successfully. This is due to one or more "
                                                    "of the following errors: \r\n- The data you have entered"));
    EXPECT_TRUE(answers.messages[0].text.endsWith("- A record exists with the same date.\r\n"));
    EXPECT_EQ(answers.messages[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(m->hasPending()); // the input stays for mending
    type(m, row + 1, 1, "12/27/2026");
    EXPECT_TRUE(m->storePending());
    EXPECT_EQ(count("SELECT count(*) FROM Holidays WHERE TDate LIKE '2026-12%'"), 2);
}

TEST_F(GridScreens, DepartmentNumbersHoldNoBlankAndSortByHeading) {
    frmDepStp f;
    GridModel* m = f.model();
    ASSERT_EQ(m->recordCount(), 3);
    EXPECT_EQ(cell(m, 0, 0), "ADM");
    type(m, 0, 0, "A 1");
    EXPECT_EQ(answers.texts(), QStringList{"The department# cannot contain any space character."});
    EXPECT_EQ(cell(m, 0, 0), "ADM");
    type(m, 3, 0, "Q 9"); // a new row keeps its empty number
    EXPECT_EQ(cell(m, 3, 0), "");
    EXPECT_EQ(answers.texts().size(), 2);

    CompanyDb->execute("INSERT INTO Department VALUES ('AAA', 'Zoo')");
    f.TDBGrid1_HeadClick(1);
    EXPECT_EQ(cell(m, 0, 1), "Administration");
    EXPECT_EQ(cell(m, 3, 1), "Zoo");
    f.TDBGrid1_HeadClick(0);
    EXPECT_EQ(cell(m, 0, 0), "AAA");

    // Two departments with one number, and one still in use, are refused.
    type(m, 0, 0, "prd");
    EXPECT_FALSE(m->storePending());
    EXPECT_TRUE(answers.texts().last().contains("- An existing record has the same Department#."));
    m->cancelPending();
    f.grid()->selectRow(1); // ADM: employees belong to it
    f.deleteGridRows();
    EXPECT_EQ(answers.texts().size(), 4);
    EXPECT_TRUE(answers.texts().last().contains("- One or more employees are assigned to current department."));
    EXPECT_EQ(count("SELECT count(*) FROM Department WHERE DepartmentNo = 'ADM'"), 1);
    f.grid()->selectRow(0);
    f.deleteGridRows();
    EXPECT_EQ(count("SELECT count(*) FROM Department WHERE DepartmentNo = 'AAA'"), 0);
    EXPECT_EQ(m->recordCount(), 3);
}

TEST_F(GridScreens, MessagesRefuseADuplicateNumber) {
    frmSetupMessages f;
    GridModel* m = f.model();
    ASSERT_EQ(m->recordCount(), 3);
    type(m, 3, 0, "002");
    type(m, 3, 1, "Twice");
    f.TDBGrid1_LostFocus();
    ASSERT_EQ(answers.texts().size(), 1);
    EXPECT_TRUE(answers.texts()[0].endsWith("\r\n- A record exists with the same Message#."));
    type(m, 3, 0, "004");
    f.TDBGrid1_LostFocus();
    EXPECT_EQ(value("SELECT Message FROM Messages WHERE MessageNo = '004'"), "Twice");
    EXPECT_EQ(m->recordCount(), 4);
    CompanyDb->execute("DELETE FROM Messages WHERE MessageNo = '001'");
    f.Toolbar1_ButtonClick("Refresh");
    EXPECT_EQ(m->recordCount(), 3);
}

TEST_F(GridScreens, TheModelKeepsItsViewsInStepThroughAddsRefusalsAndDeletes) {
    frmSetupMessages f;
    GridModel* m = f.model();
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    type(m, 3, 0, "005");
    EXPECT_TRUE(m->storePending());
    EXPECT_EQ(m->rowCount(), 5); // four rows and the new-row line
    type(m, 4, 0, "005");
    EXPECT_FALSE(m->storePending());
    EXPECT_EQ(m->rowCount(), 5);
    m->cancelPending();
    m->deleteRows({0, 3, 0});
    EXPECT_EQ(m->rowCount(), 3);
    EXPECT_EQ(count("SELECT count(*) FROM Messages"), 2);
    f.Toolbar1_ButtonClick("Refresh");
    EXPECT_EQ(m->rowCount(), 3);
}
