#pragma once
// A clock terminal on a fresh company database: the program-wide state
// pointed at a temporary company, the clock set, boxes answered by a
// script, the message hold shortened and the end of the program noted
// instead of leaving the event loop.

#include "clock/Connection.h"
#include "clock/frmClock.h"
#include "core/common/Common.h"
#include "core/common/Globals.h"
#include "core/types/Clock.h"
#include "platform/registry/tests/TempRegistry.h"
#include "platform/ui/Dialogs.h"
#include "testing/ScreenEvents.h"
#include "testing/TempCompany.h"

#include <QDateTime>
#include <QLineEdit>
#include <QTest>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace plax::test {

// Another program holding the company file's write lock: a connection of
// its own, on a thread of its own, in a write transaction (running
// `statement`) from construction (which returns once the lock is held)
// until release(), the time given to releaseIn(), or destruction. An
// exclusive one keeps readers out as well where the file has the rollback
// journal.
class OtherWriter {
public:
    enum Lock { Write, Exclusive };
    explicit OtherWriter(const QString& path,
                         const QString& statement = QStringLiteral(
                             "INSERT INTO Registry (RegKey, RegField, RegValue) VALUES ('x', 'y', 'z')"),
                         Lock kind = Write) {
        thread_ = std::thread([this, path, statement, kind] {
            std::unique_ptr<db::Database> other;
            std::optional<db::Database::Transaction> tx;
            try {
                other = db::Database::open(path);
                if (kind == Exclusive)
                    other->executeScript(QStringLiteral("BEGIN EXCLUSIVE"));
                else
                    tx.emplace(*other);
                other->execute(statement);
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
            }
            std::unique_lock lock(m_);
            holding_ = true;
            cv_.notify_all();
            while (!releaseAt_ || std::chrono::steady_clock::now() < *releaseAt_) {
                if (releaseAt_)
                    cv_.wait_until(lock, *releaseAt_);
                else
                    cv_.wait(lock);
            }
            if (tx)
                tx->commit();
            else if (other)
                other->executeScript(QStringLiteral("COMMIT"));
        });
        std::unique_lock lock(m_);
        cv_.wait(lock, [this] { return holding_; });
    }
    ~OtherWriter() {
        release();
        join();
    }
    void release() { releaseIn(std::chrono::milliseconds(0)); }
    void releaseIn(std::chrono::milliseconds ms) {
        const std::lock_guard lock(m_);
        releaseAt_ = std::chrono::steady_clock::now() + ms;
        cv_.notify_all();
    }
    // Waits until the lock is given up.
    void join() {
        if (thread_.joinable())
            thread_.join();
    }

private:
    std::thread thread_;
    std::mutex m_;
    std::condition_variable cv_;
    bool holding_ = false;
    std::optional<std::chrono::steady_clock::time_point> releaseAt_;
};

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        company = std::make_unique<TempCompany>();
        CompanyDb = std::move(company->handle());
        CompanyDbPath = company->path();
        CompanyDbPassword.clear();
        clk::resetConnectionState();
        clk::frmClock::setMessageHoldMs(0);
        clk::PortReopen() = false;
        resetProgramEnded();
        setEndProgramHandler([](int) {});
        // Monday 8 January 2024, 09:00.
        setNow(2024, 1, 8, 9, 0);
    }
    void TearDown() override {
        window.reset();
        setEndProgramHandler({});
        resetProgramEnded();
        Clock::reset();
        if (CompanyDb)
            CompanyDb->close();
        CompanyDb.reset();
        company.reset();
    }

    db::Database& db() { return clk::terminalDb(); }
    static void setNow(int y, int mo, int d, int h, int mi, int s = 0) {
        Clock::setFixed(QDateTime(QDate(y, mo, d), QTime(h, mi, s)));
    }
    void setting(const char* key, const char* field, const QString& value) {
        const QString k = QLatin1String(key), f = QLatin1String(field);
        db().execute(QStringLiteral("DELETE FROM Registry WHERE RegKey = ? AND RegField = ?"), {k, f});
        db().execute(QStringLiteral("INSERT INTO Registry (RegKey, RegField, RegValue) VALUES (?, ?, ?)"),
                     {k, f, value});
    }
    void employee(const QString& id, const QString& first, const std::optional<QString>& schedule,
                  const std::optional<QString>& msgNo = std::nullopt, bool active = true) {
        db().execute(QStringLiteral("INSERT INTO Employee (ID, FirstName, ScheduleNo, MsgNo, Status) "
                                    "VALUES (?, ?, ?, ?, ?)"),
                     {id, first, db::Value(schedule), db::Value(msgNo), active});
    }
    void message(const QString& no, const QString& text) {
        db().execute(QStringLiteral("INSERT INTO Messages (MessageNo, Message) VALUES (?, ?)"), {no, text});
    }
    void scheduleDay(const QString& no, int day, const QString& start, const QString& end) {
        db().execute(QStringLiteral("INSERT INTO [Schedule Days] (ScheduleNo, TheDay, StartTime, EndTime) "
                                    "VALUES (?, ?, ?, ?)"),
                     {no, day, start, end});
    }
    // The clock window, shown: it loads, the first activation follows and
    // the ID box has the focus.
    clk::frmClock& openWindow() {
        window = std::make_unique<clk::frmClock>();
        window->show();
        waitUntil([this] { return window->activations() > 0 && window->txtID()->hasFocus(); });
        return *window;
    }
    // Another program takes the screen; then the terminal is brought back
    // and its window activated again.
    void activateAgain() {
        const int before = window->activations();
        {
            QWidget other;
            showActive(&other);
            emit qApp->applicationStateChanged(Qt::ApplicationInactive); // as the window system reports it
        }
        emit qApp->applicationStateChanged(Qt::ApplicationActive);
        showActive(window.get());
        test::waitUntil([&] { return window->activations() == before + 1; });
    }
    // Types the ID into the box and presses Enter.
    void punch(const QString& id) {
        window->txtID()->clear();
        QTest::keyClicks(window->txtID(), id);
        QTest::keyClick(window->txtID(), Qt::Key_Return);
    }
    int rowCount(const QString& where = QStringLiteral("1=1"), const db::Params& p = {}) {
        return int(db().openRecordset(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE ") + where, p)
                       .field(0)
                       .toInt());
    }

    TempRegistry registry;
    ui::ScriptedResponder boxes;
    std::unique_ptr<TempCompany> company;
    std::unique_ptr<clk::frmClock> window;
};

} // namespace plax::test
