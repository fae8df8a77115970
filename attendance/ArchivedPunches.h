#pragma once
// The punches the week archives hold, for the punch import: a clock hands
// over every punch since it was last cleared, so a punch of an archived
// week comes again with each download and is recorded already, in its
// archive.

#include "core/archivefiles/ArchiveFiles.h"
#include "core/types/CompanySettings.h"

#include <QSet>
#include <QString>
#include <vector>

namespace plax {

class ArchivedPunches {
  public:
    // The archives of `folder` as the restore lists them (none when there
    // is no folder, or `folder` is empty).
    ArchivedPunches(const QString& folder, const CompanySettings& s);

    // True when an archive whose dates (to the day after the last, where a
    // shift may end) hold d has a shift of employee `id` (letter case
    // ignored, as the company file's IDs) clocked in or out at d, t. An
    // archive file is read the first time a punch of its dates is asked
    // about. Raises a DbError when it cannot be read.
    bool holds(const QString& id, CalDate d, TimeOfDay t);

  private:
    struct Archive {
        archive::ListedArchive file;
        bool read = false;
        QSet<QString> punches;
    };
    void read(Archive& a);

    std::vector<Archive> archives_;
};

} // namespace plax
