#pragma once
// The serial line settings text "9600,n,8,1": speed, parity letter
// (e, o, n, m, s), data bits (5 to 8) and stop bits (1, 1.5, 2).

#include <QString>
#include <optional>

namespace plax::serial {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

struct LineSettings {
    int baudRate = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;

    bool operator==(const LineSettings&) const = default;
};

// The speeds a port accepts.
bool isSupportedBaudRate(int baud);

// nullopt for a text that is not four valid fields separated by commas.
// Letters are taken in either case; blanks around a field are ignored.
std::optional<LineSettings> parseSettings(const QString& text);
// The canonical text ("9600,n,8,1").
QString formatSettings(const LineSettings& s);

inline const QString kDefaultSettings = QStringLiteral("9600,n,8,1");
constexpr int kDefaultCommPort = 2;
constexpr int kMaxCommPort = 16;

} // namespace plax::serial
