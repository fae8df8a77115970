#include "GridFixture.h"
#include "core/common/Common.h"
#include "core/common/Screens.h"
#include "core/mdi/Startup.h"
#include "core/mdi/frmMDI.h"
#include "core/types/WorkWeek.h"
#include "setup/frmDepStp.h"
#include "setup/frmHolidaySTP.h"
#include "setup/frmSetupMessages.h"
#include "testing/ScreenEvents.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

using namespace plax;
using namespace plax::setup;
using plax::test::clickToolButton;
using plax::test::showActive;
using plax::test::typeKeys;

namespace {

// Records the boxes as the scripted responder does, and shows each one as a
// real modal message box for a moment, so it takes the focus as it would
// in front of a user; afterwards the window behind it is active again, as
// the window manager would make it.
class RealBoxes : public ui::ScriptedResponder {
public:
    ui::Answer message(const ui::MessageRequest& r) override {
        const ui::Answer a = ScriptedResponder::message(r);
        QWidget* behind = QApplication::activeWindow();
        QMessageBox box(QMessageBox::Critical, r.title, r.text, QMessageBox::Ok);
        QTimer::singleShot(50, &box, &QMessageBox::accept);
        box.exec();
        if (behind)
            QApplication::setActiveWindow(behind);
        return a;
    }
};

class GridScreens : public setup::test::GridFixture {};

} // namespace

// A screen destroyed without being closed (the program ending) while a cell
// is typed in drops the text: the screen's hooks are never called on a
// screen half destroyed, and nothing half typed is stored.
TEST_F(GridScreens, AScreenDestroyedWhileACellIsTypedInDropsTheText) {
    {
        frmHolidaySTP f;
        ASSERT_TRUE(f.loaded());
        showActive(&f);
        const int row = f.model()->recordCount();
        typeCell(f, row, 0, "Christmas");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        typeCell(f, row, 1, "12/25/2026");
    }
    EXPECT_EQ(count("SELECT count(*) FROM Holidays WHERE TDate = '2026-12-25'"), 0);
}

TEST_F(GridScreens, HolidaysAreStoredWhenTheUserLeavesTheGridAndARefusalIsToldOnce) {
    RealBoxes boxes;
    frmHolidaySTP f;
    ASSERT_TRUE(f.loaded());
    showActive(&f);
    GridModel* m = f.model();
    // The year list reaches next year; this year's holidays are shown.
    auto* year = child<QComboBox>(&f, "cboYear");
    EXPECT_EQ(year->currentText(), "2026");
    EXPECT_EQ(year->itemText(0), "1996");
    EXPECT_EQ(year->itemText(year->count() - 1), "2027");
    EXPECT_TRUE(f.grid()->isColumnHidden(2));
    const qint64 stored = count("SELECT count(*) FROM Holidays WHERE TDate LIKE '2026%'");
    ASSERT_EQ(m->recordCount(), stored);

    // A new row, left for another control of the screen (the Year list)
    // straight from the cell editor: stored with the week of its date.
    const int row = m->recordCount(); // the new-row line
    typeCell(f, row, 0, "Christmas");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    typeCell(f, row, 1, "12/25/2026");
    QTest::mouseClick(year->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(value("SELECT Week FROM Holidays WHERE TDate = '2026-12-25'").toInt(),
              WeekNumber(CalDate::ymd(2026, 12, 25), Company));
    EXPECT_FALSE(m->hasPending());

    // A second holiday on the same date, then a click on another row: one
    // box, the typed values stay and the user is back on the row.
    typeCell(f, row + 1, 0, "Boxing Day");
    typeCell(f, row + 1, 1, "12/25/2026");
    clickRow(f, row);
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_TRUE(boxes.messages[0].text.startsWith("Data was NOT updated successfully. This is due to one or more "
                                                  "of the following errors: \r\n- The data you have entered"));
    EXPECT_TRUE(boxes.messages[0].text.endsWith("- A record exists with the same date.\r\n"));
    EXPECT_EQ(boxes.messages[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(m->hasPending());
    EXPECT_EQ(cell(m, row + 1, 0), "Boxing Day");
    plax::test::waitUntil([&] { return currentRow(f) == row + 1; });
    EXPECT_EQ(boxes.messages.size(), 1u);

    // Closing with the refused row keeps the screen open and says why.
    f.close();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(boxes.messages.size(), 2u);

    // Mended (the week follows the new date at once) and closed with the
    // window's close box: stored.
    typeCell(f, row + 1, 1, "12/26/2026");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    plax::test::waitUntil([&] { return m->value(row + 1, 2).toInt() != 0; });
    EXPECT_EQ(m->value(row + 1, 2).toInt(), WeekNumber(CalDate::ymd(2026, 12, 26), Company));
    f.close();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(value("SELECT HolidayName FROM Holidays WHERE TDate = '2026-12-26'"), "Boxing Day");
    EXPECT_EQ(boxes.messages.size(), 2u);
}

TEST_F(GridScreens, ANewDepartmentIsStoredByTheToolbarCloseAndANumberHoldsNoBlank) {
    auto* f = new frmDepStp;
    QPointer<frmDepStp> alive = f;
    showActive(f);
    GridModel* m = f->model();
    ASSERT_EQ(m->recordCount(), 3);
    EXPECT_EQ(cell(m, 0, 0), "ADM");
    typeCell(*f, 0, 0, "A 1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    plax::test::waitUntil([&] { return !answers.texts().isEmpty(); });
    EXPECT_EQ(answers.texts(), QStringList{"The department# cannot contain any space character."});
    EXPECT_EQ(cell(m, 0, 0), "ADM");

    // Sorting by a heading.
    CompanyDb->execute("INSERT INTO Department VALUES ('AAA', 'Zoo')");
    QHeaderView* heads = f->grid()->horizontalHeader();
    QTest::mouseClick(heads->viewport(), Qt::LeftButton, {}, QPoint(heads->sectionViewportPosition(1) + 5, 5));
    EXPECT_EQ(cell(m, 0, 1), "Administration");
    EXPECT_EQ(cell(m, 3, 1), "Zoo");
    QTest::mouseClick(heads->viewport(), Qt::LeftButton, {}, QPoint(heads->sectionViewportPosition(0) + 5, 5));
    EXPECT_EQ(cell(m, 0, 0), "AAA");

    // A number another department has is refused; Esc closes the editor,
    // a second Esc drops the row's edit.
    typeCell(*f, 0, 0, "prd");
    clickRow(*f, 2);
    EXPECT_EQ(answers.texts().size(), 2);
    EXPECT_TRUE(answers.texts().last().contains("- An existing record has the same Department#."));
    plax::test::waitUntil([&] { return currentRow(*f) == 0; });
    EXPECT_EQ(cell(m, 0, 0), "prd");
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(m->hasPending());
    EXPECT_EQ(cell(m, 0, 0), "AAA");

    // The grid's own deletion (a row chosen by its header, the Delete key,
    // Yes) keeps a department that employees belong to.
    QHeaderView* rowHeads = f->grid()->verticalHeader();
    QTest::mouseClick(rowHeads->viewport(), Qt::LeftButton, {}, QPoint(5, rowHeads->sectionViewportPosition(1) + 5));
    QTest::keyClick(f->grid(), Qt::Key_Delete);
    ASSERT_EQ(answers.texts().size(), 4);
    EXPECT_EQ(answers.texts()[2], "Would you like to delete selected row(s)?");
    const QString inUse = "- One or more employees are assigned to current department.";
    EXPECT_TRUE(answers.texts().last().contains(inUse));
    EXPECT_EQ(count("SELECT count(*) FROM Department WHERE DepartmentNo = 'ADM'"), 1);

    // Nor can it take another number: the employees would lose it. The
    // description can change, and so can the number of a department
    // nobody belongs to (a change of case is the same number).
    const qint64 inPrd = count("SELECT count(*) FROM Employee WHERE DepartmentNo = 'PRD'");
    clickCell(*f, 2, 0);
    typeKeys("PRX\tProduction hall");
    clickCell(*f, 0, 0); // AAA
    typeKeys("AAB\t");
    ASSERT_EQ(answers.texts().size(), 5);
    EXPECT_TRUE(answers.texts().last().startsWith("Data was NOT updated successfully."));
    EXPECT_TRUE(answers.texts().last().contains(inUse));
    EXPECT_EQ(value("SELECT Description FROM Department WHERE DepartmentNo = 'PRD'"), "Production hall");
    EXPECT_EQ(count("SELECT count(*) FROM Employee WHERE DepartmentNo = 'PRD'"), inPrd);
    clickCell(*f, 1, 0); // ADM
    typeKeys("adm\t");
    EXPECT_EQ(value("SELECT DepartmentNo FROM Department WHERE Description = 'Zoo'"), "AAB");
    EXPECT_EQ(answers.texts().size(), 5);

    typeCell(*f, 4, 0, "Q 9"); // a new row keeps its empty number
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    plax::test::waitUntil([&] { return answers.texts().size() == 6; });
    EXPECT_EQ(cell(m, 4, 0), "");
    typeCell(*f, 4, 0, "QA");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    typeCell(*f, 4, 1, "Quality");
    clickToolButton(f, "Close");
    plax::test::waitUntil([&] { return !alive; });
    EXPECT_EQ(value("SELECT Description FROM Department WHERE DepartmentNo = 'QA'"), "Quality");
    EXPECT_EQ(count("SELECT count(*) FROM Department WHERE DepartmentNo IN ('PRX', 'AAA')"), 0);
    EXPECT_EQ(answers.texts().size(), 6);
}

TEST_F(GridScreens, ClosingTheMainWindowStoresAPendingMessageOrStaysForARefusedOne) {
    setEndProgramHandler([](int) {});
    showMainWindow(); // as start-up does after opening the database
    QPointer<frmMDI> main = mainWindow();
    ASSERT_TRUE(main);
    showActive(main);
    auto* f = new frmSetupMessages;
    QPointer<frmSetupMessages> alive = f;
    showScreen(f);
    GridModel* m = f->model();
    ASSERT_EQ(m->recordCount(), 3);
    typeCell(*f, 3, 0, "002"); // the number of another message
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    typeCell(*f, 3, 1, "Twice");
    main->close();
    EXPECT_TRUE(main && main->isVisible());
    ASSERT_EQ(answers.texts().size(), 1);
    EXPECT_TRUE(answers.texts()[0].endsWith("\r\n- A record exists with the same Message#."));
    EXPECT_TRUE(alive);

    typeCell(*f, 3, 0, "004");
    main->close();
    plax::test::waitUntil([&] { return !alive; });
    EXPECT_TRUE(!main || !main->isVisible());
    auto file = co.reopen();
    EXPECT_EQ(file->openRecordset("SELECT Message FROM Messages WHERE MessageNo = '004'").field(0).toString(), "Twice");
    setEndProgramHandler({});
}

TEST_F(GridScreens, TheModelKeepsItsViewsInStepThroughAddsRefusalsAndDeletes) {
    frmSetupMessages f;
    GridModel* m = f.model();
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    m->setData(m->index(3, 0), "005");
    EXPECT_TRUE(m->storePending());
    EXPECT_EQ(m->rowCount(), 5); // four rows and the new-row line
    m->setData(m->index(4, 0), "005");
    EXPECT_FALSE(m->storePending());
    EXPECT_EQ(m->rowCount(), 5);
    m->cancelPending();
    m->deleteRows({0, 3, 0});
    EXPECT_EQ(m->rowCount(), 3);
    EXPECT_EQ(count("SELECT count(*) FROM Messages"), 2);
    showActive(&f);
    clickToolButton(&f, "Refresh");
    EXPECT_EQ(m->rowCount(), 3);
}

// Rows typed one after another with Tab and Enter each become a row of
// their own: after a row is stored, or one is dropped with Escape, the
// cursor waits at the start of the new-row line, and the rows above keep
// what they held.
TEST_F(GridScreens, RowsTypedInTurnEachBecomeANewRow) {
    const qint64 inAdm = count("SELECT count(*) FROM Employee WHERE DepartmentNo = 'ADM'");
    {
        frmDepStp f;
        showActive(&f);
        clickCell(f, 3, 0); // the new-row line under three departments
        typeKeys("SLS\tSales\tQA\tQuality\nMKT\tMarketing\tOPS\tOps");
        for (int i = 0; i < 2; ++i) // the cell's editor closes, then the row goes
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_EQ(f.grid()->currentIndex(), f.model()->index(6, 0));
        typeKeys("FIN\tFinance\t");
        EXPECT_EQ(count("SELECT count(*) FROM Department"), 7);
        for (const auto& [no, d] : {std::pair{"ADM", "Administration"}, std::pair{"SLS", "Sales"},
                                   std::pair{"QA", "Quality"}, std::pair{"MKT", "Marketing"},
                                   std::pair{"FIN", "Finance"}})
            EXPECT_EQ(value("SELECT Description FROM Department WHERE DepartmentNo = ?", {no}), d) << no;
        EXPECT_EQ(count("SELECT count(*) FROM Employee WHERE DepartmentNo = 'ADM'"), inAdm);
        EXPECT_EQ(f.grid()->currentIndex(), f.model()->index(7, 0));
        EXPECT_TRUE(f.grid()->indexWidget(f.grid()->currentIndex()));
    }
    {
        // An empty table: Tab leads out of the unsaved row, not round it.
        CompanyDb->execute("DELETE FROM Messages");
        frmSetupMessages f;
        showActive(&f);
        clickCell(f, 0, 0);
        typeKeys("010\tHello\t020\tGoodbye\n030\tWelcome back\t");
        EXPECT_EQ(count("SELECT count(*) FROM Messages"), 3);
        EXPECT_EQ(value("SELECT Message FROM Messages WHERE MessageNo = '020'"), "Goodbye");
        EXPECT_EQ(value("SELECT Message FROM Messages WHERE MessageNo = '030'"), "Welcome back");
        f.close(); // from the new-row line, its editor open and empty
        EXPECT_FALSE(f.isVisible());
    }
    {
        // The hidden week column is passed over.
        frmHolidaySTP f;
        showActive(&f);
        const int row = f.model()->recordCount();
        clickCell(f, row, 0);
        typeKeys("Christmas\t12/25/2026\tBoxing Day\t12/26/2026\nNew Year\t12/31/2026\t");
        EXPECT_EQ(count("SELECT count(*) FROM Holidays WHERE TDate >= '2026-12-25'"), 3);
        EXPECT_EQ(value("SELECT HolidayName FROM Holidays WHERE TDate = '2026-12-26'"), "Boxing Day");
        EXPECT_EQ(value("SELECT Week FROM Holidays WHERE TDate = '2026-12-31'").toInt(),
                  WeekNumber(CalDate::ymd(2026, 12, 31), Company));
        EXPECT_EQ(f.model()->recordCount(), row + 3);
    }
    EXPECT_TRUE(answers.texts().isEmpty());
}

// A click on a row header chooses the whole row, with no cell editor open,
// so the Delete key that follows deletes rows (after the question), never
// the text of a cell.
TEST_F(GridScreens, RowsChosenByTheirHeadersAreDeletedWholeByTheDeleteKey) {
    for (const auto& [name, date] : {std::pair{"New Year", "2026-01-01"}, std::pair{"Easter Monday", "2026-04-06"},
                                     std::pair{"Labour Day", "2026-05-01"}, std::pair{"Christmas", "2026-12-25"}})
        CompanyDb->execute("INSERT INTO Holidays (HolidayName, TDate, Week) VALUES (?, ?, 1)", {name, date});
    frmHolidaySTP f;
    showActive(&f);
    GridModel* m = f.model();
    ASSERT_EQ(m->recordCount(), 5);
    ASSERT_EQ(cell(m, 0, 0), "New Year");
    QHeaderView* heads = f.grid()->verticalHeader();
    const auto clickHeader = [&](int row, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(heads->viewport(), Qt::LeftButton, mods, QPoint(5, heads->sectionViewportPosition(row) + 5));
    };

    // A header clicked while a cell is being typed: the typed name is kept.
    clickCell(f, 0, 0);
    typeKeys("New Year's Day");
    clickHeader(2);
    EXPECT_EQ(QApplication::focusWidget(), f.grid()); // no cell editor
    EXPECT_EQ(f.grid()->selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(f.grid()->selectionModel()->isRowSelected(2));
    answers.answers = {ui::Answer::No};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_EQ(answers.texts(), QStringList{"Would you like to delete selected row(s)?"});
    EXPECT_EQ(count("SELECT count(*) FROM Holidays WHERE HolidayName = 'Easter Monday'"), 1);

    clickHeader(3, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_EQ(answers.texts().size(), 2);
    EXPECT_EQ(count("SELECT count(*) FROM Holidays WHERE HolidayName IN ('Easter Monday', 'Labour Day')"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM Holidays WHERE HolidayName = '' OR HolidayName IS NULL"), 0);
    EXPECT_EQ(value("SELECT HolidayName FROM Holidays WHERE TDate = '2026-01-01'"), "New Year's Day");
    EXPECT_EQ(m->recordCount(), 3);
}
