#pragma once
// Numbers typed into the settings screens and stored in settings rows.

#include <QString>
#include <optional>

namespace plax::settings {

// The numeric value of the number a text begins with ("12abc" -> 12,
// " 7.5" -> 7.5, "-1" -> -1); a text that does not begin with a number
// gives 0.
double leadingNumber(const QString& text);

// v rounded to a whole number, a half going to the even neighbour
// (7.5 -> 8, 2.5 -> 2); nullopt beyond the range of int.
std::optional<int> wholeNumber(double v);

} // namespace plax::settings
