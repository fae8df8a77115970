#include "ExchangeFixture.h"
#include "exchange/Export.h"
#include "exchange/FieldTable.h"
#include "exchange/Import.h"
#include "exchange/QuotedText.h"
#include "testing/LocaleForms.h"

#include <QLocale>

using namespace plax;
using namespace plax::exchange;
using plax::test::localeName;

namespace {

class ImportTest : public test::ExchangeFixture {
protected:
    ImportResult import(const QByteArray& bytes, const QList<int>& codes, ImportCounts* counts = nullptr) {
        const QString path = dataFile("in.txt");
        write(path, bytes);
        return ImportPersonnel(co.db(), path, codes, counts);
    }
    db::Recordset employee(const QString& id) {
        return co.db().openRecordset("SELECT * FROM Employee WHERE ID = ?", {id});
    }
};

} // namespace

// Also run under en_US, en_GB and de_DE (exchange/CMakeLists.txt): the file
// holds dates in the short form and numbers with the locale's decimal
// separator, and reads back as it was written.
TEST_F(ImportTest, ExportedFileImportsIntoAnEmptyCompanyUnchanged) {
    // Every field, with quotes, commas, line breaks, the Windows code page's
    // own characters, a rate, a hire date and an inactive status.
    co.db().executeStrict(
        "INSERT INTO Employee (ID, SSN, FirstName, MiddleName, LastName, City, State, Zip, Phone, Address, Notes, "
        "DepartmentNo, ScheduleNo, Status, MsgNo, SupervisorLevel, Rate, Rulename, [Other ID], [Hire Date], "
        "Position) VALUES ('A1', '123-45-6789', 'Ann', NULL, 'O''Hara, \"Jr\" \u0160', 'York', 'NY', '10001', "
        "'555', '1 Main St', 'two\r\nlines \u201cquoted\u201d \u20ac5', 'D1', '001', 0, '002', 2, 12.75, 'R', "
        "'C9', '2020-02-29', 'Clerk')");
    addEmployee("B2", {"Brown"});
    // 4 March reads as 3 April the other way round.
    co.db().executeStrict("INSERT INTO Employee (ID, Rate, [Hire Date], Status) VALUES ('D4', 1234.5, '2021-03-04', 1)");
    const QString locale = localeName();
    const QByteArray shownD4 = locale == "de_DE"   ? "\"D4\",\"1234,5\",\"04.03.2021\""
                               : locale == "en_GB" ? "\"D4\",\"1234.5\",\"04/03/2021\""
                               : locale == "en_US" ? "\"D4\",\"1234.5\",\"3/4/2021\""
                               : locale == "C"     ? "\"D4\",\"1234.5\",\"4 Mar 2021\""
                                                   : "";
    QList<int> all;
    for (int c = 0; c < kFieldCount; ++c)
        all << c;
    const QString cols = "ID, SSN, FirstName, MiddleName, LastName, City, State, Zip, Phone, Address, Notes, "
                         "DepartmentNo, ScheduleNo, Status, MsgNo, SupervisorLevel, Rate, Rulename, [Other ID], "
                         "[Hire Date], Position";
    const auto roundTrip = [&](bool utf8) {
        const QString out = dataFile("all.txt");
        answers.files.push_back(out);
        answers.answers.push_back(ui::Answer::Yes); // overwrite the earlier export
        ASSERT_EQ(ExportPersonnel(co.db(), all, StatusChoice::All), ExportResult::Written);
        const QByteArray bytes = contents(out);
        EXPECT_EQ(bytes.startsWith("\xEF\xBB\xBF"), utf8);
        // "€5" as the Windows code page or UTF-8 writes it.
        EXPECT_EQ(bytes.contains("\x80" "5"), !utf8);
        EXPECT_EQ(bytes.contains("\xE2\x82\xAC" "5"), utf8);
        EXPECT_EQ(answers.texts().last().startsWith("File exported Successfully!"), true);
        EXPECT_EQ(answers.texts().last().contains("UTF-8"), utf8);

        test::TempCompany other;
        ImportCounts counts;
        EXPECT_EQ(ImportPersonnel(other.db(), out, all, &counts), ImportResult::Done);
        EXPECT_EQ(answers.texts().last(), "File Imported successfully!");
        const int employees = count("SELECT count(*) FROM Employee");
        EXPECT_EQ(counts.added, employees);
        auto a = co.db().openRecordset("SELECT " + cols + " FROM Employee ORDER BY ID");
        auto b = other.db().openRecordset("SELECT " + cols + " FROM Employee ORDER BY ID");
        for (; !a.eof() && !b.eof(); a.moveNext(), b.moveNext()) {
            for (int i = 0; i < a.fieldCount(); ++i) {
                // Null comes back as an empty text.
                const QString want = a.field(i).isNull() ? QString() : a.field(i).toString();
                EXPECT_EQ(want, b.field(i).toString()) << a.fieldNames()[i].toStdString();
            }
        }
        EXPECT_TRUE(a.eof() && b.eof());
        auto first = other.db().openRecordset("SELECT Rate, Status FROM Employee WHERE ID = 'A1'");
        EXPECT_EQ(first.field("Rate").toDouble(), 12.75);
        EXPECT_EQ(first.field("Status").toInt(), 0);

        // A second run adds nothing and changes nothing.
        EXPECT_EQ(ImportPersonnel(other.db(), out, all, &counts), ImportResult::Done);
        EXPECT_EQ(counts.added, 0);
        EXPECT_EQ(counts.skipped, employees);
    };
    const QString d4 = dataFile("d4.txt");
    answers.files.push_back(d4);
    ASSERT_EQ(ExportPersonnel(co.db(), {fID, fRate, fHireDate}, StatusChoice::Active), ExportResult::Written);
    if (!shownD4.isEmpty()) {
        EXPECT_TRUE(contents(d4).contains(shownD4 + "\r\n")) << contents(d4).toStdString();
    }
    roundTrip(false);

    // Names in several scripts no one-byte code page holds: written as UTF-8.
    co.db().executeStrict(
        "INSERT INTO Employee (ID, FirstName, MiddleName, LastName, City, Notes) VALUES ('C3', ?, ?, ?, ?, ?)",
        {QStringLiteral("\u03a3\u03c9\u03ba\u03c1\u03ac\u03c4\u03b7\u03c2"), QStringLiteral("\u041f\u0451\u0442\u0440"),
         QStringLiteral("Wa\u0142\u0119sa, \"\u0141\""), QStringLiteral("\u0141\u00f3d\u017a"),
         QStringLiteral("\u738b\u5c0f\u660e\r\n\u0633\u0627\u0631\u0629 \U0001F642 \u20ac")});
    roundTrip(true);
}

TEST_F(ImportTest, AHugeValueIsRefusedNamingItsLineAndKeepsTheLinesBefore) {
    // A value of 1 GB on the second line (the file is sparse: the gap reads as NUL bytes).
    const QString path = dataFile("huge.txt");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\"E1\",\"Kept\"\r\n\"E2\",\"");
        ASSERT_TRUE(f.seek(f.pos() + (qint64(1) << 30)));
        f.write("\"\r\n\"E3\",\"After\"\r\n");
    }
    EXPECT_EQ(ImportPersonnel(co.db(), path, {fID, fLastName}), ImportResult::ValueTooLong);
    EXPECT_EQ(answers.texts().last(), "Can't Import File! A value in line 2 is longer than " +
                                          QLocale().toString(qint64(QuotedReader::kMaxValueLength)) +
                                          " characters.");
    EXPECT_EQ(answers.last()->icon, ui::Icon::Exclamation);
    EXPECT_EQ(count("SELECT count(*) FROM Employee"), 1);
    EXPECT_EQ(employee("E1").field("LastName").toString(), "Kept");
    EXPECT_FALSE(ui::waitCursorShown());
}

TEST_F(ImportTest, ExistingEmployeesAreNeverChanged) {
    addEmployee("abc", {"Original", "M", "keep"});
    ImportCounts counts;
    EXPECT_EQ(import("\"ABC\",\"Changed\",\"x\"\r\n\"new\",\"Newman\",\"\"\r\n", {fID, fLastName, fNotes}, &counts),
              ImportResult::Done);
    EXPECT_EQ(counts.added, 1);
    EXPECT_EQ(counts.skipped, 1);
    auto old = employee("abc");
    EXPECT_EQ(old.field("ID").toString(), "abc");
    EXPECT_EQ(old.field("LastName").toString(), "Original");
    EXPECT_EQ(old.field("Notes").toString(), "keep");
    auto added = employee("new");
    EXPECT_EQ(added.field("LastName").toString(), "Newman");
    // An empty text value stores an empty text; defaults fill the rest.
    EXPECT_FALSE(added.field("Notes").isNull());
    EXPECT_EQ(added.field("ScheduleNo").toString(), "000");
    EXPECT_EQ(added.field("Status").toInt(), 1);
}

TEST_F(ImportTest, EmptyValuesOfNumbersDatesAndCodesStayUnset) {
    EXPECT_EQ(import("\"E1\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n",
                     {fID, fPosition, fDepartmentNo, fOtherID, fRate, fHireDate, fStatus, fSupervisorLevel}),
              ImportResult::Done);
    auto e = employee("E1");
    for (const char* c : {"Position", "DepartmentNo", "Other ID", "Rate", "Hire Date"})
        EXPECT_TRUE(e.field(c).isNull()) << c;
    EXPECT_EQ(e.field("Status").toInt(), 1);
    EXPECT_EQ(e.field("SupervisorLevel").toInt(), 1);
}

TEST_F(ImportTest, OneColumnAndQuotedCommas) {
    EXPECT_EQ(import("\"E1\"\r\n\"E2\"\r\n", {fID}), ImportResult::Done);
    EXPECT_EQ(count("SELECT count(*) FROM Employee"), 2);

    EXPECT_EQ(import("\"E3\",\"Smith, Jr.\",\"Ann\"\r\n", {fID, fLastName, fFirstName}), ImportResult::Done);
    auto e = employee("E3");
    EXPECT_EQ(e.field("LastName").toString(), "Smith, Jr.");
    EXPECT_EQ(e.field("FirstName").toString(), "Ann");
}

TEST_F(ImportTest, RefusalsKeepEarlierLines) {
    EXPECT_EQ(ImportPersonnel(co.db(), QString(), {fID}), ImportResult::NoFile);
    EXPECT_EQ(answers.texts().last(), "Can't Import! Please select a file path!");
    EXPECT_EQ(answers.last()->icon, ui::Icon::Exclamation);

    EXPECT_EQ(import("\"E1\",\"A\"\r\n\"E2\"\r\n\"E3\",\"C\"\r\n", {fID, fLastName}), ImportResult::TooFewFields);
    EXPECT_EQ(answers.texts().last(),
              "Can't Import File! Number of fields to import greater than Number of Fields In the text file");
    EXPECT_EQ(count("SELECT count(*) FROM Employee"), 1);

    EXPECT_EQ(import("\"E4\",\"A\"\r\n\"\",\"B\"\r\n\"E5\",\"C\"\r\n", {fID, fLastName}), ImportResult::NoEmployeeId);
    EXPECT_EQ(answers.texts().last(), "Employee ID is required to add a new reccord!");
    EXPECT_EQ(count("SELECT count(*) FROM Employee"), 2);

    // A value its field cannot take (no number; out of its range, counting
    // the line a record starts on) ends the import at its line, naming both.
    EXPECT_EQ(import("\"E6\",\"7.5\"\r\n\"E7\",\"lots\"\r\n\"E8\",\"1\"\r\n", {fID, fRate}),
              ImportResult::InvalidValue);
    EXPECT_EQ(answers.texts().last(), "Can't Import File! The value \"lots\" in line 2 is not valid for Rate.");
    EXPECT_EQ(answers.last()->icon, ui::Icon::Exclamation);
    EXPECT_EQ(count("SELECT count(*) FROM Employee WHERE ID IN ('E6', 'E7', 'E8')"), 1);
    EXPECT_EQ(import("\"E9\",\"2\",\"A\r\nB\"\r\n\"E10\",\"5\",\"C\"\r\n", {fID, fSupervisorLevel, fNotes}),
              ImportResult::InvalidValue);
    EXPECT_EQ(answers.texts().last(),
              "Can't Import File! The value \"5\" in line 3 is not valid for Supervisor Level.");
    EXPECT_EQ(count("SELECT count(*) FROM Employee WHERE ID IN ('E9', 'E10')"), 1);

    // A missing file.
    EXPECT_EQ(ImportPersonnel(co.db(), dataFile("none.txt"), {fID}), ImportResult::Failed);
    EXPECT_FALSE(ui::waitCursorShown());
}

TEST_F(ImportTest, ValuesNeverReachTheStatementText) {
    addEmployee("E1", {"Keep"});
    EXPECT_EQ(import("\"x\"\" OR ID <> \"\"\",\"Evil\"\r\n", {fID, fLastName}), ImportResult::InvalidValue);
    // The ID is too long for the column: refused by the engine, and nothing else changed.
    EXPECT_EQ(count("SELECT count(*) FROM Employee"), 1);
    EXPECT_EQ(employee("E1").field("LastName").toString(), "Keep");
}
