#include "testing/TempCompany.h"

#include <QElapsedTimer>
#include <QProcess>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

using namespace plax;

// Two connections (as PLAX and the terminal would hold) writing at once:
// with the busy timeout and immediate transactions none sees "locked".
TEST(Concurrency, TwoWritersLoseNothing) {
    test::TempCompany c;
    const QString path = c.path();
    c.handle().reset();
    constexpr int kRows = 400;
    std::atomic<int> failures{0};
    auto writer = [&](const QString& prefix) {
        try {
            auto d = db::Database::open(path);
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
    EXPECT_EQ(failures.load(), 0);
    auto d = db::Database::open(path);
    EXPECT_EQ(d->openRecordset(QStringLiteral("SELECT count(*) FROM [Time Attendance]")).field(0).toInt(), 2 * kRows);
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
