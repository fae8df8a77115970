#include "ImportTestSupport.h"
#include "attendance/AttendanceScreens.h"
#include "attendance/ClockImport.h"
#include "core/pairing/PunchPairing.h"
#include "core/types/WorkWeek.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QProgressDialog>
#include <QStringEncoder>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <tuple>

using namespace plax;

namespace {
const char* const kSuccess = "Clock data was imported successfully!";
const char* const kFailure = "Clock data was NOT imported successfully!";

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// The main window's import command on `c`'s database and folders, with
// `download` chosen in the file dialog (none: Cancel).
void importThroughTheMenu(test::ImportCompany& c, const QString& download, ui::ScriptedResponder& r) {
    std::swap(CompanyDb, c.handle());
    AppPath = c.dir();
    DataPath = c.dataPath();
    Company = c.settings;
    clearMenuHandlers();
    registerAttendanceScreens();
    if (!download.isEmpty())
        r.files.push_back(download);
    runMenuHandler(QStringLiteral("mnuUtilitiesImportAtt"));
    clearMenuHandlers();
    std::swap(CompanyDb, c.handle());
    CompanyDb.reset();
}
} // namespace

TEST(ClockImport, ReadsTheFileByPosition) {
    test::ImportCompany c;
    c.writeClockTxt("00042,01/17/05,07:58\r\nA,B,01/17/05,16:00\r\n\r\n7,01/18/05,\r\n");
    const auto punches = readClockFile(c.clockTxt());
    ASSERT_EQ(punches.size(), 3u);
    EXPECT_EQ(punches[0].id, QStringLiteral("00042"));
    EXPECT_EQ(punches[0].date, CalDate::ymd(2005, 1, 17));
    EXPECT_EQ(punches[0].time, TimeOfDay::fromHm(7, 58));
    EXPECT_EQ(punches[1].id, QStringLiteral("A,B"));
    EXPECT_FALSE(punches[2].time.has_value());

    c.writeClockTxt("1,13/45/05,07:58\r\n");
    try {
        readClockFile(c.clockTxt());
        ADD_FAILURE() << "a date that is not a date must fail";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::TypeMismatch);
    }
}

TEST(ClockImport, ImportsPairsAndRebuildsHours) {
    test::ImportCompany c;
    c.addEmployees({QStringLiteral("0042"), QStringLiteral("7")});
    c.addEmployees({QStringLiteral("9")}, false); // inactive employees are imported too
    // Out of order on purpose; the import sorts by ID, date and time.
    c.writeClockTxt("0042,01/10/24,16:30\r\n"
                    "7,01/10/24,09:00\r\n"
                    "0042,01/10/24,08:00\r\n"
                    "0042,01/10/24,08:00\r\n" // the same punch twice
                    "5555,01/10/24,08:00\r\n" // not an employee
                    "9,01/10/24,06:00\r\n"
                    "9,01/10/24,\r\n"
                    "9,01/10/24,14:00\r\n");
    ui::ScriptedResponder r;
    EXPECT_TRUE(ImportClockData(c.db(), c.settings, c.dataPath()));
    EXPECT_EQ(r.texts(), QStringList{QString::fromLatin1(kSuccess)});
    EXPECT_EQ(r.messages[0].icon, ui::Icon::Information);
    EXPECT_FALSE(QFile::exists(c.clockTxt()));

    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 3);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE EmpID = '5555'")), 0);
    auto rs = c.db().openRecordset(QStringLiteral("SELECT * FROM [Time Attendance] WHERE EmpID = '0042'"));
    EXPECT_EQ(rs["ClockIn"].toString(), QStringLiteral("08:00"));
    EXPECT_EQ(rs["ClockOut"].toString(), QStringLiteral("16:30"));
    EXPECT_EQ(rs["TotalHrs"].toInt(), 8);
    EXPECT_EQ(rs["TotalMin"].toInt(), 30);
    // The hours engine ran: hours are there and no flag is left.
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE Recalculate <> 0")), 0);
    auto hw = c.db().openRecordset(QStringLiteral("SELECT [Straight Hrs] FROM [Hours Worked] WHERE EmpID = '0042'"));
    EXPECT_DOUBLE_EQ(hw.field(0).toDouble(), 8.5);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Hours Worked] WHERE EmpID = '7'")), 1);
    EXPECT_FALSE(ui::waitCursorShown());
}

// A shift before the day start on the Monday that starts week 1 belongs to
// Sunday's work day, in the last week of the year before, and is paid there.
TEST(ClockImport, AnEarlyShiftOnTheMondayOfWeekOneIsPaidInTheWeekBefore) {
    test::ImportCompany c;
    c.addEmployees({QStringLiteral("1002"), QStringLiteral("1003")});
    c.settings.setDayStart(*TimeOfDay::fromHm(6, 0));
    // 40 hours Monday to Thursday 21-24 December 2026, then Monday the 28th
    // 03:00 to 05:00.
    QByteArray file;
    for (int day = 21; day <= 24; ++day)
        file += QByteArray("1002,12/") + QByteArray::number(day) + "/26,08:00\r\n1002,12/" +
                QByteArray::number(day) + "/26,18:00\r\n";
    file += "1002,12/28/26,03:00\r\n1002,12/28/26,05:00\r\n";
    c.writeClockTxt(file);
    ui::ScriptedResponder r;
    EXPECT_TRUE(ImportClockData(c.db(), c.settings, c.dataPath()));
    const auto hours = [&](const char* emp, const char* date) {
        db::Recordset rs = c.db().openRecordset(
            QStringLiteral("SELECT Week, [Straight Hrs], [OT Hrs] FROM [Hours Worked] WHERE EmpID = ? AND TDate = ?"),
            {QString::fromLatin1(emp), QString::fromLatin1(date)});
        return rs.eof() ? QStringLiteral("none")
                        : QStringLiteral("w%1 %2+%3").arg(rs.field(0).toInt()).arg(rs.field(1).toDouble()).arg(
                              rs.field(2).toDouble());
    };
    EXPECT_EQ(c.count(QStringLiteral("SELECT Week FROM [Time Attendance] WHERE TDate = '2026-12-28'")), 52);
    EXPECT_EQ(hours("1002", "2026-12-28"), QStringLiteral("w52 0+2"));

    // Day start 00:30: a shift from 00:05 on Monday 14 December is Sunday's,
    // in week 50, after 40 hours of that week.
    c.settings.setDayStart(*TimeOfDay::fromHm(0, 30));
    file.clear();
    for (int day = 7; day <= 10; ++day)
        file += QByteArray("1003,12/") + QByteArray::number(day).rightJustified(2, '0') + "/26,08:00\r\n1003,12/" +
                QByteArray::number(day).rightJustified(2, '0') + "/26,18:00\r\n";
    file += "1003,12/14/26,00:05\r\n1003,12/14/26,00:25\r\n";
    c.writeClockTxt(file);
    EXPECT_TRUE(ImportClockData(c.db(), c.settings, c.dataPath()));
    EXPECT_EQ(hours("1003", "2026-12-14"), QStringLiteral("w50 0+%1").arg(20 / 60.0));
}

TEST(ClockImport, AMissingOrBadFileChangesNothing) {
    test::ImportCompany c;
    c.addEmployees({QStringLiteral("1")});
    ui::ScriptedResponder r;
    EXPECT_FALSE(ImportClockData(c.db(), c.settings, c.dataPath()));
    ASSERT_EQ(r.texts(), QStringList{QString::fromLatin1(kFailure)});
    EXPECT_EQ(r.messages[0].title, QStringLiteral("Zelto Error#: 3024"));
    EXPECT_EQ(r.messages[0].icon, ui::Icon::Critical);
    EXPECT_EQ(r.beeps, 1);

    c.writeClockTxt("1,01/10/24,08:00\r\n1,99/99/24,09:00\r\n");
    EXPECT_FALSE(ImportClockData(c.db(), c.settings, c.dataPath()));
    EXPECT_TRUE(QFile::exists(c.clockTxt()));
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 0);
}

TEST(ClockImport, AFailureHalfWayKeepsWhatWasRecordedAndARetryAddsNothingTwice) {
    test::ImportCompany c;
    QStringList ids;
    QByteArray file;
    for (int e = 0; e < 40; ++e) {
        ids << QString::number(100 + e);
        for (int day = 8; day <= 12; ++day)
            file += QStringLiteral("%1,01/%2/24,08:00\r\n%1,01/%2/24,16:00\r\n").arg(100 + e).arg(day).toLatin1();
    }
    c.addEmployees(ids);
    c.writeClockTxt(file);
    // Employee 120's Wednesday clock-out cannot be written, whether as a
    // closed row or as the close of an open one.
    for (const char* event : {"INSERT", "UPDATE"})
        c.db().executeScript(QStringLiteral(
            "CREATE TRIGGER fail_close_%1 BEFORE %1 ON [Time Attendance] "
            "WHEN NEW.EmpID = '120' AND NEW.TDate = '2024-01-10' AND NEW.ClockOut IS NOT NULL "
            "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END").arg(QLatin1String(event)));
    {
        ui::ScriptedResponder r;
        EXPECT_FALSE(ImportClockData(c.db(), c.settings, c.dataPath()));
        EXPECT_EQ(r.texts(), QStringList{QString::fromLatin1(kFailure)});
    }
    EXPECT_FALSE(c.db().inTransaction());
    EXPECT_TRUE(QFile::exists(c.clockTxt()));
    // Everything up to the failing punch stays: employees 100..119 completely,
    // 120 up to its open Wednesday shift.
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE ClockOut IS NOT NULL")), 20 * 5 + 2);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE ClockOut IS NULL")), 1);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Hours Worked]")), 0); // the engine did not run

    c.db().executeScript(QStringLiteral("DROP TRIGGER fail_close_INSERT; DROP TRIGGER fail_close_UPDATE"));
    ui::ScriptedResponder r;
    EXPECT_TRUE(ImportClockData(c.db(), c.settings, c.dataPath()));
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 40 * 5);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE ClockOut IS NULL")), 0);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE TotalHrs <> 8")), 0);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Hours Worked]")), 40 * 5);
}

TEST(ClockImport, TheMenuCommandConvertsAndImports) {
    test::ImportCompany c;
    c.addEmployees({QStringLiteral("1042")});
    const QString download = c.dataPath() + QStringLiteral("download.log");
    writeFile(download, "1042,01/17/05 07:58:30\r\n1042,01/17/05 16:03:10\r\n");

    ui::ScriptedResponder r;
    importThroughTheMenu(c, download, r);
    EXPECT_EQ(r.texts(), QStringList{QString::fromLatin1(kSuccess)});
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE TDate = '2005-01-17' AND "
                                     "ClockOut = '16:03'")),
              1);

    // Cancelled conversion and no Clock.txt: the import still runs, and fails.
    ui::ScriptedResponder again;
    importThroughTheMenu(c, QString(), again);
    EXPECT_EQ(again.fileRequests.size(), 1u);
    EXPECT_EQ(again.texts(), QStringList{QString::fromLatin1(kFailure)});

    // A download whose first read fails (this file fails every read): it is
    // named, the earlier Clock.txt stays, and the import does not run on it.
    const QByteArray earlier = "1042,01/18/05,07:58\r\n1042,01/18/05,16:02\r\n";
    c.writeClockTxt(earlier);
    ui::ScriptedResponder unreadable;
    importThroughTheMenu(c, QStringLiteral("/proc/self/mem"), unreadable);
    EXPECT_EQ(unreadable.texts(), QStringList{QStringLiteral("The file '/proc/self/mem' cannot be read to its end.\r\n") +
                                              QLatin1String(kFailure)});
    EXPECT_EQ(unreadable.messages.back().icon, ui::Icon::Exclamation);
    QFile clockTxt(c.clockTxt());
    ASSERT_TRUE(clockTxt.open(QIODevice::ReadOnly));
    EXPECT_EQ(clockTxt.readAll(), earlier);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 1);

    // A Clock.txt that cannot be written (here a folder of that name): the
    // download is not imported, and nothing else is in its place.
    clockTxt.close();
    ASSERT_TRUE(QFile::remove(c.clockTxt()) && QDir().mkdir(c.clockTxt()));
    ui::ScriptedResponder unwritten;
    importThroughTheMenu(c, download, unwritten);
    EXPECT_EQ(unwritten.texts(), QStringList{QStringLiteral("The file '%1' cannot be written.\r\n").arg(c.clockTxt()) +
                                             QLatin1String(kFailure)});
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 1);
}

// Punch files as editors and downloads save them: behind a byte-order mark
// (UTF-8, UTF-16 either way round), plain UTF-8 or Windows-1252, with an
// accented ID and a two-byte character before the fields of a line. Every
// punch comes in. A file from which nothing could be imported says so.
TEST(ClockImport, PunchFilesInEveryEncodingImportEveryPunch) {
    const QString text = QStringLiteral("X,01/15/24 08:00    1007\r\nX,01/15/24 16:00    1007\r\n"
                                        "\u00c9,01/16/24 08:00    JOS\u00c9\r\nJOS\u00c9,01/16/24 16:30:00\r\n");
    const auto utf16 = [&text](QStringConverter::Encoding e) { return QByteArray(QStringEncoder(e).encode(text)); };
    const std::pair<const char*, QByteArray> files[] = {
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + text.toUtf8()},
        {"UTF-8", text.toUtf8()},
        {"UTF-16LE", "\xFF\xFE" + utf16(QStringConverter::Utf16LE)},
        {"UTF-16BE", "\xFE\xFF" + utf16(QStringConverter::Utf16BE)},
        {"Windows-1252", text.toLatin1()},
    };
    for (const auto& [name, bytes] : files) {
        test::ImportCompany c;
        c.addEmployees({QStringLiteral("1007"), QStringLiteral("JOS\u00c9")});
        const QString download = c.dataPath() + QStringLiteral("download.txt");
        writeFile(download, bytes);
        ui::ScriptedResponder r;
        importThroughTheMenu(c, download, r);
        EXPECT_EQ(r.texts(), QStringList{QString::fromLatin1(kSuccess)}) << name;
        EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE EmpID = '1007' AND "
                                         "ClockIn = '08:00' AND ClockOut = '16:00' AND TotalHrs = 8")),
                  1)
            << name;
        EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE EmpID = ? AND "
                                         "ClockIn = '08:00' AND ClockOut = '16:30' AND TotalMin = 30"),
                          {QStringLiteral("JOS\u00c9")}),
                  1)
            << name;
    }

    // UTF-16 without a mark reads as UTF-8 full of NULs, and a file of
    // strangers' punches has nobody to import: neither says it succeeded.
    const std::pair<QByteArray, const char*> nothing[] = {
        {utf16(QStringConverter::Utf16LE), "The file holds no punches."},
        {"X,01/15/24 08:00    5555\r\n", "No ID in the file belongs to an employee."}};
    for (const auto& [bytes, why] : nothing) {
        test::ImportCompany c;
        c.addEmployees({QStringLiteral("1007")});
        const QString download = c.dataPath() + QStringLiteral("download.txt");
        writeFile(download, bytes);
        ui::ScriptedResponder r;
        importThroughTheMenu(c, download, r);
        EXPECT_EQ(r.texts(), QStringList{QLatin1String(why) + "\r\n" + QLatin1String(kFailure)});
        EXPECT_EQ(r.messages.back().icon, ui::Icon::Exclamation);
        EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 0);
        EXPECT_TRUE(QFile::exists(c.clockTxt()));
    }
}

TEST(ClockImport, ALargeFileShowsProgressAndKeepsTheWindowPainting) {
    test::ImportCompany c;
    QStringList ids;
    QByteArray file;
    for (int e = 0; e < 200; ++e) {
        ids << QString::number(300 + e);
        for (int day = 1; day <= 31; ++day)
            file += QStringLiteral("%1,01/%2/24,07:00\r\n%1,01/%2/24,15:00\r\n")
                        .arg(300 + e)
                        .arg(day, 2, 10, QLatin1Char('0'))
                        .toLatin1();
    }
    c.addEmployees(ids);
    c.writeClockTxt(file);

    std::swap(CompanyDb, c.handle());
    AppPath = c.dir();
    DataPath = c.dataPath();
    Company = c.settings;
    // Timers stand for the window's painting: they must keep running.
    int ticks = 0;
    bool sawProgress = false, sawWaitCursor = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        sawWaitCursor = sawWaitCursor || ui::waitCursorShown();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog*>(w) && w->isVisible())
                sawProgress = true;
    });
    timer.start(0);
    ui::ScriptedResponder r; // cancels the file dialog: Clock.txt is imported as it is
    ImportAttendanceData();
    timer.stop();
    std::swap(CompanyDb, c.handle());
    CompanyDb.reset();

    EXPECT_EQ(r.texts(), QStringList{QString::fromLatin1(kSuccess)});
    EXPECT_GT(ticks, 0);
    EXPECT_TRUE(sawProgress);
    EXPECT_TRUE(sawWaitCursor);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Hours Worked]")), 200 * 31);
}

// The import pairs each employee's punches in memory; the terminal's road
// asks the table punch by punch. For any file, rows already there, week
// start, day start and rounding, both leave the same rows, totals and flags
// and count the same outcomes, also when an employee's punches are split
// over several batches and where IDs differ in letter case.
TEST(ClockImport, PairsInMemoryExactlyAsPunchByPunch) {
    test::ImportCompany fast, slow;
    const QStringList staff{QStringLiteral("A1"), QStringLiteral("b2"), QStringLiteral("0042"),
                            QString::fromLatin1("\xc9" "3")};
    // As the file may spell them: other letter cases, and a stranger.
    const QStringList spelt{QStringLiteral("A1"), QStringLiteral("a1"), QStringLiteral("b2"), QStringLiteral("B2"),
                            QStringLiteral("0042"), QString::fromLatin1("\xc9" "3"), QString::fromLatin1("\xe9" "3"),
                            QStringLiteral("X9")};
    fast.addEmployees(staff);
    slow.addEmployees(staff);
    const auto rows = [](test::ImportCompany& c) {
        QStringList out;
        auto rs = c.db().openRecordset(QStringLiteral(
            "SELECT EmpID, TDate, Week, ClockIn, DateOut, ClockOut, TotalHrs, TotalMin, Recalculate "
            "FROM [Time Attendance] ORDER BY EmpID, TDate, ClockIn"));
        for (; !rs.eof(); rs.moveNext()) {
            QStringList f;
            for (int i = 0; i < 9; ++i)
                f << (rs.field(i).isNull() ? QStringLiteral("-") : rs.field(i).toString());
            out << f.join(QLatin1Char(' '));
        }
        return out.join(QLatin1Char('\n')).toStdString();
    };

    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 rng(seed);
        const auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
        CompanySettings s;
        s.WorkDay = 1 + pick(7);
        s.setDayStart(TimeOfDay::fromMinutes(std::array{0, 0, 30, 4 * 60, 6 * 60, 5 * 60 + 30, 23 * 60}[pick(7)]));
        s.RoundTotal = std::array{0, 5, 15, 7}[pick(4)];
        const CalDate base = pick(2) ? CalDate::ymd(2024, 12, 26) : CalDate::ymd(2025, 6, 2); // around New Year, or not
        const auto minute = [&] { return pick(3) ? pick(48) * 30 : pick(1440); };

        // Rows already there: open and closed shifts, flagged or not, some of
        // another week number or none.
        std::optional<db::Database::Transaction> txFast(fast.db()), txSlow(slow.db());
        for (int i = pick(8); i > 0; --i) {
            const QString id = spelt[pick(7)];
            const CalDate d = base.addDays(pick(9) - 1);
            const TimeOfDay in = TimeOfDay::fromMinutes(minute());
            std::optional<DateTimeMin> out;
            if (pick(2))
                out = DateTimeMin::fromTotalMinutes(DateTimeMin{d, in}.totalMinutes() + 30 + pick(900));
            const int length = out ? int(out->totalMinutes() - DateTimeMin{d, in}.totalMinutes()) : 0;
            db::Value week = WeekNumber(d, in, s) + (pick(5) == 0 ? 1 : 0);
            if (pick(12) == 0)
                week = db::Value();
            const bool flagged = pick(2) == 1;
            for (auto* c : {&fast, &slow})
                c->db().execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, "
                                               "ClockOut, TotalHrs, TotalMin, Recalculate) VALUES (?,?,?,?,?,?,?,?,?)"),
                                {id, d, week, in, out ? db::Value(out->date) : db::Value(),
                                 out ? db::Value(out->time) : db::Value(), length / 60, length % 60, flagged});
        }
        txFast->commit();
        txSlow->commit();

        // The file, in no particular order, with repeated punches and punches
        // without a time.
        QByteArray file;
        for (int i = pick(40); i > 0; --i) {
            const QString id = spelt[pick(spelt.size())];
            const CalDate d = base.addDays(pick(8));
            const QString t = pick(12) ? TimeOfDay::fromMinutes(minute()).toHm() : QString();
            const QByteArray line = (id + QLatin1Char(',') + d.toMdy2() + QLatin1Char(',') + t).toLatin1() + "\r\n";
            file += line;
            if (pick(8) == 0)
                file += line;
        }
        fast.writeClockTxt(file);

        ImportCounts fastCounts;
        importClockFile(fast.db(), s, fast.clockTxt(), fastCounts, {}, 1 + pick(6));

        std::vector<ClockPunch> punches = readClockFile(fast.clockTxt());
        std::stable_sort(punches.begin(), punches.end(), [](const ClockPunch& a, const ClockPunch& b) {
            const QString x = a.id.toCaseFolded(), y = b.id.toCaseFolded();
            if (x != y)
                return x < y;
            if (a.date != b.date)
                return a.date < b.date;
            return a.time.value_or(TimeOfDay()) < b.time.value_or(TimeOfDay());
        });
        ImportCounts slowCounts;
        slowCounts.punches = int(punches.size());
        db::Database::Transaction tx(slow.db());
        for (const ClockPunch& p : punches) {
            if (!p.time) {
                ++slowCounts.skipped;
                continue;
            }
            slowCounts.add(
                pairing::recordPunch(slow.db(), s, pairing::PairingOptions::forImport(), p.id, p.date, *p.time).outcome);
        }
        tx.commit();

        ASSERT_EQ(rows(fast), rows(slow)) << "seed " << seed;
        ASSERT_EQ(std::tie(fastCounts.punches, fastCounts.skipped, fastCounts.newShifts, fastCounts.closed,
                           fastCounts.turned, fastCounts.duplicates, fastCounts.unknown),
                  std::tie(slowCounts.punches, slowCounts.skipped, slowCounts.newShifts, slowCounts.closed,
                           slowCounts.turned, slowCounts.duplicates, slowCounts.unknown))
            << "seed " << seed;
        for (auto* c : {&fast, &slow})
            c->db().execute(QStringLiteral("DELETE FROM [Time Attendance]"));
    }
}
