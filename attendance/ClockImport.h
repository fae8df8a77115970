#pragma once
// The import of the converted punch file "Clock.txt" into [Time Attendance]:
// every punch is paired into shifts by the one pairing routine
// (core/pairing, import options), in order of employee ID, date and time.
//
// The file is read as a stream into a compact list (a few bytes a punch,
// each ID kept once) and sorted; each employee's punches then go to the
// pairing routine in batches, which reads the rows they can meet once,
// pairs in memory and writes what changed (PunchRecorder::recordBatch).
// Work is committed in short transactions (a clock terminal writing the
// same file waits a fraction of a second at most). When a failure stops
// the run, the punches recorded before it stay recorded and a second
// import of the same file skips them as duplicates.

#include "attendance/HoursEngine.h"
#include "core/pairing/PunchPairing.h"
#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace plax {

// One line of Clock.txt. The ID is text as read (leading zeros intact);
// an empty or unreadable time leaves `time` empty and the punch is skipped.
struct ClockPunch {
    QString id;
    CalDate date;
    std::optional<TimeOfDay> time;
};

// Reads Clock.txt: "ID,mm/dd/yy,hh:mm" per line, the last two fields being
// the date and the time, in the encoding found as for a downloaded file
// (ClockFile.h). Empty lines and lines longer than LineReader::kMaxLineChars
// are skipped. Raises db::DbError when the file is
// missing (FileNotFound) or unreadable (NoPermission), or a date is not a
// date (TypeMismatch).
std::vector<ClockPunch> readClockFile(const QString& path);

struct ImportCounts {
    int punches = 0;    // lines read
    int skipped = 0;    // no time
    int newShifts = 0, closed = 0, turned = 0;
    int duplicates = 0; // duplicates and same-minute punches
    int unknown = 0;    // IDs not in table Employee

    // Counts one recorded punch by its outcome.
    void add(pairing::PunchOutcome outcome);
    // Punches recorded, or found recorded already.
    int taken() const { return newShifts + closed + turned + duplicates; }
};

// Called before the first transaction and between transactions with the
// punches done so far and the total.
using ImportProgress = std::function<void(int done, int total)>;

// An employee's punches go to the pairing routine in batches of at most
// this many, so one batch never holds the file long.
constexpr int kImportBatchPunches = 1000;

// Reads Clock.txt at `path` and pairs its punches, sorted by ID (letter case
// ignored), date and time. A punch that an archive of `archiveFolder` holds
// (ArchivedPunches) counts as a duplicate and is not recorded again.
// Raises on failure after committing what was recorded; `counts` holds
// what was done up to then. The file is left as it is.
void importClockFile(db::Database& db, const CompanySettings& settings, const QString& path, ImportCounts& counts,
                     const ImportProgress& progress = {}, int batchPunches = kImportBatchPunches,
                     const QString& archiveFolder = QString());

// The import command's second half: reads dataPath + "Clock.txt", pairs its
// punches, deletes the file, runs the hours engine and shows "Clock data was
// imported successfully!". On a failure shows "Clock data was NOT imported
// successfully!" in the error box and leaves the file in place. A file from
// which nothing could be imported (no punch, or no punch of an employee)
// says why and that nothing was imported, and stays as well. Shows the
// wait cursor. `progress` hears of the punches, `hoursProgress` of the hours
// engine. Punches the week archives of `archiveFolder` hold are duplicates.
bool ImportClockData(db::Database& db, const CompanySettings& settings, const QString& dataPath,
                     const ImportProgress& progress = {}, const HoursProgress& hoursProgress = {},
                     const QString& archiveFolder = QString());
// The same on the program's database, settings, data and archive folders.
bool ImportClockData();

} // namespace plax
