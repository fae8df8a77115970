#pragma once
// Numbers typed into the settings screens and stored in settings rows.

#include "core/common/Settings.h"

#include <optional>

namespace plax::settings {

using plax::leadingNumber;

// A number typed into a settings screen, as it is stored: the decimal
// separator of the system's locale right after its leading digits written
// as a point ("7,5" under de_DE is "7.5"; the rest as typed), so every
// program reads it with leadingNumber as the screen did, whatever its
// locale.
QString settingNumberText(const QString& typed);

// v rounded to a whole number, a half going to the even neighbour
// (7.5 -> 8, 2.5 -> 2); nullopt beyond the range of int.
std::optional<int> wholeNumber(double v);

} // namespace plax::settings
