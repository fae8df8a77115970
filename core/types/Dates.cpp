#include "Dates.h"
#include "Clock.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>

namespace plax {
namespace {

// Day number from a proleptic Gregorian date (days since 1970-01-01).
constexpr std::int32_t daysFromCivil(int y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int>(doe) - 719468;
}

struct Ymd {
    int y;
    unsigned m, d;
};

constexpr Ymd civilFromDays(std::int32_t z) {
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int y = static_cast<int>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {y + (m <= 2), m, d};
}

QString pad2(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

// Dates and times are turned into text and back for every value stored or
// read, so the common shapes are written and read digit by digit here.
QChar digitChar(int v) { return QChar(u'0' + v); }

// The value of the ASCII digits text[from] .. text[from + n - 1], or -1.
int digitsAt(const QString& text, qsizetype from, int n) {
    int v = 0;
    for (qsizetype i = from; i < from + n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

} // namespace

bool CalDate::isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int CalDate::daysInMonth(int y, int m) {
    static const int table[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12)
        return 0;
    return m == 2 && isLeap(y) ? 29 : table[m - 1];
}

std::optional<CalDate> CalDate::fromYmd(int y, int m, int d) {
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m))
        return std::nullopt;
    return ymd(y, m, d);
}

CalDate CalDate::ymd(int y, int m, int d) {
    return fromDays(daysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)));
}

int CalDate::year() const { return civilFromDays(days_).y; }
int CalDate::month() const { return static_cast<int>(civilFromDays(days_).m); }
int CalDate::day() const { return static_cast<int>(civilFromDays(days_).d); }

int CalDate::weekday() const {
    // 1970-01-01 was a Thursday (5 in 1 = Sunday numbering).
    int w = (days_ + 4) % 7; // 0 = Sunday
    if (w < 0)
        w += 7;
    return w + 1;
}

QString CalDate::toIso() const {
    const Ymd c = civilFromDays(days_);
    if (c.y >= 0 && c.y <= 9999) {
        const int m = int(c.m), d = int(c.d);
        const QChar text[10] = {digitChar(c.y / 1000), digitChar(c.y / 100 % 10), digitChar(c.y / 10 % 10),
                                digitChar(c.y % 10),   QLatin1Char('-'),          digitChar(m / 10),
                                digitChar(m % 10),     QLatin1Char('-'),          digitChar(d / 10),
                                digitChar(d % 10)};
        return QString(text, 10);
    }
    return QStringLiteral("%1-%2-%3").arg(c.y, 4, 10, QLatin1Char('0')).arg(pad2(int(c.m)), pad2(int(c.d)));
}

std::optional<CalDate> CalDate::fromIso(const QString& text) {
    if (text.size() < 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return std::nullopt;
    if (const int y = digitsAt(text, 0, 4), m = digitsAt(text, 5, 2), d = digitsAt(text, 8, 2);
        y >= 0 && m >= 0 && d >= 0)
        return fromYmd(y, m, d);
    bool ok1 = false, ok2 = false, ok3 = false;
    const int y = text.mid(0, 4).toInt(&ok1);
    const int m = text.mid(5, 2).toInt(&ok2);
    const int d = text.mid(8, 2).toInt(&ok3);
    if (!ok1 || !ok2 || !ok3)
        return std::nullopt;
    return fromYmd(y, m, d);
}

QString CalDate::toMdy2() const {
    const Ymd c = civilFromDays(days_);
    return pad2(int(c.m)) + '/' + pad2(int(c.d)) + '/' + pad2(c.y % 100);
}

QString CalDate::toMdy4() const {
    const Ymd c = civilFromDays(days_);
    return pad2(int(c.m)) + '/' + pad2(int(c.d)) + '/' + QStringLiteral("%1").arg(c.y, 4, 10, QLatin1Char('0'));
}

QString CalDate::format(const QString& qtFormat) const {
    const Ymd c = civilFromDays(days_);
    // English names regardless of locale, as the screens were written.
    return QLocale(QLocale::English, QLocale::UnitedStates)
        .toString(QDate(c.y, int(c.m), int(c.d)), qtFormat);
}

QString CalDate::toShortDate() const { return format(shortDateFormat()); }

std::optional<TimeOfDay> TimeOfDay::fromHm(int h, int m) {
    if (h < 0 || h > 23 || m < 0 || m > 59)
        return std::nullopt;
    return fromMinutes(h * 60 + m);
}

QString TimeOfDay::toHm() const {
    const QChar text[5] = {digitChar(hour() / 10), digitChar(hour() % 10), QLatin1Char(':'), digitChar(minute() / 10),
                           digitChar(minute() % 10)};
    return QString(text, 5);
}

std::optional<TimeOfDay> TimeOfDay::parse(const QString& input) {
    if (input.size() == 5 && input[2] == QLatin1Char(':')) {
        if (const int h = digitsAt(input, 0, 2), m = digitsAt(input, 3, 2); h >= 0 && m >= 0)
            return fromHm(h, m);
    }
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*(\d{1,2}):(\d{2})(?::(\d{2}))?\s*([AaPp][Mm])?\s*$)"));
    const auto m = re.match(input);
    if (!m.hasMatch())
        return std::nullopt;
    int h = m.captured(1).toInt();
    const int mi = m.captured(2).toInt();
    if (m.captured(3).size() && m.captured(3).toInt() > 59)
        return std::nullopt;
    const QString ampm = m.captured(4).toUpper();
    if (!ampm.isEmpty()) {
        if (h < 1 || h > 12)
            return std::nullopt;
        if (ampm == QLatin1String("AM"))
            h = h == 12 ? 0 : h;
        else
            h = h == 12 ? 12 : h + 12;
    }
    return fromHm(h, mi);
}

namespace {

// A time as typed: a/am or p/pm before or after the digits sets the half of
// the day. Hours 1 to 12 without it keep the half of `shown`, or, without a
// shown time, are read on the 24-hour clock.
std::optional<TimeOfDay> readTypedTime(const QString& input, std::optional<TimeOfDay> shown) {
    QString s = input.toLower();
    s.remove(QRegularExpression(QStringLiteral(R"([\s.])")));
    // The half of the day, typed after the digits or before them.
    std::optional<bool> pm;
    static const QRegularExpression half(QStringLiteral("^([ap])m?|([ap])m?$"));
    if (const auto m = half.match(s); m.hasMatch()) {
        pm = (m.captured(1) + m.captured(2)) == QLatin1String("p");
        s.remove(m.capturedStart(), m.capturedLength());
    }
    int h = 0, mi = 0;
    if (s.isEmpty()) {
        if (!pm || !shown)
            return std::nullopt;
        h = shown->hour() % 12;
        mi = shown->minute();
    } else {
        static const QRegularExpression hm(QStringLiteral(R"(^(\d{1,2}):(\d{1,2})$|^(\d{1,4})$)"));
        const auto m = hm.match(s);
        if (!m.hasMatch())
            return std::nullopt;
        if (m.captured(3).isEmpty()) {
            h = m.captured(1).toInt();
            mi = m.captured(2).toInt();
        } else {
            const QString d = m.captured(3);
            h = d.size() <= 2 ? d.toInt() : d.left(d.size() - 2).toInt();
            mi = d.size() <= 2 ? 0 : d.right(2).toInt();
        }
        if (mi > 59 || h > 23 || (pm && h > 12))
            return std::nullopt;
        // Hours 1 to 12 without a half keep the half shown; 0 and 13 to 23
        // are the 24-hour clock.
        if (!pm && shown && h >= 1 && h <= 12)
            pm = shown->hour() >= 12;
        if (pm && h == 12)
            h = 0; // 12 AM is midnight, 12 PM noon
    }
    return TimeOfDay::fromHm(pm.value_or(false) ? h + 12 : h, mi);
}

} // namespace

std::optional<TimeOfDay> TimeOfDay::parseTyped(const QString& input, TimeOfDay shown) {
    return readTypedTime(input, shown);
}

std::optional<TimeOfDay> TimeOfDay::parseTyped(const QString& input) {
    return readTypedTime(input, std::nullopt);
}

QString TimeOfDay::toHmAmPm() const {
    const int h12 = hour() % 12 == 0 ? 12 : hour() % 12;
    return QStringLiteral("%1:%2 %3")
        .arg(h12, 2, 10, QLatin1Char('0'))
        .arg(minute(), 2, 10, QLatin1Char('0'))
        .arg(hour() < 12 ? QLatin1String("AM") : QLatin1String("PM"));
}

int expandTwoDigitYear(int yy, int currentYear) {
    // The window is the 100 years ending 20 years after the current year.
    const int last = currentYear + 20;
    int year = (last / 100) * 100 + yy;
    if (year > last)
        year -= 100;
    return year;
}

QString shortDateFormat() {
    static const QString fmt = [] {
        QString f = QLocale::system().dateFormat(QLocale::ShortFormat);
        // Make the year four digits whatever the locale says.
        static const QRegularExpression years(QStringLiteral("y+"));
        f.replace(years, QStringLiteral("yyyy"));
        return f;
    }();
    return fmt;
}

namespace {

enum class Part { Day, Month, Year };
using PartOrder = std::array<Part, 3>;
constexpr PartOrder kMonthFirst{Part::Month, Part::Day, Part::Year};

// The order of day, month and year in the short date format.
PartOrder shownOrder() {
    static const PartOrder order = [] {
        const QString f = shortDateFormat();
        const qsizetype d = f.indexOf(QLatin1Char('d')), m = f.indexOf(QLatin1Char('M')),
                        y = f.indexOf(QLatin1Char('y'));
        // A format that names the month shows no order of digits.
        if (d < 0 || m < 0 || y < 0 || f.contains(QLatin1String("MMM")))
            return kMonthFirst;
        std::array<std::pair<qsizetype, Part>, 3> at{{{d, Part::Day}, {m, Part::Month}, {y, Part::Year}}};
        std::sort(at.begin(), at.end());
        return PartOrder{at[0].second, at[1].second, at[2].second};
    }();
    return order;
}

// Three runs of digits taken as day, month and year in `order`: a day and
// a month of one or two digits, a year of two or four.
std::optional<CalDate> fromDigits(const QRegularExpressionMatch& m, const PartOrder& order, int currentYear) {
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        const QString digits = m.captured(i + 1);
        const int v = digits.toInt();
        switch (order[size_t(i)]) {
        case Part::Day:
            if (digits.size() > 2)
                return std::nullopt;
            day = v;
            break;
        case Part::Month:
            if (digits.size() > 2)
                return std::nullopt;
            month = v;
            break;
        case Part::Year:
            if (digits.size() != 2 && digits.size() != 4)
                return std::nullopt;
            year = digits.size() == 2 ? expandTwoDigitYear(v, currentYear) : v;
            break;
        }
    }
    return CalDate::fromYmd(year, month, day);
}

} // namespace

std::optional<CalDate> parseDate(const QString& input, int currentYear, DateOrder order) {
    const QString text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (auto iso = CalDate::fromIso(text); iso && text.size() == 10)
        return iso;
    if (order == DateOrder::MonthFirst) {
        static const QRegularExpression mdy(
            QStringLiteral(R"(^(\d{1,2})[/\-.](\d{1,2})[/\-.](\d{2}|\d{4})$)"));
        if (const auto m = mdy.match(text); m.hasMatch())
            return fromDigits(m, kMonthFirst, currentYear);
    } else {
        // Separators as the locales write them: "7/12/2026", "07.12.2026",
        // "2026. 12. 7.".
        static const QRegularExpression digits(
            QStringLiteral(R"(^(\d+)\s*[/\-.\s]\s*(\d+)\s*[/\-.\s]\s*(\d+)\.?$)"));
        if (const auto m = digits.match(text); m.hasMatch())
            return fromDigits(m, shownOrder(), currentYear);
    }
    // The short format with the month's name ("9 Dec 2026"), in the English
    // names the dates are shown with (CalDate::format).
    const QDate q = QLocale(QLocale::English, QLocale::UnitedStates).toDate(text, shortDateFormat());
    if (q.isValid())
        return CalDate::fromYmd(q.year(), q.month(), q.day());
    return std::nullopt;
}

std::optional<CalDate> parseDate(const QString& text, DateOrder order) {
    return parseDate(text, Clock::today().year(), order);
}

} // namespace plax
