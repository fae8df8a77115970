#pragma once
// A small demonstration company: departments, schedules (a day and an
// overnight shift), messages, a holiday, absences, a dozen employees
// (active and inactive) and two work weeks of punches ending before `today`.
// Used by ./run and by tests that want a populated database.

#include "core/types/Dates.h"
#include "platform/db/Database.h"

namespace plax::schema {

struct DemoOptions {
    CalDate today;
    int workDay = 2;          // weeks start on Monday
    bool flagForRecalc = true; // leave the punch rows marked for the hours engine
};

void fillDemoData(db::Database& db, const DemoOptions& options);

} // namespace plax::schema
