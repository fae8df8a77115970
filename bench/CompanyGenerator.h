#pragma once
// Company files for the benchmarks: a company of any size with years of
// punches, worked hours, absences and holidays, written through the real
// schema. Every employee works Monday to Friday, one shift a day; an
// employee is absent (paid, no punch) on about one work day in a hundred.

#include "core/types/CompanySettings.h"
#include "core/types/Dates.h"

#include <QString>

namespace plax::bench {

struct CompanyPlan {
    int employees = 400;
    CalDate first, last; // the days that hold attendance
    // Only these days hold attendance and absences (the whole company, its
    // departments and the year's holidays stay): the "one week" file.
    CalDate keepFrom, keepTo;
    bool keepOnly = false;
};

// The ID of the n-th employee (from 0).
QString employeeId(int n);

// Writes a new company file at `path` (replacing one that is there).
// Returns the number of [Time Attendance] rows written.
long long generateCompany(const QString& path, const CompanyPlan& plan, const CompanySettings& settings);

// The file at `path`, generated in a child process when it is not there
// yet, so the generation's memory never counts in this process's figures.
void ensureCompany(const QString& path, const CompanyPlan& plan, const CompanySettings& settings);

} // namespace plax::bench
