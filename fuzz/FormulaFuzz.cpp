// The report formula language: any text parses or is refused with a
// positioned error, and a formula that parses evaluates or raises a type
// error, against a row of one value of each kind.
#include "FuzzSupport.h"
#include "platform/print/Formula.h"

using namespace plax;
using namespace plax::print;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 16384) // room for 5,000 nested brackets
        return 0;
    try {
        Formula f = Formula::parse(fuzz::textOf(data, size));
        f.bind([](const QString& table, const QString&) { return table.isEmpty() ? -1 : int(table.size() % 5); },
               [](const QString& name) { return name.size() % 2 ? 0 : -1; });
        static const std::vector<FValue> row = {FValue(), FValue::boolean(true), FValue::number(-2.5),
                                                FValue::text(QStringLiteral("Ab")),
                                                FValue::date(CalDate::ymd(2024, 2, 29))};
        EvalContext ctx;
        ctx.row = &row;
        ctx.formula = [](int) { return FValue::number(7); };
        f.evaluate(ctx);
    } catch (const FormulaError&) {
    }
    return 0;
}
