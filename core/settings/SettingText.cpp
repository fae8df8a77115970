#include "SettingText.h"

#include <cmath>
#include <limits>

namespace plax::settings {
namespace {
bool asciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
} // namespace

double leadingNumber(const QString& text) {
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const int start = i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    bool digits = false;
    while (i < n && asciiDigit(text[i])) {
        ++i;
        digits = true;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && asciiDigit(text[i])) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0;
    return text.mid(start, i - start).toDouble();
}

std::optional<int> wholeNumber(double v) {
    const double r = std::nearbyint(v);
    if (!std::isfinite(r) || r < double(std::numeric_limits<int>::min()) ||
        r > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(r);
}

} // namespace plax::settings
