#include "SettingText.h"

#include <cmath>
#include <limits>

namespace plax::settings {

std::optional<int> wholeNumber(double v) {
    const double r = std::nearbyint(v);
    if (!std::isfinite(r) || r < double(std::numeric_limits<int>::min()) ||
        r > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(r);
}

} // namespace plax::settings
