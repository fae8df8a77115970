#pragma once
// Dates and amounts as a clerk types them under the system's locale, for
// the tests that run under several locales (plax_locale_tests).

#include "core/types/Amounts.h"
#include "core/types/Dates.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>

namespace plax::test {

// Day, month and year as digits without leading zeros, in the order the
// screens show dates and with the separator of the short date form:
// "4.3.2021" under de_DE, "3/4/2021" under en_US (month first too where
// the form names the month). A two-digit year when `shortYear`; day and
// month the other way round when `swapped`, as a clerk used to another
// order would type them.
inline QString typedDate(CalDate d, bool shortYear = false, bool swapped = false) {
    const QString f = shortDateFormat();
    const bool names = f.contains(QLatin1String("MMM"));
    qsizetype day = names ? 1 : f.indexOf(QLatin1Char('d'));
    qsizetype month = names ? 0 : f.indexOf(QLatin1Char('M'));
    const qsizetype year = names ? 2 : f.indexOf(QLatin1Char('y'));
    if (swapped)
        std::swap(day, month);
    QChar separator = QLatin1Char('/');
    if (!names)
        for (const QChar c : f)
            if (!c.isLetter() && !c.isSpace()) {
                separator = c;
                break;
            }
    std::array<std::pair<qsizetype, QString>, 3> parts{
        {{day, QString::number(d.day())},
         {month, QString::number(d.month())},
         {year, shortYear ? QStringLiteral("%1").arg(d.year() % 100, 2, 10, QLatin1Char('0'))
                          : QString::number(d.year())}}};
    std::sort(parts.begin(), parts.end());
    return parts[0].second + separator + parts[1].second + separator + parts[2].second;
}

// An amount written with a point ("12.50") as typed with the locale's
// decimal separator.
inline QString typedAmount(QString withPoint) {
    return withPoint.replace(QLatin1Char('.'), decimalSeparator());
}

// The system locale's name ("de_DE"), for what a test expects to see.
inline QString localeName() {
    return QLocale::system().name();
}

} // namespace plax::test
