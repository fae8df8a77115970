#pragma once
// The Archive and Undo buttons of the archive screens, without the screens:
// they ask and tell through platform/ui, so tests answer them.

#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <QString>

namespace plax::archive {

// frmArchive.cmdArchive_Click for the selected week-list entry (empty: none
// selected) on `company` (nullptr: no database open). True when the week was archived; the screen then removes the
// entry from its list.
bool ArchiveSelectedWeek(db::Database* company, const CompanySettings& s, const QString& appPath,
                         const QString& entry);

// frmUnarchive.cmdUnArchive_Click for the selected entry. True when the week
// is back and its file deleted.
bool UnarchiveSelectedWeek(db::Database* company, const CompanySettings& s, const QString& appPath,
                           const QString& entry);

} // namespace plax::archive
