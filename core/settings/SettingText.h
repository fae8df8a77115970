#pragma once
// Numbers typed into the settings screens and stored in settings rows.

#include "core/common/Settings.h"

#include <optional>

namespace plax::settings {

using plax::leadingNumber;

// v rounded to a whole number, a half going to the even neighbour
// (7.5 -> 8, 2.5 -> 2); nullopt beyond the range of int.
std::optional<int> wholeNumber(double v);

} // namespace plax::settings
