// The report-definition reader: any text is read or refused with the line
// of its fault.
#include "FuzzSupport.h"
#include "platform/print/ReportDefinition.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 16384)
        return 0;
    try {
        plax::print::ReportDefinition::parse(plax::fuzz::textOf(data, size));
    } catch (const plax::print::DefinitionError&) {
    }
    return 0;
}
