#include "frmUnarchive.h"

#include "ArchiveCommands.h"
#include "WeekArchive.h"
#include "core/common/Globals.h"

#include <QListWidget>
#include <QPushButton>

namespace plax::archive {

frmUnarchive::frmUnarchive(QWidget* parent)
    : WeekPickForm(parent, QStringLiteral("frmUnarchive"), QStringLiteral("Unarchive"),
                   QStringLiteral("Select week to unarchive"), QStringLiteral("Undo"),
                   QStringLiteral("cmdUnArchive")) {
    connect(actionButton(), &QPushButton::clicked, this, &frmUnarchive::cmdUnArchive_Click);
    ListArchives();
}

void frmUnarchive::ListArchives() {
    lstWeek_->clear();
    // A week whose move was cut off is listed where the move left it.
    settleArchiveMovesQuietly(CompanyDb.get(), archiveFolder(AppPath));
    lstWeek_->addItems(archiveEntries(AppPath, Company));
}

void frmUnarchive::cmdUnArchive_Click() {
    actOnSelected(
        [](const QString& entry) { return UnarchiveSelectedWeek(CompanyDb.get(), Company, AppPath, entry); });
}

} // namespace plax::archive
