#pragma once
// Which device a port number stands for. Port n is /dev/ttyS<n-1> unless the
// registry names another device as value "Com<n>" of section "Serial Ports"
// (a USB adapter such as /dev/ttyUSB0, or a pseudo-terminal in tests).

#include <QString>

namespace plax::serial {

inline const QString kPortSection = QStringLiteral("Serial Ports");

QString defaultDeviceForPort(int port);
QString deviceForPort(int port);

} // namespace plax::serial
