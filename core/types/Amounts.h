#pragma once
// Amounts (an hourly rate, hours paid) as the screens and the personnel
// files show and read them: plain decimal text with the decimal separator
// of the system's locale and no thousands separators.

#include <QChar>
#include <QString>
#include <optional>

namespace plax {

// The decimal separator of the system's locale ("," under de_DE).
QChar decimalSeparator();

// `v` as plain decimal text, as few digits as read back the same number,
// never with an exponent: "12", "24.5" (or "24,5" where the locale writes a
// decimal comma).
QString amountText(double v);
// `v` with exactly `decimals` places, the same way: "24.50" ("24,50").
QString amountText(double v, int decimals);

// A typed amount: digits with at most one decimal separator, the locale's
// or a point, and an optional sign. Nothing else reads: no thousands
// separators, no exponent, so "1.234,5" is refused rather than read as
// another number; nor a number beyond the range of a double.
std::optional<double> parseAmount(const QString& text);

} // namespace plax
