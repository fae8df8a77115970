#include "Windows1252.h"

#include <array>

namespace plax::text::cp1252 {
namespace {

// Characters of the bytes 0x80 to 0x9F; the rest is the same as Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

} // namespace

int byteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return int(0x80 + i);
    return -1;
}

bool fits(QStringView text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x80 && byteOf(c.unicode()) < 0)
            return false;
    return true;
}

QByteArray encode(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const int b = byteOf(c.unicode());
        out += char(b < 0 ? '?' : b);
    }
    return out;
}

QString decode(QByteArrayView bytes) {
    QString out;
    out.resize(bytes.size());
    QChar* d = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *d++ = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return out;
}

} // namespace plax::text::cp1252
