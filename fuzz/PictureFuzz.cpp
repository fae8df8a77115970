// The help extension's picture reader: any file is read or refused without
// fault, and a picture read holds all the bits its header says are drawn.
#include "FuzzSupport.h"
#include "helpbmp/dib/Dib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pix::MemorySource source(data, size);
    std::vector<std::uint8_t> packed;
    // A smaller limit than the DLL's keeps each run fast; the sums are the same.
    const int rc = pix::readDib(source, packed, 1u << 20);
    if (rc != pix::kOk) {
        PLAX_FUZZ_CHECK(packed.empty());
        return 0;
    }
    const pix::InfoHeader h = pix::headerOf(packed);
    PLAX_FUZZ_CHECK(h.biWidth > 0 && h.biHeight > 0);
    const std::uint64_t rowBytes = (std::uint64_t(h.biBitCount) * std::uint64_t(h.biWidth) + 31) / 32 * 4;
    PLAX_FUZZ_CHECK(pix::bitsOffset(packed) + rowBytes * std::uint64_t(h.biHeight) <= packed.size());
    PLAX_FUZZ_CHECK(pix::paletteEntries(packed).size() <= pix::kMaxColours);
    pix::displaySize(h, 96, 96);
    return 0;
}
