#include "PortMap.h"

#include "platform/registry/Registry.h"

namespace plax::serial {

QString defaultDeviceForPort(int port) { return QStringLiteral("/dev/ttyS%1").arg(port - 1); }

QString deviceForPort(int port) {
    // Read only: looking a port up never writes the registry.
    reg::RegistryFile file;
    QString device;
    if (file.load() == reg::code::Success &&
        file.query(kPortSection, QStringLiteral("Com%1").arg(port), &device) == reg::code::Success &&
        !device.trimmed().isEmpty())
        return device.trimmed();
    return defaultDeviceForPort(port);
}

} // namespace plax::serial
