#pragma once
// The company database's tables, kept in company.sql, and the tools that
// build a new company file from them.

#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <memory>

namespace plax::schema {

const char* companySchemaSql();
// 2: the week numbers of punches before the day start follow their work
// date (see upgradeCompanyDb).
constexpr int kSchemaVersion = 2;

// Creates a new company database file holding the empty tables.
std::unique_ptr<db::Database> createCompanyDatabase(const QString& path, const QString& password = QString());
// Adds the permanent tables to an empty, open database.
void createTables(db::Database& db);

// Brings a company file written by an earlier version up to kSchemaVersion,
// in one transaction (a failure leaves it as it was, to be tried again at
// the next open); a file at kSchemaVersion is left alone. `s` are the
// file's company settings. Returns the attendance rows rewritten.
//
// Version 1 gave a punch before the day start the week of its calendar
// date, one less on the date its week was taken to end on: week 0 on the
// Monday (first day of the week) that starts week 1, and the neighbouring
// week with a day start between 00:01 and 00:59. Rows whose stored week is
// exactly what that rule gave, and differs from the week of their work
// date, get the week of their work date; the hours of both weeks are
// marked for the hours engine from the row's date on. No other row changes.
int upgradeCompanyDb(db::Database& db, const CompanySettings& s);

// The week the upgrade gives a row of version 1 stored with week `stored`
// for a clock-in (d, t): the week of its work date when `stored` is what
// version 1 gave and is not that week, else `stored`. A week archive of
// version 1 restores its rows with it.
int upgradedWeek(CalDate d, TimeOfDay t, int stored, const CompanySettings& s);

} // namespace plax::schema
