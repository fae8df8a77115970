#include "ExchangeFixture.h"
#include "exchange/Export.h"
#include "exchange/FieldTable.h"
#include "exchange/QuotedText.h"

#include <QFileInfo>

using namespace plax;
using namespace plax::exchange;

namespace {

class ExportTest : public test::ExchangeFixture {};

} // namespace

TEST_F(ExportTest, ChosenFieldsOfActiveEmployeesInChosenOrder) {
    addEmployee("E1", {"Brown"});
    addEmployee("E2", {"Green"}, false);
    const QString out = dataFile("pers.txt");
    answers.files.push_back(out);

    EXPECT_EQ(ExportPersonnel(co.db(), {fLastName, fID, fStatus}, StatusChoice::Active), ExportResult::Written);
    EXPECT_EQ(contents(out), QByteArray("\"Brown\",\"E1\",\"True\"\r\n"));
    EXPECT_EQ(answers.texts(), QStringList{"File exported Successfully!"});
    EXPECT_EQ(answers.last()->icon, ui::Icon::Information);
    // The dialog starts in the data folder with the text-file filter.
    ASSERT_EQ(answers.fileRequests.size(), 1u);
    EXPECT_TRUE(answers.fileRequests[0].save);
    EXPECT_EQ(answers.fileRequests[0].initialDir, co.dir() + "Data");
    EXPECT_EQ(answers.fileRequests[0].filter, "Text Files (*.txt)|*.txt|Log Files (*.LOG)|*.log");

    answers.files.push_back(out);
    answers.answers.push_back(ui::Answer::Yes); // overwrite
    ExportPersonnel(co.db(), {fID, fStatus}, StatusChoice::Inactive);
    EXPECT_EQ(contents(out), QByteArray("\"E2\",\"False\"\r\n"));
}

TEST_F(ExportTest, NullsBlanksAndLineBreaksAsStored) {
    addEmployee("E1", {"Brown", db::Value(), "NULL"});
    addEmployee("E2", {" Lee ", "M", "Null"});
    addEmployee("E3", {"Kim", "", "first\r\nsecond, \"quoted\""});
    const QString out = dataFile("pers.txt");
    answers.files.push_back(out);
    ExportPersonnel(co.db(), {fID, fMiddleName, fLastName, fNotes}, StatusChoice::All);
    EXPECT_EQ(contents(out), QByteArray("\"E1\",\"\",\"Brown\",\"\"\r\n"
                                        "\"E2\",\"M\",\" Lee \",\"Null\"\r\n"
                                        "\"E3\",\"\",\"Kim\",\"first\r\nsecond, \"\"quoted\"\"\"\r\n"));
}

TEST_F(ExportTest, NothingToWriteOrCancelledLeavesNoFile) {
    addEmployee("E1", {"Brown"});
    EXPECT_EQ(ExportPersonnel(co.db(), {fID}, StatusChoice::Inactive), ExportResult::Empty);
    EXPECT_EQ(answers.texts(), QStringList{"Database empty!"});
    EXPECT_TRUE(answers.fileRequests.empty());

    // Cancelled file dialog: quiet.
    EXPECT_EQ(ExportPersonnel(co.db(), {fID}, StatusChoice::All), ExportResult::Cancelled);
    EXPECT_EQ(answers.messages.size(), 1u);

    // A non-empty file asks first; No keeps it as it was.
    const QString out = dataFile("old.txt");
    write(out, "keep\r\n");
    answers.files.push_back(out);
    answers.answers.push_back(ui::Answer::No);
    EXPECT_EQ(ExportPersonnel(co.db(), {fID}, StatusChoice::All), ExportResult::Cancelled);
    EXPECT_EQ(answers.texts().last(), "Fie contain data. Overwrite?");
    EXPECT_EQ(answers.last()->buttons, ui::Buttons::YesNo);
    EXPECT_EQ(contents(out), QByteArray("keep\r\n"));

    // An existing empty file is written without asking.
    const QString empty = dataFile("empty.txt");
    write(empty, "");
    answers.files.push_back(empty);
    EXPECT_EQ(ExportPersonnel(co.db(), {fID}, StatusChoice::All), ExportResult::Written);
    EXPECT_EQ(answers.texts().last(), "File exported Successfully!");
}

TEST_F(ExportTest, FailuresShowTheirOwnText) {
    addEmployee("E1", {"Brown"});
    // No field chosen: said in so many words, nothing asked or written.
    EXPECT_EQ(ExportPersonnel(co.db(), {}, StatusChoice::All), ExportResult::NoFields);
    EXPECT_EQ(answers.texts(), QStringList{"At least one field must be chosen to export!"});
    EXPECT_EQ(answers.last()->icon, ui::Icon::Exclamation);
    EXPECT_TRUE(answers.fileRequests.empty());

    // A file that cannot be created.
    answers.files.push_back(co.dir() + "no/such/folder/x.txt");
    EXPECT_EQ(ExportPersonnel(co.db(), {fID}, StatusChoice::All), ExportResult::Failed);
    EXPECT_NE(answers.last()->text, "File exported Successfully!");
}

TEST_F(ExportTest, AttendanceRowsWithAllColumnsOpenShiftsEmpty) {
    co.db().executeStrict("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, ClockOut, "
                          "TotalHrs, TotalMin, Recalculate) VALUES ('E1', '2026-03-02', 10, '08:00', '2026-03-02', "
                          "'16:30', 8, 30, 0)");
    co.db().executeStrict("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn) "
                          "VALUES ('E1', '2026-03-03', 10, '07:55')");
    const QString out = dataFile("att.txt");
    answers.files.push_back(out);
    EXPECT_EQ(ExportAttendance(co.db()), ExportResult::Written);

    const auto date = [](int d) { return CalDate::ymd(2026, 3, d).toShortDate(); };
    const auto time = [](const char* t) { return valueText(db::Value(t), ColumnKind::Time); };
    const QByteArray expected =
        quotedLine({"E1", date(2), "10", time("08:00"), date(2), time("16:30"), "8", "30", "False"}) +
        quotedLine({"E1", date(3), "10", time("07:55"), "", "", "0", "0", "True"});
    EXPECT_EQ(contents(out), expected);

    co.db().executeStrict("DELETE FROM [Time Attendance]");
    EXPECT_EQ(ExportAttendance(co.db()), ExportResult::Empty);
    EXPECT_EQ(answers.texts().last(), "Database empty!");
}
