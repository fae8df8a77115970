#pragma once
// Where a company file lives decides how it is written. The WAL journal
// keeps its index in memory shared between the processes of one computer;
// on a network file system two computers cannot share that memory, so a
// file there is written with the rollback journal, whose locks the network
// file system carries to every computer.

#include <QString>
#include <cstdint>
#include <optional>

namespace plax::db {

enum class JournalMode { Wal, Rollback };

// The kind of file system (statfs f_type) that holds `path`, or of its
// folder when the file does not exist yet; 0 when it cannot be told.
std::int64_t fileSystemTypeOf(const QString& path);
// NFS, SMB/CIFS, FUSE mounts (sshfs and the like) and the other file
// systems whose files other computers change.
bool isNetworkFileSystem(std::int64_t fsType);
JournalMode journalModeFor(std::int64_t fsType);

// Tests stand a kind of file system in for the real one (nullopt: the real one).
void overrideFileSystemType(std::optional<std::int64_t> fsType);

} // namespace plax::db
