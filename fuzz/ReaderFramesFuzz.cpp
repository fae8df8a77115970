// The badge readers' frames: whatever a reader sends (the input, split at
// its first zero byte into a first and a second read) is cut without fault.
#include "FuzzSupport.h"
#include "clock/ReaderFrames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray all = plax::fuzz::bytesOf(data, size);
    const qsizetype cut = all.indexOf('\0');
    const QString first = QString::fromLatin1(cut < 0 ? all : all.left(cut));
    const QString second = cut < 0 ? QString() : QString::fromLatin1(all.mid(cut + 1));
    plax::clk::cutMsr100Frame(first);
    int reads = 0;
    const auto id = plax::clk::cutRs2000Frame(first, [&] {
        ++reads;
        return second;
    });
    PLAX_FUZZ_CHECK(reads <= 1);
    if (id)
        PLAX_FUZZ_CHECK(!id->contains(QLatin1Char('?')));
    return 0;
}
