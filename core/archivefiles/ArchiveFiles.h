#pragma once
// Week archive files: "Archive/MMDDYYYY.mdb" in the program folder, one per
// work week, named by the week's first date. Their names and the restore's
// list of them; no widgets here.

#include "core/types/CompanySettings.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace plax::archive {

// AppPath + "Archive" (no trailing separator).
QString archiveFolder(const QString& appPath);
// "MMDDYYYY.mdb" of the week's first date.
QString archiveFileName(CalDate first);
QString archivePath(const QString& appPath, CalDate first);

// One archive of the restore list: the file and the week it stands for,
// from the first date to first + 6 (+ 7 when the day starts later than
// midnight).
struct ListedArchive {
    QString path;
    CalDate first;
    CalDate last;
};

// The "????????.mdb" files of `folder` whose names read as MMDDYYYY, in
// name order (none when there is no folder).
std::vector<ListedArchive> listedArchives(const QString& folder, const CompanySettings& s);

// The entries of the restore list, one per listed archive: the first and
// the last date in the short date format, " --> " between them.
QStringList archiveEntries(const QString& appPath, const CompanySettings& s);

} // namespace plax::archive
