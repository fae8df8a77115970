#include "ArchiveMoves.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace plax::archive {
namespace {

using db::DbError;
namespace err = db::err;

const QString kMovesTable = QStringLiteral("[Archive Moves]");
const QString kMarker = QStringLiteral(".moving");
// The names of archives, as the restore lists them.
const QString kArchives = QStringLiteral("????????.mdb");

std::function<void(MoveStep)>& stepHook() {
    static std::function<void(MoveStep)> hook;
    return hook;
}

DbError cannotUse(const QString& path) {
    return DbError(err::InUse, QStringLiteral("Could not use '%1'; file already in use.").arg(path));
}

// A rename or a new file is on the disk only once its folder is.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd); // some network file systems cannot: nothing better to do
    ::close(fd);
}

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

// `from` takes the place of `to` in one step (the old `to` is never missing).
void renameOver(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0 &&
        QFile::exists(from))
        throw cannotUse(from);
}

void removeFile(const QString& path) {
    if (!QFile::remove(path) && QFile::exists(path))
        throw cannotUse(path);
}

// The file side of a recorded move. Done already (by the program that made
// the move, or by another settling it) is done.
void applyMove(const QString& path, Move move) {
    if (move == Move::Archive) {
        if (QFile::exists(newArchiveOf(path)))
            renameOver(newArchiveOf(path), path);
    } else if (QFile::exists(path)) {
        removeFile(path);
    }
    syncFolder(folderOf(path));
}

std::optional<Move> recordedMove(db::Database& company, const QString& token) {
    if (token.isEmpty() || !company.tableExists(QStringLiteral("Archive Moves")))
        return std::nullopt;
    db::Recordset rs = company.openRecordset(
        QStringLiteral("SELECT Move FROM %1 WHERE Token = ?").arg(kMovesTable), {token});
    if (rs.eof())
        return std::nullopt;
    return rs.field(0).toString() == QLatin1String("restore") ? Move::Restore : Move::Archive;
}

void forgetMove(db::Database& company, const QString& token) {
    db::Database::Transaction tx(company);
    company.executeStrict(QStringLiteral("DELETE FROM %1 WHERE Token = ?").arg(kMovesTable), {token});
    tx.commit();
}

QString tokenOf(const QString& marker) {
    QFile f(marker);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
}

} // namespace

void setMoveStepHook(std::function<void(MoveStep)> hook) {
    stepHook() = std::move(hook);
}

void moveStep(MoveStep step) {
    if (stepHook())
        stepHook()(step);
}

QString newArchiveOf(const QString& path) {
    return path + QStringLiteral(".new");
}

PendingMove::PendingMove(db::Database& company, const QString& path, Move move)
    : company_(company), path_(path), move_(move),
      token_(QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    const QString marker = path_ + kMarker;
    QFile f(marker);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(token_.toUtf8()) != token_.size() ||
        !f.flush() || ::fsync(f.handle()) != 0) {
        f.close();
        QFile::remove(marker);
        throw cannotUse(marker);
    }
    f.close();
    // The marker (and a new archive written before it) are on the disk
    // before the commit can count on them.
    syncFolder(folderOf(path_));
    try {
        company_.executeScript(
            QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (Token TEXT NOT NULL PRIMARY KEY, "
                           "File TEXT NOT NULL, Move TEXT NOT NULL)")
                .arg(kMovesTable));
        company_.executeStrict(
            QStringLiteral("INSERT INTO %1 (Token, File, Move) VALUES (?, ?, ?)").arg(kMovesTable),
            {token_, QFileInfo(path_).fileName(),
             move_ == Move::Restore ? QStringLiteral("restore") : QStringLiteral("archive")});
    } catch (...) {
        QFile::remove(marker);
        throw;
    }
    moveStep(MoveStep::Recorded);
}

void PendingMove::finish() noexcept {
    try {
        moveStep(MoveStep::Committed);
        applyMove(path_, move_);
        moveStep(MoveStep::FileMoved);
        forgetMove(company_, token_);
        moveStep(MoveStep::Forgotten);
        QFile::remove(path_ + kMarker);
    } catch (...) {
        // Recorded and committed: the next settleArchiveMoves finishes it.
    }
}

void PendingMove::abandon() noexcept {
    QFile::remove(path_ + kMarker);
}

void settleArchiveMoves(db::Database& company, const QString& folder) {
    const QDir dir(folder);
    const QStringList leftovers{kArchives + kMarker, kArchives + QStringLiteral(".new"),
                                kArchives + QStringLiteral(".old"), kArchives + QStringLiteral(".restoring")};
    if (folder.isEmpty() || !dir.exists() || dir.entryList(leftovers, QDir::Files).isEmpty())
        return; // every start but one after a cut: only the folder is read

    QStringList settled;
    {
        db::Database::Transaction tx(company);
        for (const QString& name : dir.entryList({kArchives + kMarker}, QDir::Files)) {
            const QString marker = dir.filePath(name);
            const QString token = tokenOf(marker);
            if (const std::optional<Move> move = recordedMove(company, token)) {
                applyMove(marker.chopped(kMarker.size()), *move);
                forgetMove(company, token);
            }
            settled << marker;
        }
        // A new archive whose move was not recorded never counted.
        for (const QString& name : dir.entryList({kArchives + QStringLiteral(".new")}, QDir::Files))
            removeFile(dir.filePath(name));
        // An earlier version set an archive aside before its commit: back
        // in its place, unless a newer archive (which holds its rows) is
        // there already.
        for (const QString& suffix : {QStringLiteral(".old"), QStringLiteral(".restoring")}) {
            for (const QString& name : dir.entryList({kArchives + suffix}, QDir::Files)) {
                const QString aside = dir.filePath(name);
                const QString path = aside.chopped(suffix.size());
                if (!QFile::exists(path))
                    renameOver(aside, path);
                else if (suffix == QLatin1String(".old"))
                    removeFile(aside);
            }
        }
        tx.commit();
    }
    for (const QString& marker : settled)
        QFile::remove(marker);
    syncFolder(folder);
}

bool settleArchiveMovesQuietly(db::Database* company, const QString& folder) noexcept {
    if (!company || !company->isOpen())
        return false;
    try {
        settleArchiveMoves(*company, folder);
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace plax::archive
