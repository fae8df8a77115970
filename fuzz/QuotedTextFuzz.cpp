// The quoted comma-separated reader of the personnel import: any bytes
// read without fault, and the values of every record read back unchanged
// after they are written out again (as the export writes them).
#include "FuzzSupport.h"
#include "exchange/QuotedText.h"

using namespace plax;
using namespace plax::exchange;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr qsizetype kMaxLength = 4096; // small, so a long value is met often
    QuotedReader reader(fuzz::bytesOf(data, size), kMaxValuesPerLine, kMaxLength);
    try {
        for (int records = 0; !reader.atEnd() && records < 1000; ++records) {
            const Record rec = reader.next();
            PLAX_FUZZ_CHECK(rec.size() <= size_t(kMaxValuesPerLine));
            QStringList texts;
            for (const RawValue& v : rec) {
                PLAX_FUZZ_CHECK(v.text.size() <= kMaxLength);
                texts << v.text;
            }
            if (texts.isEmpty())
                continue;
            QByteArray written = quotedLine(texts, TextEncoding::Utf8);
            QuotedReader again(kUtf8Bom + written, kMaxValuesPerLine, 2 * kMaxLength);
            const Record back = again.next();
            PLAX_FUZZ_CHECK(back.size() == rec.size());
            for (size_t i = 0; i < back.size(); ++i)
                PLAX_FUZZ_CHECK(back[i].text == rec[i].text);
        }
    } catch (const ValueTooLong&) {
    }
    return 0;
}
