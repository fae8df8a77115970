#pragma once
// Reading Windows bitmap files (BMP/DIB) into a packed DIB (info header,
// colour table, bits) and the sums around it: displayed size, palette
// entries, where the bits start, and where a picture named in a help topic
// lies on disk. Plain C++ with no Windows headers, so that it builds and is
// tested on any platform; the help-viewer extension uses it as it is.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace pix {

// Results of loading and drawing; the extension shows string 100 + code.
enum DibError : int {
    kOk = 0,
    kInitFailed = 1,
    kCannotOpen = 2,
    kCannotOpenBaggage = 3,
    kInvalidBitmap = 4,
    kNoMemory = 5,
    kCannotDisplay = 6,
};

// The 40-byte info header, laid out as it is stored in files and memory.
struct InfoHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};
static_assert(sizeof(InfoHeader) == 40, "info header must match the stored layout");

constexpr std::uint16_t kBitmapType = 0x4D42; // "BM"
constexpr std::uint32_t kMaxColours = 256;
// Pictures larger than this are refused as too big for memory.
constexpr std::uint64_t kMaxDibBytes = 256u * 1024u * 1024u;

// Where the bytes come from: a file on disk or a file inside a help file.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Returns the number of bytes read.
    virtual long read(void* buffer, long count) = 0;
    virtual bool seekRelative(long offset) = 0;
    virtual bool seekAbsolute(long offset) = 0;
};

// A file on disk, opened read-only without text translation.
class FileSource : public ByteSource {
public:
    // nullptr when the file cannot be opened.
    static std::unique_ptr<FileSource> open(const std::string& path);
    ~FileSource() override;
    long read(void* buffer, long count) override;
    bool seekRelative(long offset) override;
    bool seekAbsolute(long offset) override;

private:
    explicit FileSource(std::FILE* f) : f_(f) {}
    std::FILE* f_;
};

// Bytes already in memory (a picture handed over whole).
class MemorySource : public ByteSource {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(long(size)) {}
    long read(void* buffer, long count) override;
    bool seekRelative(long offset) override { return seekAbsolute(pos_ + offset); }
    bool seekAbsolute(long offset) override;

private:
    const std::uint8_t* data_;
    long size_;
    long pos_ = 0;
};

// Reads a bitmap file from its start into `packed`: the info header (with
// biClrUsed and, when it was 0, biSizeImage filled in), the colour table of
// biClrUsed entries and the bits. Returns kOk, kInvalidBitmap or kNoMemory
// (bits beyond `maxBytes`); `packed` is empty after a failure.
int readDib(ByteSource& source, std::vector<std::uint8_t>& packed, std::uint64_t maxBytes = kMaxDibBytes);

InfoHeader headerOf(const std::uint8_t* packed, std::size_t size);
inline InfoHeader headerOf(const std::vector<std::uint8_t>& packed) { return headerOf(packed.data(), packed.size()); }
// Offset of the bits in a packed DIB: behind the header and the colour
// table (for every bit depth: the table read is the table stored).
std::size_t bitsOffset(const std::uint8_t* packed, std::size_t size);
inline std::size_t bitsOffset(const std::vector<std::uint8_t>& packed) {
    return bitsOffset(packed.data(), packed.size());
}

struct Size {
    int cx = 0;
    int cy = 0;
};
// The size the picture is shown at on a screen of the given resolution:
// its own resolution when it has one, else 96 pixels per inch.
Size displaySize(const InfoHeader& h, int logPixelsX, int logPixelsY);

struct PaletteEntry {
    std::uint8_t red, green, blue, flags;
};
// The entries of the picture's logical palette: its colour table, or for a
// 24-bit picture without one a fixed 256-colour cube; empty for none (and
// for any header other than the 40-byte one).
std::vector<PaletteEntry> paletteEntries(const std::uint8_t* packed, std::size_t size);
inline std::vector<PaletteEntry> paletteEntries(const std::vector<std::uint8_t>& packed) {
    return paletteEntries(packed.data(), packed.size());
}

// A name from a help topic is absolute when it starts with "\" or "/" or
// has ":" as its second character; otherwise it lies in the help file's
// folder.
bool isAbsoluteName(const std::string& name);
std::string resolveDiskName(const std::string& name, const std::string& helpFilePath);

} // namespace pix
