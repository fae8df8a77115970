#pragma once
// What the fuzz targets share: the input as text, and a scratch file for
// readers that take a path.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace plax::fuzz {

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// As text files are read: UTF-8, invalid bytes replaced.
inline QString textOf(const std::uint8_t* data, std::size_t size) { return QString::fromUtf8(bytesOf(data, size)); }

// A file in a folder of this process's own, written anew for each input
// (in memory when the system offers a memory file system: thousands of
// files a second should not wait for a disk).
inline QString scratchFile(const QString& name) {
    struct Folder {
        Folder() {
            const QString base =
                QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
            path = base + QStringLiteral("/plax-fuzz-%1").arg(qint64(::getpid()));
            QDir().mkpath(path);
        }
        ~Folder() { QDir(path).removeRecursively(); }
        QString path;
    };
    static const Folder folder;
    return folder.path + QLatin1Char('/') + name;
}

inline bool writeFile(const QString& path, const std::uint8_t* data, std::size_t size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

// Stops the run when a property that must hold does not: libFuzzer keeps the
// input as a crash.
#define PLAX_FUZZ_CHECK(cond)                                                                                          \
    do {                                                                                                               \
        if (!(cond))                                                                                                   \
            __builtin_trap();                                                                                          \
    } while (0)

} // namespace plax::fuzz
