#pragma once
// A generated company with years of attendance, for benchmarks: employees
// in departments, five shifts a week each, every shift closed and already
// through the hours engine (its [Hours Worked] row written, no flag left).
// Written in order of employee and date, in one transaction.

#include "core/types/CompanySettings.h"
#include "core/types/Dates.h"
#include "platform/db/Database.h"

#include <QString>

namespace plax::test {

struct GeneratedCompany {
    int employees = 400;
    int weeks = 520; // ten years
    int shiftsPerWeek = 5;
    CalDate firstMonday = CalDate::ymd(2014, 1, 6);
    int departments = 8;
    bool hoursWorked = true; // also each day's [Hours Worked] row

    // The employee ID of employee i (0-based).
    static QString employeeId(int i) { return QString::number(1000 + i); }
    // The first Monday after the history.
    CalDate endMonday() const { return firstMonday.addDays(7 * weeks); }
    // The shift of employee e, week w, day i: its clock-in and length.
    static TimeOfDay clockIn(int e, int i) { return TimeOfDay::fromMinutes(7 * 60 + (e + i) % 60); }
    static int minutes(int e, int w, int i) { return 8 * 60 + (e * 7 + w * 3 + i * 11) % 150; }
};

// Fills an empty company database; returns the number of attendance rows.
int fillGeneratedCompany(db::Database& db, const CompanySettings& s, const GeneratedCompany& g);

} // namespace plax::test
