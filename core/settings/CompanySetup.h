#pragma once
// What the company settings screen shows, the snapshot of each shown value
// (the control's Tag), and the save: every changed setting is written with
// its checks and its side effects, in a fixed order. No widgets here; the
// screen copies its controls in and out.

#include "Recompute.h"
#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace plax::settings {

// The items of the week start list; item i stands for WorkDay i + 1.
QStringList weekDayNames();

// A database location as it may be stored: without control characters
// (tabs, line breaks) and without blanks at either end.
QString cleanDatabaseLocation(const QString& typed);

// Shown after the company name in the main window's caption.
inline const QString kCaptionSuffix = QStringLiteral(" --- Zelto Time & Attendance Management System ");

struct CompanySetupState {
    QString companyName, companyNameTag;
    QString dataFile, dataFileTag;
    int includeWages = 0; // the check box: 0 or 1
    QString includeWagesTag;
    QString roundTotal, roundTotalTag;
    int workWeekIndex = -1; // -1: no day selected
    QString workWeekTag;
    TimeOfDay dayStart;
    QString dayStartTag;
    QString graceP, gracePTag;

    // The list's text: the selected day's name, or empty.
    QString workWeekText() const;

    bool companyNameChanged() const { return companyName != companyNameTag; }
    bool dataFileChanged() const { return dataFile != dataFileTag; }
    bool includeWagesChanged() const;
    bool roundTotalChanged() const { return roundTotal != roundTotalTag; }
    bool workWeekChanged() const { return workWeekText() != workWeekTag; }
    // The snapshot and the value compared as times of day.
    bool dayStartChanged() const;
    bool gracePChanged() const { return graceP != gracePTag; }
    bool anyChanged() const;
};

// The values shown at load, from the in-memory settings and the database
// path, with their snapshot taken.
CompanySetupState LoadCompanySetup(const CompanySettings& s, const QString& dbPath);
// Every snapshot := the value shown.
void SnapshotSettingTags(CompanySetupState& st);

struct CompanySetupHooks {
    // Sets the main window's caption (the company name changed).
    std::function<void(const QString& caption)> setMainCaption;
    // Stores the database location for the next start; false when it could
    // not be stored (the reason was shown already).
    std::function<bool(const QString& path)> saveDatabaseLocation;
    // Told while a recompute runs.
    RecomputeProgress progress;
};

// Save: company name, database location, include wages, rounding unit (and
// its recompute of shift totals), week start day and day start time (each
// with its recompute of week numbers), grace period. Asks before each
// recompute; a failed write shows the error box and leaves that setting, in
// memory and in the snapshot, as it was.
void SaveCompanySetup(db::Database& db, CompanySettings& s, CompanySetupState& st,
                      const CompanySetupHooks& hooks);

} // namespace plax::settings
