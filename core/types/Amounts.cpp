#include "Amounts.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace plax {

QChar decimalSeparator() {
    // Read once, as the short date format is (Dates.cpp).
    static const QChar separator = [] {
        const QString d = QLocale::system().decimalPoint();
        return d.size() == 1 ? d[0] : QLatin1Char('.');
    }();
    return separator;
}

QString amountText(double v, int decimals) {
    QString text = QString::number(v, 'f', decimals);
    text.replace(QLatin1Char('.'), decimalSeparator());
    return text;
}

QString amountText(double v) { return amountText(v, QLocale::FloatingPointShortest); }

std::optional<double> parseAmount(const QString& input) {
    QString text = input.trimmed();
    const QChar separator = decimalSeparator();
    if (separator != QLatin1Char('.')) {
        if (text.contains(separator) && text.contains(QLatin1Char('.')))
            return std::nullopt;
        text.replace(separator, QLatin1Char('.'));
    }
    static const QRegularExpression plain(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)$)"));
    if (!plain.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = text.toDouble(&ok); // not ok beyond the range of a double
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace plax
