#include "FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <array>
#include <sys/vfs.h>

namespace plax::db {
namespace {

std::optional<std::int64_t> g_override;

// Values of statfs f_type (linux/magic.h and the file systems' own sources).
constexpr std::array<std::int64_t, 14> kNetworkTypes = {
    0x6969,     // NFS
    0x517B,     // SMB (smbfs)
    0xFF534D42, // CIFS
    0xFE534D42, // SMB2/3
    0x65735546, // FUSE: sshfs, rclone, glusterfs, ...
    0x564C,     // NCP (NetWare)
    0x73757245, // Coda
    0x5346414F, // AFS
    0x6B414653, // kAFS
    0x00C36400, // Ceph
    0x01021997, // 9P (folders shared into virtual machines)
    0x0BD00BD0, // Lustre
    0x20030528, // OrangeFS
    0x786F4256, // VirtualBox shared folders
};

} // namespace

std::int64_t fileSystemTypeOf(const QString& path) {
    if (g_override)
        return *g_override;
    struct statfs st {};
    QFileInfo fi(path);
    const QString target = fi.exists() ? path : fi.absolutePath();
    if (statfs(QFile::encodeName(target).constData(), &st) != 0)
        return 0;
    // f_type is a signed word on some systems: keep its 32 bits.
    return std::int64_t(std::uint32_t(st.f_type));
}

bool isNetworkFileSystem(std::int64_t fsType) {
    for (const std::int64_t t : kNetworkTypes)
        if (t == fsType)
            return true;
    return false;
}

JournalMode journalModeFor(std::int64_t fsType) {
    return isNetworkFileSystem(fsType) ? JournalMode::Rollback : JournalMode::Wal;
}

void overrideFileSystemType(std::optional<std::int64_t> fsType) { g_override = fsType; }

} // namespace plax::db
