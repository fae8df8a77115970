// "Clock.txt" as the punch import reads it: any file gives punches or the
// import's own error, never a fault.
#include "FuzzSupport.h"
#include "attendance/ClockImport.h"
#include "platform/db/DbError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plax;
    const QString path = fuzz::scratchFile(QStringLiteral("Clock.txt"));
    if (!fuzz::writeFile(path, data, size))
        return 0;
    try {
        for (const ClockPunch& p : readClockFile(path))
            PLAX_FUZZ_CHECK(!p.id.contains(QLatin1Char('\n')));
    } catch (const db::DbError&) {
    }
    return 0;
}
