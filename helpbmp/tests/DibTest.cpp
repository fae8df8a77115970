#include "helpbmp/dib/Dib.h"
#include "BmpWriter.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace pix;
using namespace pixtest;

namespace {

int load(const BmpLayout& layout, std::vector<std::uint8_t>& packed) {
    const auto bytes = makeBmp(layout);
    MemorySource src(bytes.data(), bytes.size());
    return readDib(src, packed);
}

int loadBytes(const std::vector<std::uint8_t>& bytes) {
    MemorySource src(bytes.data(), bytes.size());
    std::vector<std::uint8_t> packed;
    const int rc = readDib(src, packed);
    EXPECT_EQ(rc == kOk, !packed.empty());
    return rc;
}

} // namespace

TEST(Dib, PackedDibHoldsHeaderTableAndBits) {
    BmpLayout s;
    s.width = 5;
    s.height = 3;
    s.bitCount = 8;
    s.colours = 7;
    s.pixel = [](int x, int y) { return std::uint32_t(x + 10 * y); };
    std::vector<std::uint8_t> packed;
    ASSERT_EQ(load(s, packed), kOk);
    const InfoHeader h = headerOf(packed);
    EXPECT_EQ(h.biClrUsed, 7u);
    EXPECT_EQ(bitsOffset(packed), 40u + 7 * 4);
    const std::uint8_t* bits = packed.data() + bitsOffset(packed);
    EXPECT_EQ(bits[0], 0);
    EXPECT_EQ(bits[4], 4);
    EXPECT_EQ(bits[8 + 2], 12); // rows padded to 8 bytes
    EXPECT_GE(packed.size(), bitsOffset(packed) + 8 * 3);
}

TEST(Dib, ColourCountFromBitDepthAndImageSizeComputed) {
    for (auto [bits, count] : {std::pair{1, 2u}, {4, 16u}, {8, 256u}, {24, 0u}}) {
        BmpLayout s;
        s.bitCount = bits;
        s.storeImageSize = false;
        std::vector<std::uint8_t> packed;
        ASSERT_EQ(load(s, packed), kOk) << bits;
        const InfoHeader h = headerOf(packed);
        EXPECT_EQ(h.biClrUsed, count) << bits;
        EXPECT_EQ(h.biSizeImage, std::uint32_t((bits * 4 + 31) / 32 * 4 * 2)) << bits;
    }
    // A zero file size in the header reads the whole image.
    BmpLayout s;
    s.storeFileSize = false;
    std::vector<std::uint8_t> packed;
    EXPECT_EQ(load(s, packed), kOk);
}

TEST(Dib, DamagedFilesAreInvalid) {
    const std::vector<std::uint8_t> good = makeBmp(BmpLayout{});
    auto bad = good;
    bad[0] = 'X';
    EXPECT_EQ(loadBytes(bad), kInvalidBitmap);
    EXPECT_EQ(loadBytes({good.begin(), good.begin() + 10}), kInvalidBitmap);     // short file header
    EXPECT_EQ(loadBytes({good.begin(), good.begin() + 40}), kInvalidBitmap);     // short info header
    EXPECT_EQ(loadBytes({good.begin(), good.begin() + 100}), kInvalidBitmap);    // short colour table
    EXPECT_EQ(loadBytes({good.begin(), good.end() - 1}), kInvalidBitmap);        // short bits
    bad = good;
    bad[14] = 12; // an old-style 12-byte header
    EXPECT_EQ(loadBytes(bad), kInvalidBitmap);

    // More than 256 colours would overrun the palette.
    BmpLayout many;
    many.bitCount = 24;
    many.colours = 300;
    many.tableEntries = 300;
    EXPECT_EQ(loadBytes(makeBmp(many)), kInvalidBitmap);

    // No pixels at all, or a size no memory holds.
    BmpLayout empty;
    empty.width = 0;
    EXPECT_EQ(loadBytes(makeBmp(empty)), kInvalidBitmap);
    BmpLayout huge;
    huge.bitCount = 24;
    auto bytes = makeBmp(huge);
    bytes[18] = 0xff;
    bytes[19] = 0xff;
    bytes[20] = 0xff; // width 16 million
    bytes[22] = 0xff;
    bytes[23] = 0xff; // height 65535
    EXPECT_EQ(loadBytes(bytes), kNoMemory);

    // Sizes whose product wraps in 64 bits, with a bit count no bitmap has
    // (49477 x 12,312,736 x 242,243,305 once came to 4 bytes), or with a
    // real one at the largest width; and the depths the format leaves out.
    const auto withHeader = [](std::uint16_t bits, std::int32_t width, std::int32_t height) {
        auto b = makeBmp(BmpLayout{});
        std::memcpy(&b[18], &width, 4);
        std::memcpy(&b[22], &height, 4);
        std::memcpy(&b[28], &bits, 2);
        return b;
    };
    EXPECT_EQ(loadBytes(withHeader(49477, 12312736, 242243305)), kInvalidBitmap);
    EXPECT_EQ(loadBytes(withHeader(32, 0x7fffffff, 0x7fffffff)), kNoMemory);
    EXPECT_EQ(loadBytes(withHeader(1, 0x7fffffff, 2)), kNoMemory);
    for (std::uint16_t bits : {0, 2, 3, 7, 12, 33, 64, 0xffff})
        EXPECT_EQ(loadBytes(withHeader(bits, 4, 2)), kInvalidBitmap) << bits;
    InfoHeader flat{};
    flat.biWidth = 0x7fffffff;
    flat.biHeight = 1;
    flat.biXPelsPerMeter = 1;
    EXPECT_EQ(displaySize(flat, 96, 96).cx, INT32_MAX);
}

TEST(Dib, SmallImageSizeInHeaderStillLeavesRoomForAllBits) {
    BmpLayout s;
    s.width = 16;
    s.height = 16;
    auto bytes = makeBmp(s);
    bytes[34] = 8; // biSizeImage 8 instead of 256
    bytes[35] = 0;
    MemorySource src(bytes.data(), bytes.size());
    std::vector<std::uint8_t> packed;
    ASSERT_EQ(readDib(src, packed), kOk);
    EXPECT_GE(packed.size(), bitsOffset(packed) + 256);
}

TEST(Dib, DisplaySizeFollowsThePicturesResolution) {
    InfoHeader h{};
    h.biWidth = 300;
    h.biHeight = 100;
    h.biXPelsPerMeter = 3780;
    EXPECT_EQ(displaySize(h, 96, 96).cx, 298);
    EXPECT_EQ(displaySize(h, 96, 96).cy, 100);
    h.biXPelsPerMeter = 0;
    EXPECT_EQ(displaySize(h, 96, 96).cx, 300);
    EXPECT_EQ(displaySize(h, 120, 120).cx, 375);
}

TEST(Dib, PaletteFromTableOrFixedCube) {
    BmpLayout four;
    four.bitCount = 4;
    four.tableColour = [](int i) { return std::uint32_t(0x102030 + i); };
    std::vector<std::uint8_t> packed;
    ASSERT_EQ(load(four, packed), kOk);
    auto entries = paletteEntries(packed);
    ASSERT_EQ(entries.size(), 16u);
    EXPECT_EQ(entries[5].red, 0x10);
    EXPECT_EQ(entries[5].green, 0x20);
    EXPECT_EQ(entries[5].blue, 0x35);

    BmpLayout rgb;
    rgb.bitCount = 24;
    ASSERT_EQ(load(rgb, packed), kOk);
    entries = paletteEntries(packed);
    ASSERT_EQ(entries.size(), 256u);
    EXPECT_EQ(entries[9].red, 32);
    EXPECT_EQ(entries[9].green, 32);
    EXPECT_EQ(entries[9].blue, 0);
    EXPECT_EQ(entries[255].blue, 192);

    BmpLayout high;
    high.bitCount = 16;
    ASSERT_EQ(load(high, packed), kOk);
    EXPECT_TRUE(paletteEntries(packed).empty());
}

TEST(Dib, DiskNamesRelativeToTheHelpFile) {
    EXPECT_EQ(resolveDiskName("pictures\\logo.bmp", "C:\\Help\\guide.hlp"), "C:\\Help\\pictures\\logo.bmp");
    EXPECT_EQ(resolveDiskName("C:\\logo.bmp", "C:\\Help\\guide.hlp"), "C:\\logo.bmp");
    EXPECT_EQ(resolveDiskName("/pics/a.bmp", "C:\\Help\\guide.hlp"), "/pics/a.bmp");
    EXPECT_EQ(resolveDiskName("a.bmp", "/srv/help/guide.hlp"), "/srv/help/a.bmp");
    EXPECT_EQ(resolveDiskName("a.bmp", "guide.hlp"), "a.bmp");
}

TEST(Dib, FilesOnDisk) {
    const std::string path = ::testing::TempDir() + "pix_disk.bmp";
    const auto bytes = makeBmp(BmpLayout{});
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    auto src = FileSource::open(path);
    ASSERT_TRUE(src);
    std::vector<std::uint8_t> packed;
    EXPECT_EQ(readDib(*src, packed), kOk);
    EXPECT_FALSE(FileSource::open(path + ".missing"));
    std::remove(path.c_str());
}
