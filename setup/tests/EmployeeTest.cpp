#include "SetupFixture.h"
#include "core/common/Screens.h"
#include "setup/EmployeeBook.h"
#include "setup/EmployeeSearch.h"
#include "setup/frmEmpFind.h"
#include "setup/frmSetupEmployee.h"

#include "testing/LocaleForms.h"
#include "testing/ScreenEvents.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace plax;
using namespace plax::setup;
using plax::test::clickToolButton;
using plax::test::showActive;
using plax::test::typedDate;

namespace {

class EmployeeScreen : public setup::test::SetupFixture {
  protected:
    QString id(frmSetupEmployee& f) { return child<QLineEdit>(&f, "txtID")->text(); }
    // Clicks into the ID box, types over it and leaves it with Tab.
    void typeId(frmSetupEmployee& f, const QString& text) {
        if (!f.isActiveWindow())
            showActive(&f);
        auto* box = child<QLineEdit>(&f, "txtID");
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    // Types over a text box's text.
    void typeInto(frmSetupEmployee& f, const char* name, const QString& text) {
        auto* box = child<QLineEdit>(&f, name);
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }
    // Shows the screen as the active window and clicks a toolbar button.
    void click(frmSetupEmployee& f, const char* key) {
        if (!f.isActiveWindow())
            showActive(&f);
        clickToolButton(&f, key);
    }
    // Opens a menu of the menu bar with the mouse and clicks one of its items.
    void chooseMenu(frmSetupEmployee& f, const QString& menuTitle, const QString& itemText) {
        if (!f.isActiveWindow())
            showActive(&f);
        auto* bar = f.findChild<QMenuBar*>();
        ASSERT_TRUE(bar);
        QMenu* menu = nullptr;
        for (QAction* a : bar->actions())
            if (a->text() == menuTitle)
                menu = a->menu();
        ASSERT_TRUE(menu) << menuTitle.toStdString();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        plax::test::waitUntil([&] { return menu->isVisible(); });
        QAction* item = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == itemText)
                item = a;
        ASSERT_TRUE(item) << itemText.toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        plax::test::waitUntil([&] { return !menu->isVisible(); });
    }
};

QStringList ids(const std::vector<EmployeeMatch>& m) {
    QStringList out;
    for (const auto& e : m)
        out << e.id;
    return out;
}

} // namespace

TEST_F(EmployeeScreen, OpensOnFirstActiveEmployeeAndResetsAMissingMessage) {
    CompanyDb->execute("UPDATE Employee SET MsgNo = '099' WHERE ID = '1001'");
    frmSetupEmployee f;
    ASSERT_TRUE(f.loaded());
    EXPECT_EQ(f.windowTitle(), "Setup: Employee");
    EXPECT_EQ(id(f), "1001");
    EXPECT_EQ(child<QLineEdit>(&f, "txtLastN")->text(), "Berger");
    EXPECT_EQ(child<QComboBox>(&f, "cboDep")->currentText(), "ADM Administration");
    EXPECT_EQ(child<QComboBox>(&f, "cboSchedule")->currentText(), "001 Day shift");
    EXPECT_EQ(child<QComboBox>(&f, "cboMsg")->currentText(), "000 No Message");
    EXPECT_EQ(value("SELECT MsgNo FROM Employee WHERE ID = '1001'"), "000");
    EXPECT_EQ(child<QComboBox>(&f, "CboStatus")->currentText(), "Active");
    EXPECT_EQ(f.tag(), "True");
}

TEST_F(EmployeeScreen, MissingDepartmentsAndSchedulesShowAsTheyShould) {
    CompanyDb->execute("UPDATE Employee SET DepartmentNo = 'GONE', ScheduleNo = '099' WHERE ID = '1002'");
    frmSetupEmployee f;
    ASSERT_EQ(child<QComboBox>(&f, "cboSchedule")->currentText(), "001 Day shift");
    click(f, "Next");
    EXPECT_EQ(id(f), "1002");
    EXPECT_EQ(child<QComboBox>(&f, "cboDep")->currentText(), "");
    EXPECT_EQ(child<QComboBox>(&f, "cboSchedule")->currentText(), "001 Day shift"); // kept from 1001
    // Saving without a change of the lists leaves the stored numbers alone.
    click(f, "Update");
    EXPECT_EQ(value("SELECT ScheduleNo FROM Employee WHERE ID = '1002'"), "099");
}

TEST_F(EmployeeScreen, WalksTheViewAndStaysAtEitherEnd) {
    frmSetupEmployee f;
    click(f, "Previous");
    EXPECT_EQ(id(f), "1001");
    click(f, "Next");
    EXPECT_EQ(id(f), "1002");
    chooseMenu(f, "&View", "&Inactive Employees"); // the last one in ID order
    EXPECT_EQ(id(f), "1012");
    EXPECT_EQ(f.tag(), "False");
    click(f, "Next");
    EXPECT_EQ(id(f), "1012");
    chooseMenu(f, "&Sort", "By Last Name"); // sorting keeps the inactive view
    EXPECT_EQ(id(f), "1011");
    EXPECT_EQ(f.tag(), "False");
}

TEST_F(EmployeeScreen, AddsAnEmployeeTypedFieldByFieldInTheOrderOfTheFields) {
    frmSetupEmployee f;
    showActive(&f);
    clickToolButton(&f, "New");
    const auto focusName = [] {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName().toStdString() : std::string("(none)");
    };
    // Types into the field that has the focus and moves on with Tab.
    const auto typeAndTab = [&](const char* field, const QString& text, int downs = 0) {
        EXPECT_EQ(focusName(), field);
        QWidget* w = QApplication::focusWidget();
        if (!w)
            return;
        QTest::keyClicks(w, text);
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(w, Qt::Key_Down);
        QTest::keyClick(w, Qt::Key_Tab);
    };
    typeAndTab("txtID", "2001");
    EXPECT_TRUE(f.isNewEmployee());
    typeAndTab("txtFirstN", "Olga");
    typeAndTab("txtMiddleN", "");
    typeAndTab("txtLastN", "Petrova");
    typeAndTab("mskSSN", "123456789"); // the digits land in the SSN, not on the page tabs
    typeAndTab("txtAddress", "1 Main St");
    typeAndTab("txtCity", "Oslo");
    typeAndTab("txtState", "NO");
    typeAndTab("mskPhone", "5551234567");
    typeAndTab("txtZip", "0150");
    typeAndTab("txtRate", "21.5"); // over the "0.00" of a new record
    typeAndTab("dtpHireDate", "2/1/26"); // over today's date, selected by Tab
    typeAndTab("cboDep", "", 3);
    typeAndTab("cboSchedule", "", 2);
    typeAndTab("cboMsg", "", 1);
    typeAndTab("cboRuleGroup", "");
    typeAndTab("txtPosition", "");
    typeAndTab("optLevel0", "", 2);
    typeAndTab("txtNotes", "Likes tea");
    typeAndTab("CboStatus", "");
    EXPECT_EQ(focusName(), "txtID"); // round again
    // Shift+Tab walks back, across the pages too.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(focusName(), "CboStatus");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(focusName(), "txtNotes");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focusName(), "optLevel2");

    clickToolButton(&f, "Update");
    EXPECT_TRUE(answers.texts().isEmpty()) << answers.texts().join('|').toStdString();
    EXPECT_FALSE(f.isNewEmployee());
    auto rs = CompanyDb->openRecordset("SELECT * FROM Employee WHERE ID = '2001'");
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs["LastName"].toString(), "Petrova");
    EXPECT_EQ(rs["SSN"].toString(), "123-45-6789");
    EXPECT_EQ(rs["Address"].toString(), "1 Main St");
    EXPECT_EQ(rs["State"].toString(), "NO");
    EXPECT_EQ(rs["Phone"].toString(), "(555) 123-4567");
    EXPECT_EQ(rs["Zip"].toString(), "0150");
    EXPECT_EQ(rs["DepartmentNo"].toString(), "WHS");
    EXPECT_EQ(rs["ScheduleNo"].toString(), "002");
    EXPECT_EQ(rs["MsgNo"].toString(), "001");
    EXPECT_EQ(rs["SupervisorLevel"].toInt(), 3);
    EXPECT_DOUBLE_EQ(rs["Rate"].toDouble(), 21.5);
    EXPECT_EQ(rs["Hire Date"].toString(), "2026-02-01");
    EXPECT_EQ(rs["Notes"].toString(), "Likes tea");
    EXPECT_TRUE(rs["Status"].toBool());
    EXPECT_TRUE(rs["Position"].isNull());

    // A second save after the re-query writes onto the shown employee, not the first row.
    auto* pages = child<QTabWidget>(&f, "SSTab1");
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(0).center());
    auto* city = child<QLineEdit>(&f, "txtCity");
    QTest::mouseClick(city, Qt::LeftButton);
    QTest::keyClick(city, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(city, "Bergen");
    clickToolButton(&f, "Update");
    EXPECT_EQ(value("SELECT City FROM Employee WHERE ID = '2001'"), "Bergen");
    EXPECT_EQ(value("SELECT City FROM Employee WHERE ID = '1001'"), "Springfield");
}

TEST_F(EmployeeScreen, RefusedAddsKeepTheInput) {
    frmSetupEmployee f;
    f.findChild<QAction*>("mnuViewEmp1")->trigger();
    typeId(f, "1001"); // active: not in the inactive view, so taken as new
    EXPECT_TRUE(f.isNewEmployee());
    clickToolButton(&f, "Update");
    EXPECT_EQ(answers.texts(), QStringList{"Employee record was not added successfully!"});
    EXPECT_TRUE(f.isNewEmployee());

    typeId(f, "2002");
    typeInto(f, "txtLastN", "Kept");
    QTabBar* tabs = child<QTabWidget>(&f, "SSTab1")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    typeInto(f, "txtRate", "abc");
    clickToolButton(&f, "Update");
    EXPECT_EQ(answers.texts().size(), 2);
    EXPECT_EQ(count("SELECT count(*) FROM Employee WHERE ID = '2002'"), 0);
    EXPECT_EQ(id(f), "2002");
    EXPECT_EQ(child<QLineEdit>(&f, "txtLastN")->text(), "Kept");
    EXPECT_EQ(child<QLineEdit>(&f, "txtRate")->text(), "abc");
}

TEST_F(EmployeeScreen, NewInactiveEmployeeLeavesTheActiveView) {
    frmSetupEmployee f;
    typeId(f, "3001");
    child<QComboBox>(&f, "CboStatus")->setCurrentText("Inactive");
    click(f, "Update");
    EXPECT_EQ(count("SELECT count(*) FROM Employee WHERE ID = '3001' AND Status = 0"), 1);
    click(f, "Next"); // the view was re-queried: first active row is current
    EXPECT_EQ(id(f), "1002");
}

TEST_F(EmployeeScreen, UpdateWritesOnlyChangedFieldsAndTheHireDate) {
    CompanyDb->execute("UPDATE Employee SET [Hire Date] = NULL WHERE ID = '1002'");
    frmSetupEmployee f;
    click(f, "Next");
    ASSERT_EQ(id(f), "1002");
    // Another program changes the city meanwhile; the screen does not overwrite it.
    co.reopen()->execute("UPDATE Employee SET City = 'Elsewhere' WHERE ID = '1002'");
    typeInto(f, "txtFirstN", "Carl");
    click(f, "Update");
    EXPECT_EQ(value("SELECT FirstName FROM Employee WHERE ID = '1002'"), "Carl");
    EXPECT_EQ(value("SELECT City FROM Employee WHERE ID = '1002'"), "Elsewhere");
    EXPECT_EQ(value("SELECT [Hire Date] FROM Employee WHERE ID = '1002'"), "2026-03-12");
    EXPECT_EQ(value("SELECT Status FROM Employee WHERE ID = '1002'"), "1");
}

TEST_F(EmployeeScreen, HireDatesTypedOverTheShownOnesAreStoredAsTyped) {
    // In the main window's document area, as the program shows it.
    QMdiArea area;
    area.resize(800, 700);
    setMdiArea(&area);
    QPointer<frmSetupEmployee> screen = new frmSetupEmployee;
    frmSetupEmployee& f = *screen;
    showScreen(screen);
    showActive(&f);
    auto* hire = child<QLineEdit>(&f, "dtpHireDate");
    QTabBar* tabs = child<QTabWidget>(&f, "SSTab1")->tabBar();
    const auto typeHireDate = [&](const QString& text) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QTest::mouseClick(hire, Qt::LeftButton);
        QTest::keyClick(hire, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(hire, text);
    };
    // Four employees in a row, the date typed in the form shown, as digits
    // in the order the screens show dates with a four- and a two-digit
    // year (4 July is 7 April the other way round), and as yyyy-mm-dd; the
    // last one saved straight from the box. Run under several locales too.
    struct Typed {
        const char* id;
        QString text;
        CalDate stored;
    };
    for (const Typed& t : {Typed{"1001", CalDate::ymd(2021, 3, 15).toShortDate(), CalDate::ymd(2021, 3, 15)},
                           Typed{"1002", typedDate(CalDate::ymd(2021, 3, 15)), CalDate::ymd(2021, 3, 15)},
                           Typed{"1004", "2021-08-09", CalDate::ymd(2021, 8, 9)},
                           Typed{"1003", typedDate(CalDate::ymd(2021, 7, 4), true), CalDate::ymd(2021, 7, 4)}}) {
        typeId(f, t.id);
        typeHireDate(t.text);
        if (QString(t.id) != "1003")
            QTest::keyClick(hire, Qt::Key_Tab);
        clickToolButton(&f, "Update");
        EXPECT_EQ(value("SELECT [Hire Date] FROM Employee WHERE ID = ?", {t.id}), t.stored.toIso()) << t.id;
        EXPECT_EQ(hire->text(), t.stored.toShortDate());
    }
    EXPECT_TRUE(answers.texts().isEmpty());

    // A text that is no date is refused, on leaving the box and on Update,
    // and the date shown before stays shown and stored: day and month the
    // other way round too.
    typeId(f, "1001");
    typeHireDate(typedDate(CalDate::ymd(2021, 3, 15), false, true));
    QTest::keyClick(hire, Qt::Key_Tab);
    EXPECT_EQ(answers.texts(), QStringList{"Invalid date!"});
    EXPECT_EQ(hire->text(), CalDate::ymd(2021, 3, 15).toShortDate());
    plax::test::waitUntil([&] { return QApplication::focusWidget() == hire; });
    QTest::keyClicks(hire, "March 40");
    clickToolButton(&f, "Update");
    EXPECT_EQ(answers.texts(), QStringList(2, "Invalid date!"));
    EXPECT_EQ(value("SELECT [Hire Date] FROM Employee WHERE ID = '1001'"), "2021-03-15");

    // Or chosen from the calendar by keyboard: F4, the next day, Enter.
    plax::test::waitUntil([&] { return QApplication::focusWidget() == hire; });
    QTest::keyClick(hire, Qt::Key_F4);
    plax::test::waitUntil([] { return QApplication::activePopupWidget(); });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(hire->text(), CalDate::ymd(2021, 3, 16).toShortDate());
    clickToolButton(&f, "Update");
    EXPECT_EQ(value("SELECT [Hire Date] FROM Employee WHERE ID = '1001'"), "2021-03-16");

    // Closing reads nothing: a text that is no date goes with the screen.
    typeHireDate("xx");
    clickToolButton(&f, "Close");
    plax::test::waitUntil([&] { return !screen; });
    EXPECT_EQ(answers.texts(), QStringList(2, "Invalid date!"));
    setMdiArea(nullptr);
}

TEST_F(EmployeeScreen, DeleteAsksAndTakesDependentRowsAlong) {
    CompanyDb->execute(
        "INSERT INTO [Hours Worked] (EmpID, TDate, Week, [Straight Hrs]) VALUES ('1011','2026-01-05',2,8)");
    frmSetupEmployee f;
    typeId(f, "1003"); // has attendance and an absence
    ASSERT_GT(count("SELECT count(*) FROM [Time Attendance] WHERE EmpID = '1003'"), 0);
    answers.answers = {ui::Answer::No};
    click(f, "Delete");
    EXPECT_EQ(answers.texts().last(),
              "Attendance/absence data on that employee will be deleted also? Are you sure "
              "you want to delete current employee record?");
    EXPECT_EQ(count("SELECT count(*) FROM Employee WHERE ID = '1003'"), 1);
    click(f, "Delete");
    EXPECT_EQ(count("SELECT count(*) FROM Employee WHERE ID = '1003'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM [Time Attendance] WHERE EmpID = '1003'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM [Hours Worked] WHERE EmpID = '1003'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM Absence WHERE EmpID = '1003'"), 0);
    EXPECT_EQ(id(f), "1004");

    // Hours without attendance rows stay; the last employee of a view leaves it empty.
    CompanyDb->execute("DELETE FROM [Time Attendance] WHERE EmpID IN ('1011', '1012')");
    CompanyDb->execute("DELETE FROM Employee WHERE ID = '1012'");
    chooseMenu(f, "&View", "&Inactive Employees");
    ASSERT_EQ(id(f), "1011");
    click(f, "Delete");
    EXPECT_EQ(answers.texts().last(), "Are you sure you want to delete current employee record?");
    EXPECT_EQ(count("SELECT count(*) FROM [Hours Worked] WHERE EmpID = '1011'"), 1);
    EXPECT_EQ(id(f), "");
    EXPECT_EQ(child<QLineEdit>(&f, "txtLastN")->text(), "");
}

TEST_F(EmployeeScreen, AFailedDeleteLeavesEveryRow) {
    // The employee row refuses to go: nothing of its dependants may be lost.
    CompanyDb->executeScript(
        "CREATE TRIGGER keep BEFORE DELETE ON Employee BEGIN SELECT RAISE(ABORT, 'kept'); END;");
    const qint64 before = count("SELECT count(*) FROM [Time Attendance] WHERE EmpID = '1003'");
    frmSetupEmployee f;
    typeId(f, "1003");
    click(f, "Delete");
    EXPECT_EQ(answers.texts().last(), "Employee record was not deleted successfully!");
    EXPECT_EQ(count("SELECT count(*) FROM [Time Attendance] WHERE EmpID = '1003'"), before);
    EXPECT_EQ(count("SELECT count(*) FROM Absence WHERE EmpID = '1003'"), 1);
}

TEST_F(EmployeeScreen, NewAndDeleteOfAPendingRecord) {
    frmSetupEmployee f;
    typeId(f, "4001");
    typeInto(f, "txtLastN", "Pending");
    answers.answers = {ui::Answer::No};
    clickToolButton(&f, "New");
    EXPECT_EQ(answers.texts(), QStringList{"Would you like to add the current employee record?"});
    EXPECT_EQ(id(f), "");
    EXPECT_EQ(child<QLineEdit>(&f, "txtLastN")->text(), "");
    EXPECT_EQ(count("SELECT count(*) FROM Employee WHERE ID = '4001'"), 0);

    typeId(f, "4002");
    clickToolButton(&f, "Delete"); // only clears
    EXPECT_FALSE(f.isNewEmployee());
    EXPECT_EQ(id(f), "");
    EXPECT_EQ(answers.texts().size(), 1);
}

TEST_F(EmployeeScreen, SearchHandsTheChosenIdBack) {
    CompanyDb->execute(
        "INSERT INTO Employee (ID, FirstName, LastName, Status) VALUES ('A 1', 'Bo', 'Berg', 1)");
    frmSetupEmployee f;
    plax::test::DialogDriver<frmEmpFind> search([&](frmEmpFind& d) {
        auto* by = child<QComboBox>(&d, "cboSearchBy");
        QTest::keyClick(by, Qt::Key_Down);
        QTest::keyClick(by, Qt::Key_Down);
        ASSERT_EQ(by->currentText(), "Last Name");
        auto* value = child<QLineEdit>(&d, "txtValue");
        QTest::mouseClick(value, Qt::LeftButton);
        QTest::keyClicks(value, "Berg*");
        QTest::mouseClick(child<QPushButton>(&d, "cmdBrowse"), Qt::LeftButton);
        auto* list = child<QListWidget>(&d, "lstEmp");
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(child<QLabel>(&d, "lblRec")->text(), "Total records = 2");
        QListWidgetItem* item = list->item(1);
        EXPECT_EQ(item->text(), "A 1 Berg, Bo");
        // A double click: press and release, then the second press and its release.
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    });
    click(f, "Search");
    EXPECT_EQ(search.driven(), 1);
    EXPECT_FALSE(QApplication::activeModalWidget());
    EXPECT_EQ(id(f), "A 1"); // whole, blank and all
    EXPECT_EQ(child<QLineEdit>(&f, "txtFirstN")->text(), "Bo");

    // Nobody found, by keyboard (Enter on the Search button); a double click
    // on the empty list closes the dialog without a choice.
    plax::test::DialogDriver<frmEmpFind> none([&](frmEmpFind& d) {
        QTest::keyClicks(child<QLineEdit>(&d, "txtValue"), "Nobody");
        auto* search = child<QPushButton>(&d, "cmdBrowse");
        for (int i = 0; i < 5 && !search->hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(search, Qt::Key_Return);
        EXPECT_EQ(child<QLabel>(&d, "lblRec")->text(), "Total records = 0");
        auto* list = child<QListWidget>(&d, "lstEmp");
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->viewport()->rect().center());
        EXPECT_FALSE(d.isVisible());
    });
    click(f, "Search");
    EXPECT_EQ(none.driven(), 1);
    EXPECT_FALSE(QApplication::activeModalWidget());
    EXPECT_EQ(id(f), "A 1");
}

TEST_F(EmployeeScreen, SearchPatterns) {
    db::Database& db = *CompanyDb;
    EXPECT_EQ(ids(searchEmployees(db, true, 2, "O'Brien", 0)), QStringList{"1010"});
    EXPECT_EQ(ids(searchEmployees(db, true, 2, "", 0)), QStringList{});
    EXPECT_EQ(ids(searchEmployees(db, true, 0, "100?", 0)).size(), 9);
    EXPECT_EQ(ids(searchEmployees(db, false, 0, "10*", 0)), (QStringList{"1011", "1012"}));
    EXPECT_EQ(ids(searchEmployees(db, true, 3, "%", 0)), QStringList{});  // no SQL wildcard
    EXPECT_EQ(ids(searchEmployees(db, true, 0, "*", 1)).first(), "1001"); // Berger first by last name
    db.execute("UPDATE Employee SET SSN = '123-45-6789' WHERE ID = '1002'");
    EXPECT_EQ(ids(searchEmployees(db, true, 1, "123456789", 0)), QStringList{});
    EXPECT_EQ(ids(searchEmployees(db, true, 1, "123-45-*", 0)), QStringList{"1002"});
}

TEST(EmployeeColumns, OnlyChangedColumnsAreWritten) {
    EmployeeFields was;
    was.lastName = "Old";
    was.status = "Active";
    was.department = "PRD Production";
    EmployeeFields now = was;
    now.lastName = "New";
    now.department = "";
    now.status = "Whatever";
    const ColumnValues c = changedEmployeeColumns(now, was, 1);
    QStringList names;
    for (const auto& [n, v] : c)
        names << n;
    EXPECT_EQ(names, (QStringList{"LastName", "DepartmentNo", "Hire Date"}));
    EXPECT_TRUE(c[1].second.isNull());
    EXPECT_THROW(rateValue("12x"), db::DbError);
    EXPECT_EQ(rateValue("12.5").toDouble(), 12.5);
}
