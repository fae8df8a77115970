#include "Connection.h"

#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"

#include <QFile>
#include <optional>
#include <sys/stat.h>

namespace plax::clk {

namespace {
struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
    bool operator==(const FileId&) const = default;
};

std::optional<FileId> fileIdOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileId{st.st_dev, st.st_ino};
}

std::optional<FileId> g_opened;
bool g_doubtful = false;
std::uint64_t g_generation = 0;
} // namespace

db::Database& terminalDb(const std::function<void()>& releaseStatements) {
    const auto now = fileIdOf(CompanyDbPath);
    if (!now)
        throw db::DbError(db::err::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(CompanyDbPath));
    const bool open = CompanyDb && CompanyDb->isOpen();
    if (open && !g_doubtful) {
        if (!g_opened)
            g_opened = now; // the file start-up opened
        if (*g_opened == *now)
            return *CompanyDb;
    }
    // The old connection goes first, so that its journal is settled before
    // the file is opened again.
    if (releaseStatements)
        releaseStatements();
    if (CompanyDb)
        CompanyDb->close();
    CompanyDb = db::Database::open(CompanyDbPath, false, false, QStringLiteral(";pwd=") + CompanyDbPassword);
    g_opened = now;
    g_doubtful = false;
    ++g_generation;
    return *CompanyDb;
}

std::uint64_t connectionGeneration() { return g_generation; }

void connectionFailed(const std::exception& e) {
    if (errorNumberOf(e) != db::err::Locked)
        g_doubtful = true;
}

void resetConnectionState() {
    g_opened.reset();
    g_doubtful = false;
    ++g_generation;
}

} // namespace plax::clk
