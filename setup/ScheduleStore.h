#pragma once
// The rows of one work schedule: its description and, per weekday, a start
// and end time or a day off. Reads and writes Schedule and [Schedule Days];
// no widgets here.

#include "core/types/Dates.h"
#include "platform/db/Database.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace plax::setup {

struct ScheduleDay {
    bool worked = false;
    TimeOfDay start;
    TimeOfDay end;
    bool operator==(const ScheduleDay&) const = default;
};

struct ScheduleData {
    QString description;
    std::array<ScheduleDay, 8> days{}; // 1 = Sunday .. 7 = Saturday; [0] unused
};

// The schedule number typed: a whole number, blanks around it ignored; 0
// (out of range) for an empty text or one that is no whole number ("7a",
// "2.5"). Raises std::overflow_error beyond the range of a 16-bit number.
int scheduleNumberValue(const QString& text);
bool scheduleNumberInRange(int n);
// "7" -> "007"; a text that is no schedule number stays as it is.
QString paddedScheduleNumber(const QString& text);
// The weekdays in the order of the work week that starts on `workDay`.
std::vector<int> workWeekDayOrder(int workDay);

QStringList scheduleNumbers(db::Database& db);
// The stored schedule, or nullopt when the number names none.
std::optional<ScheduleData> loadSchedule(db::Database& db, const QString& number);
bool scheduleInUse(db::Database& db, const QString& number);

// A new schedule and its worked days, in one transaction: raises on any
// refusal (a number that exists already included), and nothing is then
// written.
void addSchedule(db::Database& db, const QString& number, const ScheduleData& s);
// Writes what differs from `was` (the description, inserted and deleted day
// rows, and the times of the other days) in one transaction: raises on any
// refusal, and nothing is then written.
void updateSchedule(db::Database& db, const QString& number, const ScheduleData& now,
                    const ScheduleData& was);
// The schedule's days, then the schedule, in one transaction.
void deleteSchedule(db::Database& db, const QString& number);

} // namespace plax::setup
