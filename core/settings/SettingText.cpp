#include "SettingText.h"

#include "core/types/Amounts.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace plax::settings {

QString settingNumberText(const QString& typed) {
    const QChar separator = decimalSeparator();
    if (separator == QLatin1Char('.'))
        return typed;
    static const QRegularExpression leading(QStringLiteral("^([ \\t]*[+-]?[0-9]*)") +
                                            QRegularExpression::escape(QString(separator)));
    return QString(typed).replace(leading, QStringLiteral("\\1."));
}

std::optional<int> wholeNumber(double v) {
    const double r = std::nearbyint(v);
    if (!std::isfinite(r) || r < double(std::numeric_limits<int>::min()) ||
        r > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(r);
}

} // namespace plax::settings
