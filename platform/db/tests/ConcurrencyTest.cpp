#include "platform/db/FileSystem.h"
#include "testing/TempCompany.h"

#include <QElapsedTimer>
#include <QProcess>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

using namespace plax;

namespace {

// Lets the tests open files as if they lay on another kind of file system.
struct FileSystemAs {
    explicit FileSystemAs(std::int64_t type) { db::overrideFileSystemType(type); }
    ~FileSystemAs() { db::overrideFileSystemType(std::nullopt); }
};
constexpr std::int64_t kNfs = 0x6969;

QString journalOf(db::Database& d) {
    return d.openRecordset(QStringLiteral("PRAGMA journal_mode")).field(0).toString().toLower();
}

// PRAGMA synchronous: 1 NORMAL, 2 FULL.
qint64 synchronousOf(db::Database& d) {
    return d.openRecordset(QStringLiteral("PRAGMA synchronous")).field(0).toInt();
}

// Work that can be redone skips the flush of each commit in WAL only (with a
// rollback journal that could corrupt the file), and the connection's own
// setting is back afterwards.
void expectRedoableWorkKeepsTheFileSafe(db::Database& d, bool wal) {
    const qint64 before = synchronousOf(d);
    EXPECT_EQ(before, 2);
    {
        db::Database::RedoableWork redoable(d);
        EXPECT_EQ(synchronousOf(d), wal ? 1 : before);
    }
    EXPECT_EQ(synchronousOf(d), before);
}

} // namespace

// Two connections (as PLAX and the terminal would hold) writing at once:
// with the busy timeout and immediate transactions none sees "locked", with
// the WAL journal of a local disk and the rollback journal of a network one.
TEST(Concurrency, TwoWritersLoseNothing) {
    for (const bool network : {false, true}) {
        std::optional<FileSystemAs> as;
        if (network)
            as.emplace(kNfs);
        test::TempCompany c;
        const QString path = c.path();
        c.handle().reset();
        // The rollback journal syncs three times a commit: fewer rows there.
        const int kRows = network ? 50 : 400;
        std::atomic<int> failures{0};
        auto writer = [&](const QString& prefix) {
            try {
                auto d = db::Database::open(path);
                if (journalOf(*d) != (network ? "delete" : "wal"))
                    ++failures;
                for (int i = 0; i < kRows; ++i) {
                    db::Database::Transaction tx(*d);
                    d->execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn) "
                                              "VALUES (?, '2024-01-08', 2, ?)"),
                               {prefix, TimeOfDay::fromMinutes(i)});
                    tx.commit();
                }
            } catch (const std::exception&) {
                ++failures;
            }
        };
        std::thread a(writer, QStringLiteral("A")), b(writer, QStringLiteral("B"));
        a.join();
        b.join();
        EXPECT_EQ(failures.load(), 0) << network;
        auto d = db::Database::open(path);
        EXPECT_EQ(d->openRecordset(QStringLiteral("SELECT count(*) FROM [Time Attendance]")).field(0).toInt(),
                  2 * kRows);
    }
}

// The journal follows the file system: network file systems (NFS, SMB/CIFS,
// FUSE mounts such as sshfs) get the rollback journal, local ones WAL. A
// file that a local connection still holds in WAL is refused over the
// network rather than written by two computers that cannot see each other.
TEST(Concurrency, JournalFollowsTheFileSystem) {
    for (std::int64_t type : std::initializer_list<std::int64_t>{0x6969, 0x517B, 0xFF534D42, 0xFE534D42, 0x65735546})
        EXPECT_EQ(db::journalModeFor(type), db::JournalMode::Rollback) << std::hex << type;
    for (std::int64_t type : std::initializer_list<std::int64_t>{0xEF53, 0x01021994, 0x9123683E, 0x58465342, 0x794C7630, 0})
        EXPECT_EQ(db::journalModeFor(type), db::JournalMode::Wal) << std::hex << type;

    test::TempCompany c;
    const QString path = c.path();
    EXPECT_NE(db::fileSystemTypeOf(path), 0);
    EXPECT_EQ(journalOf(c.db()), "wal");
    expectRedoableWorkKeepsTheFileSafe(c.db(), true);
    {
        FileSystemAs nfs(kNfs);
        try {
            db::Database::open(path);
            ADD_FAILURE() << "opened over the network while a local connection holds the file in WAL";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.number(), db::err::InUse);
        }
        c.handle().reset();
        auto d = db::Database::open(path);
        EXPECT_EQ(journalOf(*d), "delete");
        expectRedoableWorkKeepsTheFileSafe(*d, false);
    }
    EXPECT_EQ(journalOf(*db::Database::open(path)), "wal");
}

// Opening reads the schema at once; a file another connection holds for a
// moment (an exclusive open, a journal being recovered) is waited for within
// the busy timeout like any write, not refused as "locked".
TEST(Concurrency, OpeningWaitsForAConnectionThatHoldsTheFileForAMoment) {
    test::TempCompany c;
    const QString path = c.path();
    c.handle().reset();
    std::promise<void> held;
    std::thread holder([&] {
        auto x = db::Database::open(path, true);
        held.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    held.get_future().wait();
    QElapsedTimer waited;
    waited.start();
    std::unique_ptr<db::Database> d;
    EXPECT_NO_THROW(d = db::Database::open(path));
    holder.join();
    EXPECT_GE(waited.elapsed(), 200);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->openRecordset(QStringLiteral("SELECT count(*) FROM Employee")).field(0).toInt(), 0);
}
