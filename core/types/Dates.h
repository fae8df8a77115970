#pragma once
// Calendar dates and times of day as small integer value types.
// All arithmetic is integer; nothing here touches floating point.
// Stored in the database as ISO text: "YYYY-MM-DD" and "HH:MM".

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

namespace plax {

// A calendar date held as a day number (days since 1970-01-01, may be negative).
class CalDate {
public:
    constexpr CalDate() = default;
    static constexpr CalDate fromDays(std::int32_t days) {
        CalDate d;
        d.days_ = days;
        return d;
    }
    // Returns nullopt for an impossible date (month 13, 30 February, ...).
    static std::optional<CalDate> fromYmd(int year, int month, int day);
    // Like fromYmd but the caller guarantees the date is valid.
    static CalDate ymd(int year, int month, int day);

    constexpr std::int32_t days() const { return days_; }
    int year() const;
    int month() const;
    int day() const;
    // 1 = Sunday ... 7 = Saturday, the numbering the settings and schedules use.
    int weekday() const;

    constexpr CalDate addDays(std::int32_t n) const { return fromDays(days_ + n); }
    constexpr std::int32_t operator-(CalDate o) const { return days_ - o.days_; }
    constexpr auto operator<=>(const CalDate&) const = default;

    QString toIso() const;                       // "YYYY-MM-DD"
    static std::optional<CalDate> fromIso(const QString& text);
    QString toMdy2() const;                      // "mm/dd/yy"
    QString toMdy4() const;                      // "mm/dd/yyyy"
    QString toShortDate() const;                 // the program's short date format
    // Qt-style format string ("ddd, MMM dd, yyyy").
    QString format(const QString& qtFormat) const;

    static bool isLeap(int year);
    static int daysInMonth(int year, int month);

private:
    std::int32_t days_ = 0;
};

// A time of day at minute resolution, 0 .. 1439.
class TimeOfDay {
public:
    constexpr TimeOfDay() = default;
    static constexpr TimeOfDay fromMinutes(int minutes) {
        TimeOfDay t;
        t.minutes_ = ((minutes % 1440) + 1440) % 1440;
        return t;
    }
    static std::optional<TimeOfDay> fromHm(int hour, int minute);
    constexpr int minutes() const { return minutes_; }
    constexpr int hour() const { return minutes_ / 60; }
    constexpr int minute() const { return minutes_ % 60; }
    constexpr auto operator<=>(const TimeOfDay&) const = default;

    QString toHm() const; // "HH:MM"
    // Accepts "H:MM", "HH:MM", "HH:MM:SS" (seconds dropped) and "h:mm AM/PM".
    static std::optional<TimeOfDay> parse(const QString& text);
    // A time typed into a box that shows "hh:mm AM": "10:00 PM", "1000p",
    // "10 pm", "p" (the shown time in the afternoon), "22:00". a/am or p/pm
    // before or after the digits sets the half of the day; hours 1 to 12
    // without it keep the half of `shown`.
    static std::optional<TimeOfDay> parseTyped(const QString& text, TimeOfDay shown);
    // The same forms typed where times show on the 24-hour clock ("HH:MM"):
    // without a or p the hours are read on that clock (12 is noon), and a
    // or p alone is no time.
    static std::optional<TimeOfDay> parseTyped(const QString& text);
    QString toHmAmPm() const; // "hh:mm AM"

private:
    int minutes_ = 0;
};

// A moment at minute resolution: a date and a time of day.
struct DateTimeMin {
    CalDate date;
    TimeOfDay time;
    constexpr std::int64_t totalMinutes() const {
        return std::int64_t(date.days()) * 1440 + time.minutes();
    }
    static constexpr DateTimeMin fromTotalMinutes(std::int64_t m) {
        std::int64_t d = m >= 0 ? m / 1440 : -((-m + 1439) / 1440);
        return {CalDate::fromDays(std::int32_t(d)), TimeOfDay::fromMinutes(int(m - d * 1440))};
    }
    constexpr auto operator<=>(const DateTimeMin& o) const { return totalMinutes() <=> o.totalMinutes(); }
    constexpr bool operator==(const DateTimeMin& o) const { return totalMinutes() == o.totalMinutes(); }
};

// How the digits of a date such as 07/12/2026 are read.
enum class DateOrder {
    // In the order of the program's short date format, the form every
    // screen shows dates in (day first under a day-first locale); month
    // first when that format names the month ("9 Dec 2026").
    Shown,
    // Month, day, year whatever the locale: the fixed layouts of the clocks'
    // punch files.
    MonthFirst,
};

// Parsing of dates typed by users or read from files, in one place.
// Accepts ISO "yyyy-mm-dd", the program's short date format, and day, month
// and year as digits in `order` ("m/d/yy" and "mm/dd/yyyy" month first).
// Two-digit years fall in the 100-year window ending 20 years after
// `currentYear`. A text that does not read in that order is no date.
std::optional<CalDate> parseDate(const QString& text, int currentYear, DateOrder order = DateOrder::Shown);
// Same, with the current year taken from the program clock.
std::optional<CalDate> parseDate(const QString& text, DateOrder order = DateOrder::Shown);
// The four-digit year for a two-digit year under the sliding window.
int expandTwoDigitYear(int yy, int currentYear);

// The program's short date format: the system locale's, with a four-digit year.
QString shortDateFormat();

} // namespace plax
