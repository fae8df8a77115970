#include "Registry.h"

#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace plax {
namespace reg {
namespace {

QString configHome() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty())
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

long codeForFileError(QFileDevice::FileError e, long otherwise) {
    return e == QFileDevice::PermissionsError ? code::AccessDenied : otherwise;
}

bool validSectionName(const QString& s) {
    return !s.trimmed().isEmpty() && s.size() <= kMaxValueLength && !s.contains(QLatin1Char('[')) &&
           !s.contains(QLatin1Char(']')) && !s.contains(QLatin1Char('\n')) && !s.contains(QLatin1Char('\r'));
}

bool validName(const QString& n) {
    return !n.trimmed().isEmpty() && n.trimmed() == n && !n.contains(QLatin1Char('=')) &&
           !n.startsWith(QLatin1Char('[')) && !n.startsWith(QLatin1Char(';')) && !n.startsWith(QLatin1Char('#')) &&
           !n.contains(QLatin1Char('\n')) && !n.contains(QLatin1Char('\r'));
}

} // namespace

QString registryFolder(const QString& appKey) {
    // "ZELTO-PLAX\3.0": the text up to the first backslash is one level, the
    // rest the next.
    const int cut = appKey.indexOf(QLatin1Char('\\'));
    const QString app = cut < 0 ? appKey : appKey.left(cut);
    const QString version = cut < 0 ? QString() : appKey.mid(cut + 1);
    QString folder = configHome() + QStringLiteral("/Morvu/") + app;
    if (!version.isEmpty())
        folder += QLatin1Char('/') + version;
    return folder;
}

QString registryFile(const QString& appKey) { return registryFolder(appKey) + QStringLiteral("/registry.ini"); }

RegistryFile::RegistryFile(const QString& appKey) : appKey_(appKey), path_(registryFile(appKey)) {}

long RegistryFile::load() {
    sections_.clear();
    const QFileInfo fi(path_);
    if (!fi.exists())
        return code::Success;
    if (!fi.isFile())
        return code::CantOpen;
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly))
        return codeForFileError(f.error(), code::CantOpen);
    const QString text = QString::fromUtf8(f.readAll());
    if (f.error() != QFileDevice::NoError)
        return codeForFileError(f.error(), code::CantOpen);
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
            continue;
        if (t.startsWith(QLatin1Char('['))) {
            if (!t.endsWith(QLatin1Char(']')))
                return code::BadDb;
            const QString name = t.mid(1, t.size() - 2);
            if (!validSectionName(name))
                return code::BadDb;
            if (!find(name))
                sections_.push_back(Section{name, {}});
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || sections_.empty())
            return code::BadDb;
        const QString name = line.left(eq).trimmed();
        if (name.isEmpty())
            return code::BadDb;
        const QString value = line.mid(eq + 1);
        Section& s = sections_.back();
        bool replaced = false;
        for (Entry& e : s.entries)
            if (e.name.compare(name, Qt::CaseInsensitive) == 0) {
                e.value = value;
                replaced = true;
            }
        if (!replaced)
            s.entries.push_back(Entry{name, value});
    }
    return code::Success;
}

RegistryFile::Section* RegistryFile::find(const QString& section) {
    for (Section& s : sections_)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

const RegistryFile::Section* RegistryFile::find(const QString& section) const {
    return const_cast<RegistryFile*>(this)->find(section);
}

bool RegistryFile::hasSection(const QString& section) const { return find(section) != nullptr; }

long RegistryFile::createSection(const QString& section, bool* created) {
    if (created)
        *created = false;
    if (!validSectionName(section))
        return code::BadKey;
    if (find(section))
        return code::Success;
    sections_.push_back(Section{section, {}});
    if (created)
        *created = true;
    return save();
}

long RegistryFile::query(const QString& section, const QString& name, QString* value) const {
    const Section* s = find(section);
    if (!s)
        return code::CantOpen;
    for (const Entry& e : s->entries)
        if (e.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (value)
                *value = e.value.left(kMaxValueLength);
            return code::Success;
        }
    return code::FileNotFound;
}

long RegistryFile::setValue(const QString& section, const QString& name, const QString& value) {
    if (!validName(name) || value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
        return code::InvalidParameter;
    Section* s = find(section);
    if (!s)
        return code::CantOpen;
    const QString stored = value.left(kMaxValueLength);
    bool replaced = false;
    for (Entry& e : s->entries)
        if (e.name.compare(name, Qt::CaseInsensitive) == 0) {
            e.value = stored;
            replaced = true;
        }
    if (!replaced)
        s->entries.push_back(Entry{name, stored});
    return save();
}

long RegistryFile::save() {
    const QString folder = registryFolder(appKey_);
    if (!QDir().mkpath(folder))
        return QFileInfo(folder).exists() ? code::CantWrite : code::CantOpen;
    QString text;
    for (const Section& s : sections_) {
        text += QLatin1Char('[') + s.name + QStringLiteral("]\n");
        for (const Entry& e : s.entries)
            text += e.name + QLatin1Char('=') + e.value + QLatin1Char('\n');
        text += QLatin1Char('\n');
    }
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly))
        return codeForFileError(f.error(), code::CantWrite);
    const QByteArray bytes = text.toUtf8();
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return codeForFileError(f.error(), code::CantWrite);
    }
    if (!f.commit())
        return codeForFileError(f.error(), code::CantWrite);
    return code::Success;
}

std::optional<RegMessage> regErrorMessage(long c) {
    switch (c) {
    case code::BadDb:
        return RegMessage{QStringLiteral("900"), QStringLiteral("Corrupt Registry Database!")};
    case code::BadKey:
        return RegMessage{QStringLiteral("901"), QStringLiteral("Key name is bad!")};
    case code::CantOpen:
        return RegMessage{QStringLiteral("902"), QStringLiteral("Cannot Open Key.")};
    case code::CantWrite:
        return RegMessage{QStringLiteral("903"), QStringLiteral("Cannot Write Key.")};
    case code::AccessDenied:
        return RegMessage{QStringLiteral("904"), QStringLiteral("Acces to Registry Denied.")};
    case code::OutOfMemory:
        return RegMessage{QStringLiteral("905"), QStringLiteral("Out of memory.")};
    case code::InvalidParameter:
        return RegMessage{QStringLiteral("906"), QStringLiteral("Invalid Parameter")};
    default:
        return std::nullopt;
    }
}

} // namespace reg

void RegError(long code) {
    const auto m = reg::regErrorMessage(code);
    if (!m)
        return;
    // The error box of both programs: no run-time error is pending here, so
    // the number after the tag is 0.
    ui::Beep();
    ui::MsgBox(m->message, ui::Buttons::OK, ui::Icon::Critical, QStringLiteral("Zelto Error#: ") + m->tag + QLatin1Char('0'));
}

QString GetWindowsSetting(const QString& section, const QString& name, const QString& defaultValue) {
    reg::RegistryFile f(kAppKey);
    long rc = f.load();
    if (rc != reg::code::Success) {
        RegError(rc);
        return defaultValue;
    }
    bool created = false;
    rc = f.createSection(section, &created);
    if (rc != reg::code::Success || created) {
        // A new section gets the default; a failure to write it passes
        // silently, the default is returned either way.
        f.setValue(section, name, defaultValue);
        return defaultValue;
    }
    QString value;
    rc = f.query(section, name, &value);
    if (rc != reg::code::Success) {
        RegError(rc);
        return defaultValue;
    }
    return value.isEmpty() ? defaultValue : value;
}

bool SaveWindowsSetting(const QString& appKey, const QString& section, const QString& name, const QString& value) {
    reg::RegistryFile f(appKey);
    long rc = f.load();
    if (rc == reg::code::Success)
        rc = f.createSection(section, nullptr);
    if (rc == reg::code::Success)
        rc = f.setValue(section, name, value);
    if (rc != reg::code::Success) {
        RegError(rc);
        return false;
    }
    return true;
}

} // namespace plax
