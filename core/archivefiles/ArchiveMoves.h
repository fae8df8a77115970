#pragma once
// Moving a work week between the company file and its archive file so that
// a process ended at any moment (kill -9, a power cut) leaves a state the
// next start settles: every row of the week ends up in exactly one place.
//
// A move (archiving a week, or restoring one) changes the company file in
// one transaction and the archive folder by file operations. Before that
// transaction commits, the folder holds all the move needs: for an archive
// the new archive, complete, beside the old one ("MMDDYYYY.mdb.new"); for
// both a marker, "MMDDYYYY.mdb.moving", holding the move's token. The
// transaction records the token in the table [Archive Moves], so its commit
// decides which side is true:
//  - recorded: the move happened; its file side is finished (the new
//    archive replaces the old one in one rename, or the restored archive is
//    deleted), then the record and the marker go;
//  - not recorded: the move never happened; the new archive and the marker
//    are deleted, and the company file and the archive are as they were.
// Only the folder holding the marker acts on a record: a program started
// from another program folder (another PC sharing the company file) leaves
// it alone.
//
// Threading: user-interface thread only.

#include "platform/db/Database.h"

#include <QString>
#include <functional>

namespace plax::archive {

enum class Move { Archive, Restore };

// The points of a move at which a test ends the process, in order.
enum class MoveStep {
    FileWritten, // the new archive is complete; nothing else changed
    Recorded,    // the marker is written and the move recorded, not committed
    Committed,   // the company file committed
    FileMoved,   // the archive replaced or deleted
    Forgotten,   // the record is gone; the marker is still there
};
void setMoveStepHook(std::function<void(MoveStep)> hook);
void moveStep(MoveStep step);

// Where a new archive of `path` is written before it takes its place.
QString newArchiveOf(const QString& path);

// One move of the archive at `path`, from its record to its end.
class PendingMove {
  public:
    // Inside the company transaction that moves the week's rows, once the
    // new archive is complete (for an archive): writes the marker beside
    // `path` and records the move in that transaction. Raises when either
    // fails, with the marker removed.
    PendingMove(db::Database& company, const QString& path, Move move);
    PendingMove(const PendingMove&) = delete;
    PendingMove& operator=(const PendingMove&) = delete;

    // After the transaction committed: finishes the file side and forgets
    // the move. What fails here is left to settleArchiveMoves, the commit
    // having decided.
    void finish() noexcept;
    // After the transaction was rolled back: removes the marker.
    void abandon() noexcept;

  private:
    db::Database& company_;
    QString path_;
    Move move_;
    QString token_;
};

// Finishes every move of `folder` that was recorded and undoes every other
// one, under the company file's write lock (so no move of another program
// is half way meanwhile). Also resolves what an earlier version left: an
// archive set aside as ".old" or ".restoring" goes back in its place unless
// a newer file holds it. Returns at once when the folder holds no such
// file (or is no folder: an empty name). Raises a DbError when the company file stays locked or a file
// cannot be moved; what was settled by then stays settled.
void settleArchiveMoves(db::Database& company, const QString& folder);
// settleArchiveMoves as both programs run it on opening the company file,
// the archive screens before they list and the punch import before it
// reads the archives: a failure is left for the next time. False when
// nothing could be settled.
bool settleArchiveMovesQuietly(db::Database* company, const QString& folder) noexcept;

} // namespace plax::archive
