#include "testing/TempCompany.h"

#include <QProcess>
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
