#pragma once
// The program's key in the system registry, kept as a small text file per
// user: $XDG_CONFIG_HOME/Morvu/<app>/<version>/registry.ini (default
// ~/.config), one [section] per subkey and name=value lines below it.
// Both programs read the same file; writes replace it atomically (a
// temporary file renamed over it), so a crash never leaves half a file.
//
// Failures carry the system's registry error codes (RegCode), which
// RegError turns into the numbered messages 900 to 906.
//
// Threading: user-interface thread only.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace plax {

// The application key as the programs pass it: "<app>\<version>".
inline const QString kAppKey = QStringLiteral("ZELTO-PLAX\\3.0");

namespace reg {

// Error codes of the system's registry functions.
namespace code {
constexpr long Success = 0;
constexpr long FileNotFound = 2; // no such value
constexpr long AccessDenied = 5;
constexpr long OutOfMemory = 14;
constexpr long InvalidParameter = 87;
constexpr long BadDb = 1009;     // the file is malformed
constexpr long BadKey = 1010;    // a key (section) name that cannot be stored
constexpr long CantOpen = 1011;
constexpr long CantWrite = 1013;
} // namespace code

// Values are read into a buffer of this many characters.
constexpr int kMaxValueLength = 255;

// The folder and file for an application key ("ZELTO-PLAX\3.0" is split at
// its first backslash into two folder levels below "Morvu").
QString registryFolder(const QString& appKey = kAppKey);
QString registryFile(const QString& appKey = kAppKey);

// One registry file in memory. Every call returns a registry error code.
class RegistryFile {
public:
    explicit RegistryFile(const QString& appKey = kAppKey);

    const QString& path() const { return path_; }

    // Reads the file; a missing file is an empty registry.
    long load();
    // Opens the section, creating it (and the file) when it does not exist.
    // `created` tells which happened.
    long createSection(const QString& section, bool* created);
    bool hasSection(const QString& section) const;
    // The value, or code::FileNotFound when the section has no such name.
    long query(const QString& section, const QString& name, QString* value) const;
    // Sets the value in memory and writes the file.
    long setValue(const QString& section, const QString& name, const QString& value);
    // Writes the whole file atomically.
    long save();

private:
    struct Entry {
        QString name, value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };
    Section* find(const QString& section);
    const Section* find(const QString& section) const;

    QString appKey_;
    QString path_;
    std::vector<Section> sections_;
};

// The text of a registry error, as RegError shows it: its tag and message,
// or nothing for a code without a message.
struct RegMessage {
    QString tag;
    QString message;
};
std::optional<RegMessage> regErrorMessage(long code);

} // namespace reg

// The value `name` of `section` below the application key. On the first
// use of a section the section is created and `defaultValue` written and
// returned; an empty or missing value returns `defaultValue` without
// writing anything.
QString GetWindowsSetting(const QString& section, const QString& name, const QString& defaultValue);
// Writes `value` under `appKey` (normally kAppKey); a failed write shows
// its numbered message and returns false.
bool SaveWindowsSetting(const QString& appKey, const QString& section, const QString& name, const QString& value);
// Shows the numbered message of a registry error code; other codes show
// nothing.
void RegError(long code);

} // namespace plax
