// A process ended (kill -9) at every step of archiving a week, archiving it
// again over its archive, and restoring it: the next opening of the company
// file finds every row of the week in exactly one place, where the commit
// put it, and nothing half done.
#include "ArchiveTestSupport.h"
#include "attendance/archive/WeekArchive.h"
#include "core/common/Settings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace plax;
using namespace plax::archive;

namespace {

const CalDate kMon = CalDate::ymd(2024, 1, 8); // week 2, Monday weeks, day start 06:00

// The rows of the week in `d`, "EmpID|TDate|ClockIn" and "EmpID|TDate|absence".
QStringList weekRows(db::Database& d, const ArchiveWeek& w) {
    QStringList out;
    db::Recordset rs = d.openRecordset(
        QStringLiteral(
            "SELECT EmpID, TDate, ClockIn FROM [Time Attendance] WHERE TDate BETWEEN ? AND ? AND Week = ?"),
        {w.first, w.last, w.week});
    for (; !rs.eof(); rs.moveNext())
        out << rs.field(0).toString() + '|' + rs.field(1).toString() + '|' + rs.field(2).toString();
    rs = d.openRecordset(QStringLiteral("SELECT EmpID, TDate FROM Absence WHERE TDate BETWEEN ? AND ?"),
                         {w.first, w.first.addDays(6)});
    for (; !rs.eof(); rs.moveNext())
        out << rs.field(0).toString() + '|' + rs.field(1).toString() + QStringLiteral("|absence");
    out.sort();
    return out;
}

class ArchiveKill : public ::testing::Test {
  protected:
    // A company whose week 2 holds seven shifts and an absence, with the
    // settings stored as the programs read them.
    void fill(test::ArchiveCompany& c) {
        c.settings.setDayStart(*TimeOfDay::fromHm(6, 0));
        SaveRegValue(c.db(), "Company Settings", "WorkDay", "2");
        SaveRegValue(c.db(), "Company Settings", "DayStartTime", "06:00");
        SaveRegValue(c.db(), "Company Settings", "RoundTotal", "0");
        for (int i = 0; i < 6; ++i)
            c.shift(QString::number(i), kMon.addDays(i), "08:00", 2, kMon.addDays(i), "16:00", 8, 0);
        c.shift("9", kMon.addDays(7), "03:00", 2); // the next Monday before the day start
        c.shift("9", kMon.addDays(8), "08:00", 3); // the next week stays
        c.absence("1", kMon.addDays(2), 2, "Sick", 8);
        c.absence("2", kMon.addDays(7), 3, "Sick", 8); // the next week's Monday stays
        QDir().mkpath(archiveFolder(c.dir()));
    }
    // Runs the child until it ends itself at `step`.
    static void endAt(test::ArchiveCompany& c, const char* what, MoveStep step) {
        QProcess child;
        child.start(QStringLiteral(PLAX_ARCHIVE_CHILD),
                    {c.path(), c.dir(), QString::fromLatin1(what), kMon.toIso(), kMon.addDays(7).toIso(),
                     QString::number(int(step))});
        ASSERT_TRUE(child.waitForFinished(-1));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
        EXPECT_EQ(child.readAllStandardOutput().trimmed(),
                  QByteArray("ended at step ") + QByteArray::number(int(step)));
    }
    // The week's rows in each listed archive, together.
    static QStringList archivedRows(test::ArchiveCompany& c, const ArchiveWeek& w) {
        QStringList out;
        for (const ListedArchive& a : listedArchives(archiveFolder(c.dir()), c.settings))
            out += weekRows(*db::Database::open(a.path, false, true), w);
        out.sort();
        return out;
    }
};

TEST_F(ArchiveKill, EveryRowOfTheWeekIsInExactlyOnePlaceWhereverTheProcessEnded) {
    enum Op { Archive, ArchiveAgain, Restore };
    for (const Op op : {Archive, ArchiveAgain, Restore}) {
        for (int i = int(MoveStep::FileWritten); i <= int(MoveStep::Forgotten); ++i) {
            const auto step = MoveStep(i);
            if (op == Restore && step == MoveStep::FileWritten)
                continue; // a restore writes no file
            SCOPED_TRACE(testing::Message() << "operation " << op << ", step " << i);
            test::ArchiveCompany c;
            fill(c);
            const ArchiveWeek w =
                *weekOfEntry(kMon.toShortDate() + " --> " + kMon.addDays(7).toShortDate(), c.settings);
            const QString path = archivePath(c.dir(), kMon);
            if (op != Archive)
                archiveWeek(c.db(), c.settings, path, w);
            if (op == ArchiveAgain) {
                c.shift("7", kMon.addDays(1), "09:00", 2, kMon.addDays(1), "12:00", 3, 0);
                c.absence("7", kMon.addDays(3), 2, "Personal", 4);
            }
            const QStringList live = weekRows(c.db(), w);
            QStringList all = live + archivedRows(c, w);
            all.sort();
            ASSERT_GE(all.size(), 8);
            endAt(c, op == Restore ? "restore" : "archive", step);

            // Opened again as both programs open it.
            auto opened = c.reopen();
            ASSERT_TRUE(settleArchiveMovesQuietly(opened.get(), archiveFolder(c.dir())));
            const QStringList company = weekRows(*opened, w);
            const QStringList archived = archivedRows(c, w);
            QStringList both = company + archived;
            both.sort();
            EXPECT_EQ(both, all); // each once: none lost, none twice
            // The commit decided: before it nothing happened, after it all.
            const bool done = step >= MoveStep::Committed;
            EXPECT_EQ(company, !done ? live : op == Restore ? all : QStringList());
            // Nothing half done is left for a later move to trip over.
            EXPECT_EQ(QDir(archiveFolder(c.dir())).entryList(QDir::Files),
                      archived.isEmpty() ? QStringList() : QStringList{"01082024.mdb"});
            if (opened->tableExists("Archive Moves")) {
                EXPECT_EQ(opened->openRecordset("SELECT count(*) FROM [Archive Moves]").field(0).toInt(), 0);
            }

            // Archiving the week now keeps every row of it.
            if (!company.isEmpty()) {
                archiveWeek(*opened, c.settings, path, w);
                EXPECT_EQ(archivedRows(c, w), all);
            }
        }
    }
}

// What the version before this one left when it was ended half way: an
// archive set aside (".old", ".restoring") goes back in its place; beside
// a newer archive, which holds its rows, an ".old" one goes.
TEST_F(ArchiveKill, ArchivesSetAsideByTheEarlierVersionGoBack) {
    test::ArchiveCompany c;
    const QString folder = archiveFolder(c.dir()) + '/';
    QDir().mkpath(folder);
    const auto write = [&folder](const QString& name, const QByteArray& data) {
        QFile f(folder + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    };
    const auto read = [&folder](const QString& name) {
        QFile f(folder + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    };
    write("01082024.mdb.old", "earlier"); // between the two renames of a second archive
    write("01082024.mdb.new", "merged");
    write("01152024.mdb.restoring", "restoring"); // a restore before its commit
    write("01222024.mdb.old", "earlier");         // a second archive before its commit
    write("01222024.mdb", "merged");
    ASSERT_TRUE(settleArchiveMovesQuietly(&c.db(), archiveFolder(c.dir())));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              (QStringList{"01082024.mdb", "01152024.mdb", "01222024.mdb"}));
    EXPECT_EQ(read("01082024.mdb"), "earlier");
    EXPECT_EQ(read("01152024.mdb"), "restoring");
    EXPECT_EQ(read("01222024.mdb"), "merged");
}

} // namespace
