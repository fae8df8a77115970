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

// Parsing of dates typed by users or read from files, in one place.
// Accepts "mm/dd/yy", "mm/dd/yyyy", "m/d/yy", ISO "yyyy-mm-dd" and the
// program's short date format. Two-digit years fall in the 100-year window
// ending 20 years after `currentYear`.
std::optional<CalDate> parseDate(const QString& text, int currentYear);
// Same, with the current year taken from the program clock.
std::optional<CalDate> parseDate(const QString& text);
// The four-digit year for a two-digit year under the sliding window.
int expandTwoDigitYear(int yy, int currentYear);

// The program's short date format: the system locale's, with a four-digit year.
QString shortDateFormat();

} // namespace plax
