#pragma once
// Week archives: one work week of attendance and absence rows moved out of
// the company database into a file of its own, "Archive/MMDDYYYY.mdb" in
// the program folder, and brought back from there. No widgets here.
//
// Moving rows between two files never loses one: the archive is written to
// a side file, read back and compared before any row leaves the company
// database; the company side changes in one transaction that records the
// move, and its commit decides whether the file side is finished or undone
// (ArchiveMoves.h), at once or, when the process ended half way, when
// either program next opens the company file. A failure leaves both sides
// as they were.

#include "core/archivefiles/ArchiveFiles.h"
#include "core/archivefiles/ArchiveMoves.h"
#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace plax::archive {

// The week of a week-list entry "first --> last" (short date format).
struct ArchiveWeek {
    CalDate first;
    CalDate last;
    int week = 0; // WeekNumber of first + 1 day
};

// nullopt when the entry's dates do not read as dates.
std::optional<ArchiveWeek> weekOfEntry(const QString& entry, const CompanySettings& s);

// The archive file's own tables: the two live tables' columns in their
// order (no keys, no rules) and the one-row Info table. An archive carries
// the company schema's version (PRAGMA user_version) its weeks were
// numbered under; one without it is of the older layout.
QString archiveSchema();

struct ArchiveCounts {
    int attendance = 0;
    int absences = 0;
    int hoursWorked = 0; // [Hours Worked] rows removed
};

// Writes the week into a new archive at `path` and removes the week's
// [Time Attendance] and [Hours Worked] rows (dates first to last, the
// week's number) and the absences of its seven dates from `company`. When
// the week has an archive at `path` already, its rows are added to the
// week's (as a restore would bring them back; a row also in the company
// database is kept once) and the new file, holding all of them, takes its
// place once complete. Raises a DbError on any failure, with nothing
// changed on either side.
ArchiveCounts archiveWeek(db::Database& company, const CompanySettings& s, const QString& path,
                          const ArchiveWeek& w);

// How a restore treats the rows, chosen from the archive's Info row.
enum class RestoreWay { A, B, C, D };

struct RestoreResult {
    RestoreWay way = RestoreWay::D;
    bool noInfo = false;
    int attendance = 0; // rows written
    int absences = 0;
};

// Brings the archive at `path` back into `company` and deletes the file.
// Rows that clash with a live row under a unique index are skipped (the
// live row stays). Rows of an archive of the older layout whose week
// version 1 numbered wrongly come back with the week the company file's
// upgrade gives them (schema::upgradedWeek), marked with the rest of that
// week. Raises a DbError on any failure, with the company database and the
// archive file as they were.
RestoreResult restoreWeek(db::Database& company, const CompanySettings& s, const QString& path,
                          const ArchiveWeek& w);

} // namespace plax::archive
