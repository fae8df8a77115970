// The downloaded punch files, in any encoding: any file converts without
// fault, Clock.txt is well-formed UTF-8, and every line written to it is
// "ID,mm/dd/yy,hh:mm"-shaped (three fields).
#include "FuzzSupport.h"
#include "attendance/ClockFile.h"
#include "core/text/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plax;
    const QString source = fuzz::scratchFile(QStringLiteral("download.txt"));
    const QString target = fuzz::scratchFile(QStringLiteral("Clock.txt"));
    if (!fuzz::writeFile(source, data, size))
        return 0;
    if (convertPunchFile(source, target) != Conversion::Done)
        return 0;
    QFile out(target);
    PLAX_FUZZ_CHECK(out.open(QIODevice::ReadOnly));
    text::Utf8Check utf8;
    utf8.feed(out.peek(out.size()));
    PLAX_FUZZ_CHECK(utf8.complete());
    while (!out.atEnd()) {
        const QByteArray line = out.readLine();
        PLAX_FUZZ_CHECK(line.endsWith("\r\n"));
        PLAX_FUZZ_CHECK(line.count(',') >= 2);
    }
    return 0;
}
