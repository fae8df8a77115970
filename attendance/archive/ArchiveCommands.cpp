#include "ArchiveCommands.h"

#include "WeekArchive.h"
#include "core/common/ErrorBox.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QFile>

namespace plax::archive {

using ui::Buttons;
using ui::Icon;

bool ArchiveSelectedWeek(db::Database* company, const CompanySettings& s, const QString& appPath,
                         const QString& entry) {
    if (entry.isEmpty()) {
        ui::MsgBox(QStringLiteral("Please select the week you want to archive!"), Buttons::OK, Icon::Information);
        return false;
    }
    const auto week = weekOfEntry(entry, s);
    const QString folder = archiveFolder(appPath);
    if (!week) {
        ShowError(QString(), QStringLiteral("Week was NOT archived successfully!"), db::err::TypeMismatch);
        return false;
    }
    const QString path = archivePath(appPath, week->first);
    if (QDir(folder).exists()) {
        // Whether the week has an archive is for a move cut off earlier to
        // say first. OK adds the week's rows to it (see archiveWeek).
        settleArchiveMovesQuietly(company, folder);
        if (QFile::exists(path) &&
            ui::MsgBox(QStringLiteral("Archive exists. Would you like to add this week's rows to it?"),
                       Buttons::OKCancel, Icon::Question) != ui::Answer::OK)
            return false;
    } else if (!QDir().mkpath(folder)) {
        ShowError(QString(), QStringLiteral("Week was NOT archived successfully!"), db::err::NoPermission);
        return false;
    }
    try {
        ui::WaitCursor wait;
        if (!company)
            throw db::DbError(db::err::CannotStart, QStringLiteral("No company database is open."));
        archiveWeek(*company, s, path, *week);
    } catch (const std::exception& e) {
        ShowError(QString(), QStringLiteral("Unable to arhive the week."), errorNumberOf(e));
        return false;
    }
    ui::MsgBox(QStringLiteral("Week was archived successfully."), Buttons::OK, Icon::Information);
    return true;
}

bool UnarchiveSelectedWeek(db::Database* company, const CompanySettings& s, const QString& appPath,
                           const QString& entry) {
    if (entry.isEmpty()) {
        ui::MsgBox(QStringLiteral("No week selected!"), Buttons::OK, Icon::Information);
        return false;
    }
    try {
        ui::WaitCursor wait;
        const auto week = weekOfEntry(entry, s);
        if (!week)
            throw db::DbError(db::err::TypeMismatch, QStringLiteral("Data type mismatch in criteria expression."));
        if (!company)
            throw db::DbError(db::err::CannotStart, QStringLiteral("No company database is open."));
        restoreWeek(*company, s, archivePath(appPath, week->first), *week);
    } catch (const std::exception& e) {
        ShowError(QString(), QStringLiteral("Unarchive operation was NOT successful!"), errorNumberOf(e));
        return false;
    }
    ui::MsgBox(QStringLiteral("Unarchived operation was successful."), Buttons::OK, Icon::Information);
    return true;
}

} // namespace plax::archive
