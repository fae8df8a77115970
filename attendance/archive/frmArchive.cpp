#include "frmArchive.h"

#include "ArchiveCommands.h"
#include "WeekArchive.h"
#include "attendance/WeekList.h"
#include "core/common/Globals.h"

#include <QPushButton>

namespace plax::archive {

frmArchive::frmArchive(QWidget* parent)
    : WeekPickForm(parent, QStringLiteral("frmArchive"), QStringLiteral("Archive"),
                   QStringLiteral("Select the week to archive:"), QStringLiteral("Archive"),
                   QStringLiteral("cmdArchive")) {
    connect(actionButton(), &QPushButton::clicked, this, &frmArchive::cmdArchive_Click);
    // A week whose move was cut off is listed where the move left it.
    settleArchiveMovesQuietly(CompanyDb.get(), archiveFolder(AppPath));
    LoadWeekList(lstWeek_);
}

void frmArchive::cmdArchive_Click() {
    actOnSelected(
        [](const QString& entry) { return ArchiveSelectedWeek(CompanyDb.get(), Company, AppPath, entry); });
}

} // namespace plax::archive
