#include "Clock.h"

#include <QElapsedTimer>
#include <optional>

namespace plax {
namespace {
std::optional<QDateTime> g_fixed;
qint64 g_fixedElapsed = 0;

QElapsedTimer& monotonic() {
    static QElapsedTimer t = [] {
        QElapsedTimer e;
        e.start();
        return e;
    }();
    return t;
}
} // namespace

QDateTime Clock::now() { return g_fixed ? *g_fixed : QDateTime::currentDateTime(); }

CalDate Clock::today() {
    const QDate d = now().date();
    return CalDate::ymd(d.year(), d.month(), d.day());
}

DateTimeMin toDateTimeMin(const QDateTime& t) {
    const QDate d = t.date();
    const QTime tm = t.time();
    return {CalDate::ymd(d.year(), d.month(), d.day()), TimeOfDay::fromMinutes(tm.hour() * 60 + tm.minute())};
}

DateTimeMin Clock::nowMinute() { return toDateTimeMin(now()); }

qint64 Clock::elapsedMs() { return g_fixed ? g_fixedElapsed : monotonic().elapsed(); }

void Clock::setFixed(const QDateTime& t) {
    g_fixed = t;
    g_fixedElapsed = 0;
}

void Clock::advanceSecs(qint64 secs) { advanceMs(secs * 1000); }

void Clock::advanceMs(qint64 ms) {
    if (!g_fixed)
        g_fixed = QDateTime::currentDateTime();
    g_fixed = g_fixed->addMSecs(ms);
    g_fixedElapsed += ms;
}

void Clock::reset() { g_fixed.reset(); }
bool Clock::isFixed() { return g_fixed.has_value(); }

} // namespace plax
