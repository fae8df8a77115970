// The registry file: any file is read (or refused as malformed) without
// fault, and a value set after reading it reads back from the file written.
#include "FuzzSupport.h"
#include "platform/registry/Registry.h"

#include <QFileInfo>
#include <cstdlib>

using namespace plax;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const QString home = QFileInfo(fuzz::scratchFile(QStringLiteral("config"))).absoluteFilePath();
    setenv("XDG_CONFIG_HOME", QFile::encodeName(home).constData(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = reg::registryFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!fuzz::writeFile(path, data, size))
        return 0;
    reg::RegistryFile file;
    if (file.load() != reg::code::Success)
        return 0;
    QString value;
    file.query(QStringLiteral("Company Settings"), QStringLiteral("Database"), &value);
    bool created = false;
    if (file.createSection(QStringLiteral("Fuzz"), &created) != reg::code::Success ||
        file.setValue(QStringLiteral("Fuzz"), QStringLiteral("Name"), QStringLiteral("v=1")) != reg::code::Success)
        return 0;
    reg::RegistryFile again;
    PLAX_FUZZ_CHECK(again.load() == reg::code::Success);
    PLAX_FUZZ_CHECK(again.query(QStringLiteral("Fuzz"), QStringLiteral("Name"), &value) == reg::code::Success);
    PLAX_FUZZ_CHECK(value == QStringLiteral("v=1"));
    return 0;
}
