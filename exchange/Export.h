#pragma once
// The personnel export (chosen employee fields, all, active or inactive
// employees) and the attendance export (every row of [Time Attendance]),
// both to quoted comma-separated text files. Messages go through the
// program's dialog module; nothing here opens a window of its own.

#include "platform/db/Database.h"

#include <QList>
#include <QString>

namespace plax::exchange {

enum class StatusChoice { All, Active, Inactive };

// Asks for the output file in the main window's file dialog, starting in the
// data folder; a non-empty existing file needs "Overwrite?" answered Yes.
// Returns "" when nothing is to be written.
QString GetExportFileName();

// The statement of the personnel export and its parameters.
QString personnelSelect(const QList<int>& codes, StatusChoice which);

enum class ExportResult { Written, Empty, Cancelled, NoFields, Failed };

// Writes the chosen fields (codes, in file column order) of the chosen
// employees to the file `GetExportFileName` gives; with no field chosen
// says that at least one must be.
ExportResult ExportPersonnel(db::Database& db, const QList<int>& codes, StatusChoice which);
// Writes every attendance row with all its columns.
ExportResult ExportAttendance(db::Database& db);
// The menu command, on the company database.
void ExportAttendance();

} // namespace plax::exchange
