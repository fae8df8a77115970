#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/Lists.h"
#include "platform/db/DbError.h"
#include "platform/ui/Dialogs.h"
#include "testing/TempCompany.h"

#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace plax;

TEST(Common, AppPathEndsInOneSeparator) {
    EXPECT_EQ(withTrailingSeparator("/"), "/");
    EXPECT_EQ(withTrailingSeparator("/opt/plax"), "/opt/plax/");
    EXPECT_EQ(withTrailingSeparator("/opt/plax/"), "/opt/plax/");
    EXPECT_TRUE(GetAppPath().endsWith('/'));
    EXPECT_FALSE(GetAppPath().endsWith("//"));
}

// A handler that shows its own text for a caught engine error still names
// that error's number in the title, as the error box always did.
TEST(Common, ErrorBoxTitleCarriesTheNumberOfTheErrorBeingHandled) {
    ui::ScriptedResponder boxes;
    try {
        throw db::DbError(db::err::DuplicateKey, "The changes you requested to the table were not successful");
    } catch (const std::exception&) {
        ShowError("T154-", "Employee record was not updated successfully!");
    }
    try {
        throw std::runtime_error("disk full");
    } catch (const std::exception&) {
        ShowError(QString(), "Employee record was not added successfully!");
    }
    ShowError("X202-", "nothere.dld not found!");
    ShowError("T251-", "Row(s) were not deleted successfully!", 3218);
    QStringList titles;
    for (const ui::MessageRequest& m : boxes.messages) {
        titles << m.title;
        EXPECT_EQ(m.icon, ui::Icon::Critical);
    }
    EXPECT_EQ(titles, (QStringList{"Zelto Error#: T154-3022", "Zelto Error#: 0", "Zelto Error#: X202-0",
                                   "Zelto Error#: T251-3218"}));
    EXPECT_EQ(boxes.beeps, 4);
}

TEST(Common, OpenDialogAsksAgainForAMissingFileAndKeepsFilterForOtherKinds) {
    QTemporaryDir dir;
    const QString there = dir.path() + "/Clock.dld";
    QFile f(there);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    ui::ScriptedResponder boxes;
    boxes.files = {dir.path() + "/nothere.dld", there};
    ui::FileRequest dlg;
    EXPECT_EQ(ShowOpenDialog(dlg, dir.path(), "Select File", 1), there);
    ASSERT_EQ(boxes.fileRequests.size(), 2u); // the dialog opened again
    EXPECT_EQ(boxes.fileRequests[0].title, "Select File");
    EXPECT_EQ(boxes.fileRequests[0].initialDir, dir.path());
    EXPECT_EQ(boxes.fileRequests[0].filter,
              "Download Files (*.dld)|*.dld|Log Files (*.LOG)|*.log|Data Files (*.dat)|*.dat|All Files (*.*)|*.*");
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].text, dir.path() + "/nothere.dld not found!");
    EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: X202-0");
    EXPECT_EQ(boxes.beeps, 1);

    // Cancel: empty, no message. An unknown kind keeps the filter.
    EXPECT_EQ(ShowOpenDialog(dlg, dir.path(), "Again", 9), "");
    EXPECT_EQ(boxes.fileRequests.back().filter, boxes.fileRequests[0].filter);
    EXPECT_EQ(boxes.messages.size(), 1u);
    // A folder is no file either.
    boxes.files = {dir.path()};
    EXPECT_EQ(ShowOpenDialog(dlg, dir.path(), "T", 4), "");
    EXPECT_TRUE(boxes.fileRequests.back().filter.startsWith("Text Files (*.TXT)|*.txt|Access Database"));
    EXPECT_EQ(boxes.messages.size(), 2u);
}

TEST(Common, FillersAddEntriesWithNullNamesEmpty) {
    test::TempCompany c;
    CompanyDb = std::move(c.handle());
    auto& db = *CompanyDb;
    db.execute("INSERT INTO Department (DepartmentNo, Description) VALUES ('20', 'Shop'), ('10', NULL)");
    db.execute("INSERT INTO Employee (ID, FirstName, LastName, Status) VALUES "
               "('B2', 'Ann', 'Lee', 1), ('A1', NULL, 'Moss', 1), ('C3', 'Tom', NULL, 0), ('A0', 'Al', 'Ode', 0)");

    QComboBox combo;
    combo.addItem("kept");
    LoadDepartmentList(&combo);
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(1), "10 ");
    EXPECT_EQ(combo.itemText(2), "20 Shop");

    QListWidget list;
    LoadEmployeeListByStatus(&list, false);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0)->text(), "A0 Ode, Al");
    EXPECT_EQ(list.item(1)->text(), "C3 , Tom");

    QStringList active = activeEmployeeEntries(db);
    active.sort();
    EXPECT_EQ(active, (QStringList{"A1 Moss, ", "B2 Lee, Ann"}));

    // A failing filler shows its tag and keeps what the control held.
    ui::ScriptedResponder boxes;
    db.executeScript("DROP TABLE Department");
    LoadDepartmentList(&combo);
    EXPECT_EQ(combo.count(), 3);
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_TRUE(boxes.messages[0].title.startsWith("Zelto Error#: X176-"));
    CompanyDb.reset();
    LoadActiveEmployeeList(&list);
    EXPECT_TRUE(boxes.messages[1].title.startsWith("Zelto Error#: X177-"));
}
