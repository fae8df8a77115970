#include "Dib.h"

#include <algorithm>
#include <cstring>

namespace pix {
namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void putHeader(std::vector<std::uint8_t>& packed, const InfoHeader& h) { std::memcpy(packed.data(), &h, sizeof h); }

// Header sizes beyond the largest known one are not bitmap files.
constexpr std::uint32_t kMaxHeaderSize = 1024;

// The depths a bitmap file can have (0 belongs to compressed formats that
// are not drawn here).
bool isDefinedBitCount(std::uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

int fail(std::vector<std::uint8_t>& packed, int code) {
    packed.clear();
    packed.shrink_to_fit();
    return code;
}

} // namespace

std::unique_ptr<FileSource> FileSource::open(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    return f ? std::unique_ptr<FileSource>(new FileSource(f)) : nullptr;
}

FileSource::~FileSource() { std::fclose(f_); }

long FileSource::read(void* buffer, long count) {
    return count <= 0 ? 0 : long(std::fread(buffer, 1, std::size_t(count), f_));
}

bool FileSource::seekRelative(long offset) { return std::fseek(f_, offset, SEEK_CUR) == 0; }
bool FileSource::seekAbsolute(long offset) { return std::fseek(f_, offset, SEEK_SET) == 0; }

long MemorySource::read(void* buffer, long count) {
    const long n = std::max(0L, std::min(count, size_ - pos_));
    if (n > 0)
        std::memcpy(buffer, data_ + pos_, std::size_t(n));
    pos_ += n;
    return n;
}

bool MemorySource::seekAbsolute(long offset) {
    if (offset < 0 || offset > size_)
        return false;
    pos_ = offset;
    return true;
}

int readDib(ByteSource& source, std::vector<std::uint8_t>& packed, std::uint64_t maxBytes) {
    maxBytes = std::min(maxBytes, kMaxDibBytes); // the sizes below are 32-bit
    packed.clear();
    std::uint8_t fileHeader[14];
    if (source.read(fileHeader, 14) != 14 || (fileHeader[0] | fileHeader[1] << 8) != kBitmapType)
        return kInvalidBitmap;
    const std::uint32_t bfSize = le32(fileHeader + 2);
    const std::uint32_t bfOffBits = le32(fileHeader + 10);

    std::uint8_t sizeBytes[4];
    if (source.read(sizeBytes, 4) != 4)
        return kInvalidBitmap;
    const std::uint32_t headerSize = le32(sizeBytes);
    if (headerSize < sizeof(InfoHeader) || headerSize > kMaxHeaderSize || !source.seekRelative(-4))
        return kInvalidBitmap;

    packed.assign(headerSize + kMaxColours * 4, 0);
    if (source.read(packed.data(), long(headerSize)) != long(headerSize))
        return fail(packed, kInvalidBitmap);
    InfoHeader h = headerOf(packed);

    std::uint32_t colours = h.biClrUsed;
    if (colours == 0)
        colours = h.biBitCount == 1 ? 2 : h.biBitCount == 4 ? 16 : h.biBitCount == 8 ? 256 : 0;
    // A colour table longer than 256 entries would not fit the palette (nor
    // the memory reserved for it).
    if (colours > kMaxColours)
        return fail(packed, kInvalidBitmap);
    h.biClrUsed = colours;
    const long tableBytes = long(colours * 4);
    if (source.read(packed.data() + headerSize, tableBytes) != tableBytes)
        return fail(packed, kInvalidBitmap);

    // The bits the picture needs at least, whatever the header says, so that
    // drawing never reads beyond them. Every size is checked against the
    // limit before it is multiplied, so no product can wrap.
    if (!isDefinedBitCount(h.biBitCount) || h.biWidth <= 0 || h.biHeight <= 0)
        return fail(packed, kInvalidBitmap);
    const std::uint64_t rowBytes = (std::uint64_t(h.biBitCount) * std::uint64_t(h.biWidth) + 31) / 32 * 4;
    if (rowBytes > maxBytes || std::uint64_t(h.biHeight) > maxBytes / rowBytes || h.biSizeImage > maxBytes)
        return fail(packed, kNoMemory);
    const std::uint64_t needed = rowBytes * std::uint64_t(h.biHeight);
    if (h.biSizeImage == 0)
        h.biSizeImage = std::uint32_t(needed);
    const std::uint32_t available = bfSize - bfOffBits; // unsigned: a bfSize of 0 reads as "all of it"
    const std::uint32_t amount = std::min(h.biSizeImage, available);
    if (amount < 1)
        return fail(packed, kInvalidBitmap);

    const std::size_t bitsAt = headerSize + std::size_t(tableBytes);
    try {
        packed.resize(bitsAt + std::size_t(std::max<std::uint64_t>(h.biSizeImage, needed)), 0);
    } catch (const std::bad_alloc&) {
        return fail(packed, kNoMemory);
    }
    putHeader(packed, h);
    if (bfOffBits > 0x7fffffffu || !source.seekAbsolute(long(bfOffBits)))
        return fail(packed, kInvalidBitmap);
    if (source.read(packed.data() + bitsAt, long(amount)) != long(amount))
        return fail(packed, kInvalidBitmap);
    return kOk;
}

InfoHeader headerOf(const std::uint8_t* packed, std::size_t size) {
    InfoHeader h{};
    if (packed && size >= sizeof h)
        std::memcpy(&h, packed, sizeof h);
    return h;
}

std::size_t bitsOffset(const std::uint8_t* packed, std::size_t size) {
    const InfoHeader h = headerOf(packed, size);
    return h.biSize + std::size_t(h.biClrUsed) * 4;
}

Size displaySize(const InfoHeader& h, int logPixelsX, int logPixelsY) {
    // 64-bit sums cannot wrap for 32-bit inputs; a result beyond an int
    // (a resolution of a few pixels per metre) is held at the largest one.
    const auto side = [](std::int64_t pixels, std::int64_t logPixels, std::int64_t perMetre) {
        const std::int64_t v = perMetre != 0 ? pixels * logPixels / 127 * 5000 / perMetre : pixels * logPixels / 96;
        return int(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return {side(h.biWidth, logPixelsX, h.biXPelsPerMeter), side(h.biHeight, logPixelsY, h.biYPelsPerMeter)};
}

std::vector<PaletteEntry> paletteEntries(const std::uint8_t* packed, std::size_t size) {
    std::vector<PaletteEntry> out;
    const InfoHeader h = headerOf(packed, size);
    if (h.biSize != sizeof(InfoHeader))
        return out;
    if (h.biClrUsed > 0) {
        if (size < h.biSize + std::size_t(std::min(h.biClrUsed, kMaxColours)) * 4)
            return out;
        const std::uint8_t* table = packed + h.biSize;
        for (std::uint32_t i = 0; i < h.biClrUsed && i < kMaxColours; ++i)
            out.push_back({table[i * 4 + 2], table[i * 4 + 1], table[i * 4], 0});
    } else if (h.biBitCount == 24) {
        for (int i = 0; i < 256; ++i)
            out.push_back({std::uint8_t(i % 8 * 32), std::uint8_t(i / 8 % 8 * 32), std::uint8_t(i / 64 * 64), 0});
    }
    return out;
}

bool isAbsoluteName(const std::string& name) {
    return (!name.empty() && (name[0] == '\\' || name[0] == '/')) || (name.size() > 1 && name[1] == ':');
}

std::string resolveDiskName(const std::string& name, const std::string& helpFilePath) {
    if (isAbsoluteName(name))
        return name;
    const std::size_t cut = helpFilePath.find_last_of("\\/");
    return (cut == std::string::npos ? std::string() : helpFilePath.substr(0, cut + 1)) + name;
}

} // namespace pix
