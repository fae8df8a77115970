#pragma once
// Builds bitmap files for the tests: any bit depth, an optional colour
// table, a resolution, and pixels set through a callback.

#include <cstdint>
#include <functional>
#include <vector>

namespace pixtest {

struct BmpLayout {
    int width = 4;
    int height = 2;
    int bitCount = 8;
    std::uint32_t colours = 0;     // biClrUsed as stored
    int tableEntries = -1;         // colour table written; -1: as biClrUsed or the bit depth says
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    bool storeImageSize = true;    // false: biSizeImage 0
    bool storeFileSize = true;     // false: bfSize 0
    // Colour table entry i (red, green, blue).
    std::function<std::uint32_t(int)> tableColour = [](int i) { return std::uint32_t(i * 0x010101); };
    // Pixel value at (x, y), y counted from the bottom row: an index, or 0xRRGGBB for 24 bits.
    std::function<std::uint32_t(int, int)> pixel = [](int x, int y) { return std::uint32_t(x + y); };
};

inline void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
inline void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

inline std::vector<std::uint8_t> makeBmp(const BmpLayout& s) {
    int entries = s.tableEntries;
    if (entries < 0)
        entries = s.colours ? int(s.colours) : s.bitCount <= 8 ? 1 << s.bitCount : 0;
    const int rowBytes = (s.bitCount * s.width + 31) / 32 * 4;
    const std::uint32_t imageSize = std::uint32_t(rowBytes * s.height);
    const std::uint32_t offBits = 14 + 40 + std::uint32_t(entries) * 4;

    std::vector<std::uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    put32(b, s.storeFileSize ? offBits + imageSize : 0);
    put32(b, 0);
    put32(b, offBits);
    put32(b, 40);
    put32(b, std::uint32_t(s.width));
    put32(b, std::uint32_t(s.height));
    put16(b, 1);
    put16(b, std::uint32_t(s.bitCount));
    put32(b, 0);
    put32(b, s.storeImageSize ? imageSize : 0);
    put32(b, std::uint32_t(s.xPelsPerMeter));
    put32(b, std::uint32_t(s.yPelsPerMeter));
    put32(b, s.colours);
    put32(b, 0);
    for (int i = 0; i < entries; ++i) {
        const std::uint32_t c = s.tableColour(i);
        b.push_back(std::uint8_t(c));       // blue
        b.push_back(std::uint8_t(c >> 8));  // green
        b.push_back(std::uint8_t(c >> 16)); // red
        b.push_back(0);
    }
    for (int y = 0; y < s.height; ++y) {
        std::vector<std::uint8_t> row(std::size_t(rowBytes), 0);
        for (int x = 0; x < s.width; ++x) {
            const std::uint32_t v = s.pixel(x, y);
            if (s.bitCount == 24) {
                row[std::size_t(x * 3)] = std::uint8_t(v);
                row[std::size_t(x * 3 + 1)] = std::uint8_t(v >> 8);
                row[std::size_t(x * 3 + 2)] = std::uint8_t(v >> 16);
            } else if (s.bitCount == 8) {
                row[std::size_t(x)] = std::uint8_t(v);
            } else if (s.bitCount == 4) {
                row[std::size_t(x / 2)] |= std::uint8_t((v & 15) << (x % 2 ? 0 : 4));
            } else if (s.bitCount == 1) {
                row[std::size_t(x / 8)] |= std::uint8_t((v & 1) << (7 - x % 8));
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

} // namespace pixtest
