#include "SerialSettings.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace plax::serial {

bool isSupportedBaudRate(int baud) {
    static constexpr std::array<int, 16> rates{110,   300,   600,   1200,  2400,  4800,   9600,   14400,
                                               19200, 28800, 38400, 56000, 57600, 115200, 128000, 256000};
    return std::find(rates.begin(), rates.end(), baud) != rates.end();
}

std::optional<LineSettings> parseSettings(const QString& text) {
    const QStringList f = text.split(QLatin1Char(','));
    if (f.size() != 4)
        return std::nullopt;
    LineSettings s;

    bool ok = false;
    s.baudRate = f[0].trimmed().toInt(&ok);
    if (!ok || !isSupportedBaudRate(s.baudRate))
        return std::nullopt;

    const QString p = f[1].trimmed().toLower();
    if (p == QLatin1String("n"))
        s.parity = Parity::None;
    else if (p == QLatin1String("e"))
        s.parity = Parity::Even;
    else if (p == QLatin1String("o"))
        s.parity = Parity::Odd;
    else if (p == QLatin1String("m"))
        s.parity = Parity::Mark;
    else if (p == QLatin1String("s"))
        s.parity = Parity::Space;
    else
        return std::nullopt;

    s.dataBits = f[2].trimmed().toInt(&ok);
    if (!ok || s.dataBits < 5 || s.dataBits > 8)
        return std::nullopt;

    const QString stop = f[3].trimmed();
    if (stop == QLatin1String("1"))
        s.stopBits = StopBits::One;
    else if (stop == QLatin1String("1.5"))
        s.stopBits = StopBits::OneAndHalf;
    else if (stop == QLatin1String("2"))
        s.stopBits = StopBits::Two;
    else
        return std::nullopt;
    return s;
}

QString formatSettings(const LineSettings& s) {
    static const char* parity[] = {"n", "e", "o", "m", "s"};
    static const char* stop[] = {"1", "1.5", "2"};
    return QStringLiteral("%1,%2,%3,%4")
        .arg(s.baudRate)
        .arg(QLatin1String(parity[int(s.parity)]))
        .arg(s.dataBits)
        .arg(QLatin1String(stop[int(s.stopBits)]));
}

} // namespace plax::serial
